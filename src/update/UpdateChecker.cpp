#include "update/UpdateChecker.h"

#include "platform/Ping.h"

#include <QCoreApplication>
#include <QThread>

namespace {

constexpr int PollMs = 10;
constexpr int FetchAttempts = 2;

VersionListReply replyOf(const Internet::FetchResult& fetched) {
    if (!fetched.secureTransport)
        return {VersionListReply::Status::NoConnection, {}};
    if (fetched.tooLarge)
        return {VersionListReply::Status::TooLarge, {}};
    if (fetched.body.isEmpty())
        return {VersionListReply::Status::NoReply, {}};
    return {VersionListReply::Status::Text, fetched.body};
}

} // namespace

UpdateChecker::UpdateChecker(UpdateServer server, QString productName, QString versionText,
                             Pinger pinger)
    : server_(std::move(server)), productName_(std::move(productName)),
      versionText_(std::move(versionText)), pinger_(std::move(pinger)) {
    if (!pinger_)
        pinger_ = [](const QString& host, quint16 port) { return Ping::roundTrip(host, port); };
}

std::optional<CheckOutcome> UpdateChecker::check() {
    if (running_)
        return std::nullopt;
    running_ = true;
    struct Done {
        bool& running;
        ~Done() { running = false; }
    } done{running_};

    if (!pinger_(server_.pingHost(), server_.port()))
        return CheckOutcome{CheckResult::PingTimeout, std::nullopt};
    const ProgramVersion current = ProgramVersion::fromVersionText(versionText_);

    Internet::BackgroundFetch fetch;
    fetch.start(server_.access, QStringLiteral("versions.dat"), FetchAttempts);
    while (!fetch.done()) {
        QThread::msleep(PollMs);
        QCoreApplication::processEvents();
    }
    return judgeVersionList(replyOf(fetch.take()), productName_, current);
}
