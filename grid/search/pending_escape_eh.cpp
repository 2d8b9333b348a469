#include "grid/search/pending_escape_eh.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

// Between two looks: short enough for the user, long enough that a search
// spends its time on the cells.
constexpr qint64 kLookIntervalMs = 20;
// Calls between two readings of the clock.
constexpr unsigned kCallsPerClockReading = 64;

} // namespace

TPendingEscapeEh::TPendingEscapeEh() = default;

TPendingEscapeEh::~TPendingEscapeEh() {
    for (THeld& held : held_)
        if (held.receiver)
            QCoreApplication::postEvent(held.receiver, held.event.release());
}

bool TPendingEscapeEh::Pending() {
    if (escape_)
        return true;
    if (sinceLook_.isValid() &&
        (++calls_ % kCallsPerClockReading != 0 || sinceLook_.elapsed() < kLookIntervalMs))
        return false;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    app->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
    app->removeEventFilter(this);
    sinceLook_.start();
    return escape_;
}

bool TPendingEscapeEh::eventFilter(QObject* watched, QEvent* event) {
    if (!event->isInputEvent())
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Taken as wanted by the control, so that no shortcut runs now; the
        // key press itself, given back later, asks again.
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        escape_ = true;
    held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}
