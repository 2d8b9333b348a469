#pragma once
// Waiting in tests for something another process or thread brings about.

#include <QDeadlineTimer>
#include <QThread>
#include <functional>

// Waits up to `ms` for `condition`, checking it every `stepMs`; whether it held.
inline bool Eventually(int ms, const std::function<bool()>& condition, int stepMs = 20) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(static_cast<unsigned long>(stepMs));
    }
    return true;
}
