#include "platform/WorkAside.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <exception>
#include <future>
#include <system_error>
#include <thread>

void runAside(const std::function<void()>& work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        work();
        return;
    }
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread worker;
    try {
        worker = std::thread(std::move(task));
    } catch (const std::system_error&) {
        work(); // no thread to be had
        return;
    }
    using namespace std::chrono_literals;
    if (done.wait_for(40ms) != std::future_status::ready) {
        const bool cursor = qobject_cast<QGuiApplication*>(app) != nullptr;
        if (cursor)
            QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done.wait_for(0ms) == std::future_status::ready)
                loop.quit();
        });
        poll.start(15);
        bool quitMeanwhile = false;
        if (done.wait_for(0ms) != std::future_status::ready) {
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            // Ended before the work was: the application was asked to quit meanwhile. That ended
            // this loop only; the quit is asked again once the caller has gone on, so that what
            // it opens next (an error box) ends too.
            quitMeanwhile = done.wait_for(0ms) != std::future_status::ready;
        }
        if (cursor)
            QGuiApplication::restoreOverrideCursor();
        if (quitMeanwhile)
            QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    worker.join();
    done.get();
}
