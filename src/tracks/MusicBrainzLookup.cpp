#include "tracks/MusicBrainzLookup.h"

#include "platform/AppError.h"
#include "support/BuildFacts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrlQuery>
#include <thread>

namespace {

struct Answer {
    int status = 0;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    bool tooLarge = false;
    bool cancelled = false;
};

Answer fetch(const MusicBrainzServer& server, const QUrl& url, const std::atomic<bool>* cancel) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, musicBrainzUserAgent());
    request.setRawHeader("Accept", "application/xml");
    request.setTransferTimeout(server.receiveTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = manager.get(request);
    Answer answer;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        answer.body += reply->readAll();
        if (answer.body.size() > server.maxAnswerBytes) {
            answer.tooLarge = true;
            answer.body.clear();
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer cancelWatch;
    QObject::connect(&cancelWatch, &QTimer::timeout, &loop, [&] {
        if (cancel && *cancel && !reply->isFinished()) {
            answer.cancelled = true;
            reply->abort();
        }
    });
    cancelWatch.start(50);
    if (!reply->isFinished())
        loop.exec();
    if (!answer.tooLarge && !answer.cancelled && reply->isOpen())
        answer.body += reply->readAll();
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.error = reply->error();
    delete reply;
    return answer;
}

QString serverName(const MusicBrainzServer& server) {
    return server.base.port() > 0
               ? QStringLiteral("%1:%2").arg(server.base.host()).arg(server.base.port())
               : server.base.host();
}

} // namespace

MusicBrainzServer MusicBrainzServer::fromEnvironment(const QProcessEnvironment& environment) {
    MusicBrainzServer server;
    const QString given = environment.value(QStringLiteral("SLEEVIX_MUSICBRAINZ_SERVER")).trimmed();
    if (given.isEmpty())
        return server;
    QUrl base = given.contains(QLatin1String("://"))
                    ? QUrl(given, QUrl::StrictMode)
                    : QUrl(QStringLiteral("http://") + given, QUrl::StrictMode);
    if (base.isValid() && !base.host().isEmpty() &&
        (base.scheme() == QLatin1String("http") || base.scheme() == QLatin1String("https"))) {
        base.setPath(QStringLiteral("/"));
        server.base = base;
    }
    return server;
}

QByteArray musicBrainzUserAgent() {
    return QStringLiteral("Sleevix/%1 ( https://www.sleevix.org/ )")
        .arg(BuildFacts::VersionText)
        .toUtf8();
}

bool RateLimiter::waitTurn(const std::atomic<bool>* cancelled) {
    std::lock_guard lock(mutex_);
    if (last_) {
        const Clock::time_point next = *last_ + interval_;
        while (Clock::now() < next) {
            if (cancelled && *cancelled)
                return false;
            std::this_thread::sleep_for(
                std::min<Clock::duration>(next - Clock::now(), std::chrono::milliseconds(20)));
        }
    }
    if (cancelled && *cancelled)
        return false;
    last_ = Clock::now();
    return true;
}

QList<DiscRelease> MusicBrainzLookup::lookUp(const DiscToc& toc, ImportProgress* progress) {
    const std::atomic<bool>* cancel = progress ? &progress->cancelled : nullptr;
    const QString discId = toc.discId();
    QUrl url = server_.base.resolved(QUrl(QStringLiteral("ws/2/discid/") + discId));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("inc"), QStringLiteral("artist-credits+recordings"));
    query.addQueryItem(QStringLiteral("toc"), toc.toString().replace(u' ', u'+'));
    query.addQueryItem(QStringLiteral("cdstubs"), QStringLiteral("no"));
    url.setQuery(query);
    if (!limiter_.waitTurn(cancel))
        return {};
    const Answer answer = fetch(server_, url, cancel);
    if (answer.cancelled)
        return {};
    const QString name = serverName(server_);
    if (answer.tooLarge)
        throw AppError(
            QCoreApplication::translate("MusicBrainzLookup",
                                        "MusicBrainz's answer about this disc is larger than %1 MB "
                                        "and was not read.")
                .arg(server_.maxAnswerBytes / (1024 * 1024)));
    if (answer.status == 404)
        throw AppError(QCoreApplication::translate("MusicBrainzLookup",
                                                   "MusicBrainz does not know this disc."));
    if (answer.error == QNetworkReply::OperationCanceledError ||
        answer.error == QNetworkReply::TimeoutError)
        throw AppError(
            QCoreApplication::translate("MusicBrainzLookup",
                                        "MusicBrainz (%1) did not answer within %2 seconds.")
                .arg(name)
                .arg(server_.receiveTimeoutMs / 1000.0));
    if (answer.status == 0)
        throw AppError(QCoreApplication::translate(
                           "MusicBrainzLookup",
                           "MusicBrainz (%1) cannot be reached; check the internet connection.")
                           .arg(name));
    if (answer.status < 200 || answer.status >= 300 || answer.error != QNetworkReply::NoError)
        throw AppError(
            QCoreApplication::translate("MusicBrainzLookup",
                                        "MusicBrainz (%1) answered with error %2; try again later.")
                .arg(name)
                .arg(answer.status));
    const QList<DiscRelease> releases = releasesFromAnswer(answer.body, toc);
    if (releases.isEmpty())
        throw AppError(QCoreApplication::translate("MusicBrainzLookup",
                                                   "MusicBrainz does not know this disc."));
    return releases;
}

DiscLookup readAndLookUp(DiscReader& reader, MusicBrainzLookup& lookup, ImportProgress* progress) {
    DiscLookup result;
    result.disc = reader.read();
    try {
        result.releases = lookup.lookUp(result.disc.toc, progress);
    } catch (const AppError& e) {
        result.lookupFailure = e.message();
    }
    return result;
}
