// The keyboard, focus and mouse handling of the masked edit box.

#include "controls/timeedit/custom_db_edit_eh.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Keys the QLineEdit may handle itself: they move the caret or copy, and
// never change the text.
bool LeftToTheLineEdit(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Home:
    case Qt::Key_End:
        return !(mods & Qt::AltModifier);
    case Qt::Key_Left:
    case Qt::Key_Right:
        return mods != Qt::NoModifier && !(mods & Qt::AltModifier);
    case Qt::Key_A:
    case Qt::Key_C:
        return mods == Qt::ControlModifier;
    case Qt::Key_Insert:
        return mods == Qt::ControlModifier;
    default:
        return false;
    }
}

bool Matches(const QKeyEvent* event, QKeyCombination shortCut) {
    return shortCut.key() != Qt::Key_unknown && shortCut.toCombined() != 0 &&
           event->key() == shortCut.key() &&
           (event->modifiers() & ~Qt::KeypadModifier) == shortCut.keyboardModifiers();
}

} // namespace

TMaskedTextEh TCustomDBEditEh::State() const {
    TMaskedTextEh state{EditText(), SelStart(), SelLength()};
    if (!mask_.IsEmpty() && state.text.size() != mask_.Length())
        state.text = mask_.Apply(state.text);
    return state;
}

void TCustomDBEditEh::ApplyEdit(const TMaskedTextEh& state, bool changedText) {
    if (changedText)
        SetEditText(state.text, TTextChange::User);
    SetSelection(state.selStart, state.selLength);
}

bool TCustomDBEditEh::WidgetEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Tab moves the focus; Qt does that after the widget declined the key.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        bool consumed = true;
        Application->Dispatch(this, [&] { consumed = KeyPressed(key); });
        return consumed;
    }
    case QEvent::KeyRelease:
        return false;
    case QEvent::FocusIn: {
        TControl::WidgetEvent(event);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return false;
        Application->Dispatch(this, [&] {
            FocusEntered();
            // A click of the left button places the caret where it clicked.
            if (!(reason == Qt::MouseFocusReason &&
                  (QGuiApplication::mouseButtons() & Qt::LeftButton)))
                SelectAll();
        });
        return false;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            Application->Dispatch(this, [this] { Exit(); });
        return false;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        // With Shift, Ctrl or Alt held the turn is not the box's.
        if (ShiftState(wheel->modifiers()) != 0)
            return false;
        wheelDelta_ += wheel->angleDelta().y();
        Application->Dispatch(this, [&] {
            // One step per notch; fine-grained wheels add up to a notch first.
            while (wheelDelta_ >= 120 || wheelDelta_ <= -120) {
                const bool up = wheelDelta_ > 0;
                wheelDelta_ += up ? -120 : 120;
                WheelTurned(up);
            }
        });
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button would paste the selection behind the mask's back.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::Resize:
        LayoutButtons();
        return TControl::WidgetEvent(event);
    default:
        return TControl::WidgetEvent(event);
    }
}

// The window's key preview and the box's OnKeyDown first; a handler that
// clears the key stops it. Then the box's own keys, then the character with
// OnKeyPress, which may replace or swallow it.
bool TCustomDBEditEh::KeyPressed(QKeyEvent* event) {
    TForm* form = ParentForm();
    const bool preview = form && form->KeyPreview();
    unsigned short key = VirtualKey(event->key());
    const TShiftState shift = ShiftState(event->modifiers());
    if (key != 0) {
        if (preview && form->OnKeyDown)
            form->OnKeyDown(form, key, shift);
        if (key != 0 && OnKeyDown)
            OnKeyDown(this, key, shift);
        if (key == 0)
            return true;
        if (Matches(event, editButton_->ShortCut()) && editButton_->Visible()) {
            PressEditButton(*editButton_, false);
            ClickEditButton(*editButton_);
            return true;
        }
        for (auto& button : editButtons_) {
            if (Matches(event, button->ShortCut()) && button->Visible()) {
                PressEditButton(*button, false);
                ClickEditButton(*button);
                return true;
            }
        }
        if (KeyDown(key, shift))
            return true;
    }
    if (LeftToTheLineEdit(event))
        return false;
    const QString text = event->text();
    if (text.size() != 1)
        return true;
    // Ctrl and Alt combinations type nothing.
    if (event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier) &&
        text[0].unicode() >= 32)
        return true;
    QChar ch = text[0];
    if (preview && form->OnKeyPress)
        form->OnKeyPress(form, ch);
    if (!ch.isNull() && OnKeyPress)
        OnKeyPress(this, ch);
    if (!ch.isNull())
        KeyPress(ch);
    return true;
}

bool TCustomDBEditEh::KeyDown(unsigned short key, TShiftState shift) {
    constexpr unsigned short vkInsert = 45, vkDelete = 46, vkLeft = 37, vkRight = 39;
    constexpr unsigned short vkV = 'V', vkX = 'X';
    if ((key == vkV && shift == ssCtrl) || (key == vkInsert && shift == ssShift)) {
        Paste();
        return true;
    }
    const bool cut = (key == vkX && shift == ssCtrl) || (key == vkDelete && shift == ssShift);
    if (cut && SelLength() > 0)
        QGuiApplication::clipboard()->setText(LineEdit()->selectedText());
    if (key == vkDelete || cut) {
        if (CanModify()) {
            TMaskedTextEh state = State();
            mask_.Delete(state);
            ApplyEdit(state, true);
        }
        return true;
    }
    if ((key == vkLeft || key == vkRight) && shift == 0) {
        TMaskedTextEh state = State();
        if (key == vkLeft)
            mask_.MoveLeft(state);
        else
            mask_.MoveRight(state);
        ApplyEdit(state, false);
        return true;
    }
    return false;
}

void TCustomDBEditEh::KeyPress(QChar key) {
    switch (key.unicode()) {
    case 8:
        if (CanModify()) {
            TMaskedTextEh state = State();
            mask_.Backspace(state);
            ApplyEdit(state, true);
        }
        return;
    case 13:
        NormalizeText();
        return;
    case 27:
        ResetText();
        return;
    default:
        break;
    }
    if (key.unicode() < 32 || !CanModify())
        return;
    TMaskedTextEh state = State();
    if (!mask_.TypeChar(state, key)) {
        MessageBeep();
        return;
    }
    ApplyEdit(state, true);
}

void TCustomDBEditEh::Paste() {
    if (!CanModify())
        return;
    TMaskedTextEh state = State();
    // Pasting types the clipboard's characters; those that do not fit are skipped.
    for (QChar c : QGuiApplication::clipboard()->text())
        mask_.TypeChar(state, c);
    ApplyEdit(state, true);
}

// Leaving the box: the text read leniently, OnExit, then the post of a changed text.
void TCustomDBEditEh::Exit() {
    NormalizeText();
    Fire(OnExit, this);
    if (modified_)
        Post();
}
