#include "controls/timeedit/custom_db_edit_eh.h"

#include "controls/timeedit/edit_button_widget_eh.h"
#include "platform/ui/application.h"

#include <QLineEdit>
#include <QStyle>
#include <QTimer>

TCustomDBEditEh::TCustomDBEditEh(TComponent* owner)
    : TControl(owner, new QLineEdit), editButton_(std::make_unique<TVisibleEditButtonEh>()) {
    QLineEdit* edit = LineEdit();
    // Nothing but this class changes the text: no context menu, no drops,
    // no input method composing behind the mask's back.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setAcceptDrops(false);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    editButton_->SetChangeHandler([this] { LayoutButtons(); });
    RebuildButtonWidgets();
    SetBounds(0, 0, 121, 21);
}

TCustomDBEditEh::~TCustomDBEditEh() = default;

QLineEdit* TCustomDBEditEh::LineEdit() const {
    return static_cast<QLineEdit*>(Widget());
}

QString TCustomDBEditEh::EditText() const {
    return LineEdit()->text();
}

void TCustomDBEditEh::SetEditMask(const QString& mask, QChar dateSeparator, QChar timeSeparator) {
    editMask_ = mask;
    mask_ = TEditMaskEh(mask, dateSeparator, timeSeparator);
}

void TCustomDBEditEh::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    LineEdit()->setReadOnly(readOnly);
}

int TCustomDBEditEh::SelStart() const {
    const QLineEdit* edit = LineEdit();
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int TCustomDBEditEh::SelLength() const {
    const QLineEdit* edit = LineEdit();
    return edit->hasSelectedText() ? edit->selectionLength() : 0;
}

void TCustomDBEditEh::SetSelection(int start, int length) {
    if (length > 0)
        LineEdit()->setSelection(start, length);
    else
        LineEdit()->setCursorPosition(start);
}

void TCustomDBEditEh::SelectAll() {
    LineEdit()->selectAll();
}

void TCustomDBEditEh::SetEditText(const QString& text, TTextChange how) {
    const QString shown = mask_.Apply(text);
    const bool changed = shown != LineEdit()->text();
    if (changed)
        LineEdit()->setText(shown);
    modified_ = how == TTextChange::StoredValue ? false : modified_ || changed;
    if (!changed)
        return;
    if (how == TTextChange::User)
        UserChangedText();
    Fire(OnChange, this);
}

void TCustomDBEditEh::Post() {
    try {
        if (Focused())
            NormalizeText();
        bool handled = false;
        if (OnUpdateData)
            OnUpdateData(this, handled);
        if (!handled)
            WriteValue();
        AfterPost();
        modified_ = false;
    } catch (...) {
        SelectAll();
        // Later, so that a focus change under way ends first.
        QTimer::singleShot(0, LineEdit(), [edit = LineEdit()] { edit->setFocus(); });
        throw;
    }
}

TEditButtonEh& TCustomDBEditEh::AddEditButton() {
    editButtons_.push_back(std::make_unique<TVisibleEditButtonEh>());
    TEditButtonEh& button = *editButtons_.back();
    button.SetShortCut(QKeyCombination());
    button.SetChangeHandler([this] { LayoutButtons(); });
    RebuildButtonWidgets();
    return button;
}

void TCustomDBEditEh::PressEditButton(TEditButtonEh& button, bool topButton) {
    if (!button.Enabled())
        return;
    bool autoRepeat = false;
    bool handled = false;
    if (&button == editButton_.get())
        Fire(OnButtonDown, this, topButton, autoRepeat, handled);
    else
        Fire(button.OnDown, this, topButton, autoRepeat, handled);
    if (!handled)
        EditButtonAction(button, topButton);
}

void TCustomDBEditEh::ClickEditButton(TEditButtonEh& button) {
    if (!button.Enabled())
        return;
    bool handled = false;
    if (&button == editButton_.get())
        Fire(OnButtonClick, this, handled);
    else
        Fire(button.OnClick, this, handled);
}

void TCustomDBEditEh::RebuildButtonWidgets() {
    for (TEditButtonWidgetEh* widget : buttonWidgets_)
        delete widget;
    buttonWidgets_.clear();
    const auto add = [this](TEditButtonEh& button) {
        auto* widget = new TEditButtonWidgetEh(LineEdit(), button);
        widget->onPress = [this, &button](bool top) {
            Application->Dispatch(this, [&] {
                // A press gives the box the focus first, as a click on it would.
                if (!LineEdit()->hasFocus())
                    LineEdit()->setFocus(Qt::MouseFocusReason);
                PressEditButton(button, top);
            });
        };
        widget->onClick = [this, &button] {
            Application->Dispatch(this, [&] { ClickEditButton(button); });
        };
        buttonWidgets_.push_back(widget);
    };
    add(*editButton_);
    for (auto& button : editButtons_)
        add(*button);
    LayoutButtons();
}

int TCustomDBEditEh::ButtonWidth(const TEditButtonEh& button) const {
    return button.Width() > 0 ? button.Width()
                              : LineEdit()->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void TCustomDBEditEh::LayoutButtons() {
    QLineEdit* edit = LineEdit();
    const int frame =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect inner = edit->rect().adjusted(frame, frame, -frame, -frame);
    int right = inner.right() + 1;
    for (TEditButtonWidgetEh* widget : buttonWidgets_) {
        const TEditButtonEh& button = widget->Button();
        widget->setVisible(button.Visible());
        widget->setEnabled(button.Enabled());
        if (!button.Visible())
            continue;
        const int width = ButtonWidth(button);
        right -= width;
        widget->setGeometry(right, inner.top(), width, inner.height());
        widget->update();
    }
    edit->setTextMargins(0, 0, inner.right() + 1 - right, 0);
}
