#include "platform/ui/form.h"

#include "platform/formfile/form_reader.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace {
// The widget of a window: closing through the window system asks the form.
class FormWidget : public QWidget {
public:
    FormWidget() : QWidget(nullptr, Qt::Window) { setAttribute(Qt::WA_DeleteOnClose, false); }
};
} // namespace

TForm::TForm(TComponent* owner) : TControl(owner, new FormWidget) {
    SetVisible(false);
    Widget()->setFocusPolicy(Qt::NoFocus);
}

TForm::~TForm() {
    // The window's handlers belong to its subclass, already destroyed: the
    // focus leaving a control as it goes must not reach them.
    BeginDestruction();
    Fire(OnDestroy, this);
    if (Application && Application->ActiveForm() == this)
        Application->SetActiveForm(nullptr);
    // Children go before the window's widget, which would otherwise delete theirs.
    DestroyComponents();
    if (Application && Application->MainForm() == this)
        Application->MainFormClosed();
}

void TForm::InitForm(const THandlerTable& handlers, const QString& descriptionFile) {
    ReadComponentResource(*this, handlers, descriptionFile);
    BindComponents();
    if (OnCreate)
        Application->Dispatch(this, [this] { OnCreate(this); });
}

void TForm::Loaded() {
    ApplyTabOrder();
}

QString TForm::Caption() const {
    return Widget()->windowTitle();
}
void TForm::SetCaption(const QString& caption) {
    Widget()->setWindowTitle(caption);
}

void TForm::SetColor(const QString& color) {
    QPalette palette = Widget()->palette();
    palette.setColor(QPalette::Window, QColor(color));
    Widget()->setPalette(palette);
    Widget()->setAutoFillBackground(true);
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    const QSize client(std::max(0, width - kFrameWidth), std::max(0, height - kFrameHeight));
    if (borderStyle_ == TFormBorderStyle::bsDialog)
        Widget()->setFixedSize(client);
    else
        Widget()->resize(client);
    Widget()->move(left, top);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    const bool visible = Widget()->isVisible();
    if (style == TFormBorderStyle::bsDialog) {
        Widget()->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
        Widget()->setFixedSize(Widget()->size());
    } else {
        Widget()->setWindowFlags(Qt::Window);
        Widget()->setMinimumSize(0, 0);
        Widget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (visible)
        Widget()->show();
}

int TForm::ClientWidth() const {
    return Widget()->width();
}
int TForm::ClientHeight() const {
    return Widget()->height();
}
void TForm::SetClientWidth(int width) {
    SetBounds(Left(), Top(), width + kFrameWidth, Height());
}
void TForm::SetClientHeight(int height) {
    SetBounds(Left(), Top(), Width(), height + kFrameHeight);
}

void TForm::SetVisible(bool visible) {
    const bool newShowing = visible && !Widget()->isVisible();
    TControl::SetVisible(visible);
    if (!visible) {
        Widget()->hide();
        return;
    }
    if (newShowing && !modal_)
        showingActivated_ = false;
    if (position_ == TPosition::poScreenCenter) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            Widget()->move(area.center() - QPoint(Width() / 2, Height() / 2));
        }
    }
    Widget()->show();
    Widget()->activateWindow();
    Fire(OnShow, this);
    if (activatesWhenShown_ && newShowing && !modal_ && Widget()->isVisible()) {
        Application->SetActiveForm(this);
        RunActivation();
    }
}

bool TForm::Active() const {
    return Widget()->isActiveWindow();
}

int TForm::ShowModal() {
    modalResult_ = 0;
    modal_ = true;
    showingActivated_ = false;
    Widget()->setWindowModality(Qt::ApplicationModal);
    Show();
    // The activation runs now, before the window handles anything else: a
    // window manager may activate a new window late or not at all (focus
    // stealing prevention, a scheduled run while the person works in another
    // program), and the activation notice that may come later runs nothing.
    if (modalResult_ == 0 && Widget()->isVisible() && !showingActivated_) {
        Application->SetActiveForm(this);
        RunActivation();
    }
    QEventLoop loop;
    if (Application->OnModalShown) {
        // What else showing posted (the window system's activation among it)
        // runs first, as it would before anyone could act on the window.
        loop.processEvents(QEventLoop::AllEvents);
        if (modalResult_ == 0 && Widget()->isVisible())
            Application->Dispatch(this, [this] { Application->OnModalShown(this); });
    }
    while (modalResult_ == 0 && Widget()->isVisible() && !Application->Terminated())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    modal_ = false;
    Widget()->setWindowModality(Qt::NonModal);
    Hide();
    return modalResult_;
}

void TForm::RunActivation() {
    // A modal window comes back to the front after a window it opened (the
    // grid's find dialog) closes: that is no new showing.
    if (modal_ || activatesWhenShown_) {
        if (showingActivated_)
            return;
        showingActivated_ = true;
    }
    if (OnActivate)
        Application->Dispatch(this, [this] { OnActivate(this); });
}

void TForm::SetModalResult(int result) {
    modalResult_ = result;
    if (modal_ && result != 0)
        Close();
}

void TForm::Close() {
    if (closing_)
        return;
    closing_ = true;
    DoClose();
    closing_ = false;
}

void TForm::DoClose() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        Application->Dispatch(this, [&] { OnClose(this, action); });
    if (action == TCloseAction::caNone)
        return;
    if (modal_) {
        if (modalResult_ == 0)
            modalResult_ = 2; // mrCancel
        Widget()->hide();
        if (action == TCloseAction::caFree)
            Release();
        return;
    }
    const bool isMain = Application && Application->MainForm() == this;
    if (isMain) {
        Widget()->hide();
        Application->MainFormClosed();
        if (action == TCloseAction::caFree)
            Release();
        return;
    }
    if (action == TCloseAction::caFree)
        Release();
    else
        Hide();
}

void TForm::Release() {
    Widget()->hide();
    // Deleted from the event loop, after the handler that asked has returned.
    QTimer::singleShot(0, [self = QPointer<QWidget>(Widget()), form = this] {
        if (self)
            delete form;
    });
}

void TForm::SelectNext(bool forward) {
    QWidget* focus = Widget()->focusWidget();
    if (!focus)
        return;
    QWidget* next = focus;
    do {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    } while (next && next != focus &&
             (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisibleTo(Widget()) ||
              !next->isEnabled() || next->window() != Widget()));
    if (next && next != focus)
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void TForm::ApplyTabOrder() {
    // Depth first: each parent's children by their tab order, ties in creation order.
    std::vector<QWidget*> chain;
    std::function<void(const TControl&)> walk = [&](const TControl& parent) {
        std::vector<TControl*> children = parent.Controls();
        std::stable_sort(children.begin(), children.end(), [](TControl* a, TControl* b) {
            const int ta = a->TabOrder() < 0 ? INT32_MAX : a->TabOrder();
            const int tb = b->TabOrder() < 0 ? INT32_MAX : b->TabOrder();
            return ta < tb;
        });
        for (TControl* c : children) {
            if (c->Widget()->focusPolicy() != Qt::NoFocus)
                chain.push_back(c->Widget());
            walk(*c);
        }
    };
    walk(*this);
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

bool TForm::WidgetEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        // The window system's close box: the form decides.
        event->ignore();
        Application->Dispatch(this, [this] { Close(); });
        return true;
    case QEvent::WindowActivate:
        // Only a change of the application's active window counts: a message
        // box coming and going is no new activation.
        if (Application->ActiveForm() != this) {
            Application->SetActiveForm(this);
            RunActivation();
        }
        return false;
    default:
        return TControl::WidgetEvent(event);
    }
}
