#pragma once
// Tab and Shift+Tab move between the grid's cells (with dgTabs), not between
// controls: the grid's widget and its cell editor take them before Qt's focus
// chain does.

#include <QEvent>
#include <QKeyEvent>

// The key event when `event` is a press of Tab or Shift+Tab, else null.
inline QKeyEvent* TabKeyPress(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return nullptr;
    auto* key = static_cast<QKeyEvent*>(event);
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ? key : nullptr;
}
