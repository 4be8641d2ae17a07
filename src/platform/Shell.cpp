#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace Shell {

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// How long the desktop's handler may take to say whether it took the link. One that is still
// running then (xdg-open without a desktop runs the browser in the foreground) has taken it.
constexpr int HandlerAnswerMs = 10000;

// QDesktopServices only says that xdg-open was started, so a missing mail program or browser
// never shows. xdg-open's exit status says whether something took the link.
bool openWithDesktopHandler(const QString& link) {
    const QString handler = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (handler.isEmpty())
        return false;
    auto* process = new QProcess;
    process->setProgram(handler);
    process->setArguments({link});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    QEventLoop wait;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &wait, &QEventLoop::quit);
    QObject::connect(process, &QProcess::finished, &wait, &QEventLoop::quit);
    limit.start(HandlerAnswerMs);
    // The windows keep painting while the handler decides.
    if (process->state() != QProcess::NotRunning)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    if (process->state() != QProcess::NotRunning) {
        // Still running: it has the link. It goes on when this call returns.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }
    const bool took = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return took;
}
#endif

} // namespace

bool open(const QString& link) {
    const QUrl url(link);
    if (!url.isValid())
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return openWithDesktopHandler(link);
#else
    return QDesktopServices::openUrl(url);
#endif
}

bool startProgram(const QString& program, const QStringList& parameters) {
    return QProcess::startDetached(program, parameters);
}

} // namespace Shell
