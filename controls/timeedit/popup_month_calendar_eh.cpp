#include "controls/timeedit/popup_month_calendar_eh.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

TPopupMonthCalendarEh::TPopupMonthCalendarEh(QWidget* parent)
    : QFrame(parent, Qt::Popup), calendar_(new QCalendarWidget(this)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    // The click outside that closes the calendar goes nowhere else, so a
    // click on the box's button closes it without opening it again.
    setAttribute(Qt::WA_NoMouseReplay);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(calendar_);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    for (QWidget* child : calendar_->findChildren<QWidget*>())
        child->installEventFilter(this);
    connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate) { CloseUp(true); });
    connect(calendar_, &QCalendarWidget::activated, this, [this](QDate) { CloseUp(true); });
}

void TPopupMonthCalendarEh::Popup(QWidget* anchor, QDate date) {
    calendar_->setSelectedDate(date);
    calendar_->setCurrentPage(date.year(), date.month());
    adjustSize();
    const QSize size = sizeHint();
    QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + size.height() > area.bottom() + 1)
            at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - size.height());
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
    }
    move(at);
    open_ = true;
    show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

void TPopupMonthCalendarEh::CloseUp(bool accept) {
    if (!open_)
        return;
    open_ = false;
    hide();
    if (onCloseUp)
        onCloseUp(accept, calendar_->selectedDate());
}

bool TPopupMonthCalendarEh::ClosingKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape ||
        (mods == Qt::AltModifier && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up))) {
        CloseUp(false);
        return true;
    }
    return false;
}

bool TPopupMonthCalendarEh::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && ClosingKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QFrame::eventFilter(watched, event);
}

QDate TPopupMonthCalendarEh::Dismiss() {
    open_ = false;
    hide();
    return calendar_->selectedDate();
}

void TPopupMonthCalendarEh::keyPressEvent(QKeyEvent* event) {
    if (!ClosingKey(event))
        QFrame::keyPressEvent(event);
}

void TPopupMonthCalendarEh::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    // Hidden by Qt: a click outside or the window losing the focus.
    CloseUp(false);
}
