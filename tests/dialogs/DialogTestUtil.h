// Helpers for driving the dialog kit's windows in tests.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <functional>

namespace dialogtest {

// Runs the action once the modal loop about to start is running.
inline void WhenShown(QObject* context, std::function<void()> action) {
    QTimer::singleShot(0, context, std::move(action));
}

// Lets the event loop run until the condition holds or the time is up; returns the condition.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

} // namespace dialogtest
