#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

namespace Shell {

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// How long the desktop's handler may take to say whether it took the link. One that is still
// running then (xdg-open without a desktop runs the browser in the foreground) has taken it.
constexpr int HandlerAnswerMs = 10000;

// QDesktopServices only says that xdg-open was started, so a missing mail program or browser
// never shows. xdg-open's exit status says whether something took the link; it is awaited
// through the process's signals, so the caller's window stays responsive.
void openWithDesktopHandler(const QString& link, QObject* context,
                            std::function<void(bool)> answered) {
    const QString handler = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (handler.isEmpty()) {
        answered(false);
        return;
    }
    auto* process = new QProcess;
    auto* limit = new QTimer(process);
    limit->setSingleShot(true);
    // Shared by the three ways the answer can come; the first one tells the caller.
    auto answer = std::make_shared<std::function<void(bool)>>(std::move(answered));
    auto tell = [answer, context = QPointer<QObject>(context)](bool took) {
        if (!*answer)
            return;
        const auto call = std::exchange(*answer, nullptr);
        if (context)
            call(took);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, tell](int code, QProcess::ExitStatus status) {
                         tell(status == QProcess::NormalExit && code == 0);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, tell](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         tell(false);
                         process->deleteLater();
                     });
    // Still running: it has the link, and goes on (deleted when it ends).
    QObject::connect(limit, &QTimer::timeout, process, [tell] { tell(true); });
    process->setProgram(handler);
    process->setArguments({link});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    limit->start(HandlerAnswerMs);
    process->start();
}
#endif

} // namespace

void open(const QString& link, QObject* context, std::function<void(bool took)> answered) {
    const QUrl url(link);
    if (!url.isValid()) {
        answered(false);
        return;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    openWithDesktopHandler(link, context, std::move(answered));
#else
    Q_UNUSED(context);
    answered(QDesktopServices::openUrl(url));
#endif
}

bool startProgram(const QString& program, const QStringList& parameters) {
    return QProcess::startDetached(program, parameters);
}

} // namespace Shell
