#include "platform/Ping.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkProxy>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTimer>
#include <cmath>

namespace Ping {

namespace {

int wholeMs(double ms) {
    return std::max(1, int(std::lround(ms)));
}

QStringList pingArguments(const QString& host, int waitMs) {
#ifdef Q_OS_WIN
    return {QStringLiteral("-n"), QStringLiteral("1"), QStringLiteral("-w"),
            QString::number(waitMs), host};
#else
    // -n: numbers only, no name look-up of the reply's address.
    return {QStringLiteral("-n"),
            QStringLiteral("-c"),
            QStringLiteral("1"),
            QStringLiteral("-W"),
            QString::number(std::max(1, (waitMs + 999) / 1000)),
            host};
#endif
}

// ping's exit code when it ran but got no reply; any other failure is its not being able to run.
constexpr int NoReplyExitCode = 1;

} // namespace

std::optional<int> replyTimeMs(const QString& output) {
    static const QRegularExpression time(
        QStringLiteral("time\\s*([=<])\\s*([0-9]+(?:[.,][0-9]+)?)\\s*ms"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = time.match(output);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double ms = match.captured(2).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return wholeMs(ms);
}

std::optional<int> connectTime(const QString& host, quint16 port, int waitMs) {
    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    limit.start(waitMs);
    socket.connectToHost(host, port);
    if (socket.state() != QAbstractSocket::ConnectedState &&
        socket.state() != QAbstractSocket::UnconnectedState)
        loop.exec();
    const bool connected = socket.state() == QAbstractSocket::ConnectedState;
    const qint64 elapsed = clock.elapsed();
    socket.abort();
    if (!connected)
        return std::nullopt;
    return wholeMs(double(elapsed));
}

std::optional<int> roundTrip(const QString& host, quint16 port, const Options& options) {
    const QString program = QStandardPaths::findExecutable(options.program);
    if (!program.isEmpty()) {
        QProcess ping;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        ping.setProcessEnvironment(environment);
        ping.setProcessChannelMode(QProcess::MergedChannels);
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&ping, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&ping, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        ping.start(program, pingArguments(host, options.waitMs), QIODevice::ReadOnly);
        // ping keeps to its own wait; the margin is for a ping that hangs all the same.
        limit.start(options.waitMs + 2000);
        if (ping.waitForStarted(2000) && ping.state() == QProcess::Running)
            loop.exec();
        if (ping.state() != QProcess::NotRunning) {
            ping.kill();
            ping.waitForFinished(1000);
            return std::nullopt; // it ran and waited past its time: no answer
        }
        const QString output = QString::fromLocal8Bit(ping.readAll());
        if (ping.error() != QProcess::FailedToStart && ping.exitStatus() == QProcess::NormalExit) {
            if (std::optional<int> ms = replyTimeMs(output); ms && ping.exitCode() == 0)
                return ms;
            if (ping.exitCode() == NoReplyExitCode)
                return std::nullopt;
        }
    }
    // No ping, or one that may not send (no permission, no raw sockets): a connection to the
    // server's port tells the same.
    return connectTime(host, port, options.waitMs);
}

} // namespace Ping
