#include "back/ImportWithProgress.h"

#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "tracks/ImportProgress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <memory>

bool importWithProgress(QWidget* parent, const QString& label, ImportProgress& progress,
                        const std::function<void()>& read) {
    QString failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            read();
        } catch (const AppError& e) {
            failure = e.message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
    }));
    QProgressDialog dialog(label, QCoreApplication::translate("BackTextEditor", "Cancel"), 0, 0,
                           parent);
    dialog.setWindowTitle(ProductName);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(400);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    // Also a Cancel given by a call rather than the button.
    QTimer ticks;
    ticks.setInterval(50);
    QObject::connect(&ticks, &QTimer::timeout, &dialog, [&] {
        if (dialog.wasCanceled())
            progress.cancelled = true;
        dialog.setMaximum(progress.total);
        dialog.setValue(progress.done);
    });
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog,
                     [&] { progress.cancelled = true; });
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    ticks.start();
    loop.exec();
    worker->wait();
    if (progress.cancelled)
        return false;
    if (!failure.isEmpty())
        throw AppError(failure);
    return true;
}
