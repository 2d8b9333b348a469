#include "grid/editor/inplace_edit_eh.h"

#include "grid/dbgrideh.h"
#include "grid/tab_key_eh.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QKeyEvent>

TInplaceEditEh::TInplaceEditEh(TDBGridEh& grid, QWidget* parent) : QLineEdit(parent), grid_(grid) {
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this] {
        modified_ = true;
        Application->Dispatch(&grid_, [this] { grid_.EditorTextEdited(); });
    });
}

void TInplaceEditEh::SetFieldText(const QString& text) {
    setText(text);
    modified_ = false;
}

bool TInplaceEditEh::event(QEvent* event) {
    QKeyEvent* tab = grid_.Options().Contains(TDBGridOption::dgTabs) ? TabKeyPress(event) : nullptr;
    if (tab) {
        keyPressEvent(tab);
        return true;
    }
    return QLineEdit::event(event);
}

void TInplaceEditEh::keyPressEvent(QKeyEvent* event) {
    bool taken = true;
    Application->Dispatch(&grid_, [&] { taken = grid_.EditorKey(event); });
    if (!taken)
        QLineEdit::keyPressEvent(event);
}

// The grid hears keys going up in its editor too (Ctrl released ends a sort marking).
void TInplaceEditEh::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    Application->Dispatch(&grid_, [&] {
        grid_.KeyUp(TControl::VirtualKey(event->key()), TControl::ShiftState(event->modifiers()));
    });
}

void TInplaceEditEh::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Moving back to the grid is no exit from it; leaving the window only
    // takes the focus away for a while.
    if (QApplication::focusWidget() == grid_.Widget())
        return;
    const bool toAnotherControl =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    Application->Dispatch(&grid_, [&] { grid_.FocusLeftGrid(toAnotherControl); });
}
