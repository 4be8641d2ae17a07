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
#include <musicbrainz5/Artist.h>
#include <musicbrainz5/ArtistCredit.h>
#include <musicbrainz5/Disc.h>
#include <musicbrainz5/Medium.h>
#include <musicbrainz5/MediumList.h>
#include <musicbrainz5/Metadata.h>
#include <musicbrainz5/NameCredit.h>
#include <musicbrainz5/NameCreditList.h>
#include <musicbrainz5/Recording.h>
#include <musicbrainz5/Release.h>
#include <musicbrainz5/ReleaseList.h>
#include <musicbrainz5/Track.h>
#include <musicbrainz5/TrackList.h>
#include <musicbrainz5/xmlParser.h>
#include <thread>

namespace mb = MusicBrainz5;

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value).trimmed();
}

// "Artist feat. Other": the credited names with their join phrases.
QString creditText(const mb::CArtistCredit* credit) {
    QString result;
    if (!credit || !credit->NameCreditList())
        return result;
    const mb::CNameCreditList* names = credit->NameCreditList();
    for (int i = 0; i < names->NumItems(); ++i) {
        const mb::CNameCredit* name = names->Item(i);
        QString shown = text(name->Name());
        if (shown.isEmpty() && name->Artist())
            shown = text(name->Artist()->Name());
        result += shown + QString::fromStdString(name->JoinPhrase());
    }
    return result.trimmed();
}

// The medium that is this disc: the one that lists its disc id, else the first with as many
// tracks as the disc, else the first.
const mb::CMedium* mediumOf(const mb::CRelease& release, const DiscToc& toc,
                            const std::string& discId) {
    const mb::CMediumList* media = release.MediumList();
    if (!media || media->NumItems() == 0)
        return nullptr;
    for (int i = 0; i < media->NumItems(); ++i)
        if (media->Item(i)->ContainsDiscID(discId))
            return media->Item(i);
    for (int i = 0; i < media->NumItems(); ++i) {
        const mb::CTrackList* tracks = media->Item(i)->TrackList();
        if (tracks && tracks->NumItems() == toc.trackCount())
            return media->Item(i);
    }
    return media->Item(0);
}

DiscRelease releaseFrom(const mb::CRelease& release, const DiscToc& toc,
                        const std::string& discId) {
    DiscRelease result;
    result.id = text(release.ID());
    result.title = text(release.Title());
    result.artist = creditText(release.ArtistCredit());
    result.date = text(release.Date());
    result.country = text(release.Country());
    result.tracks.album = result.title;
    result.tracks.albumArtist = result.artist;
    result.tracks.year = result.year();
    const mb::CMedium* medium = mediumOf(release, toc, discId);
    if (!medium)
        return result;
    result.format = text(medium->Format());
    const int mediumCount = release.MediumList()->NumItems();
    if (mediumCount > 1)
        result.tracks.album = QCoreApplication::translate("MusicBrainzLookup", "%1 (disc %2 of %3)")
                                  .arg(result.title)
                                  .arg(medium->Position())
                                  .arg(mediumCount);
    const mb::CTrackList* tracks = medium->TrackList();
    const int count = tracks ? tracks->NumItems() : 0;
    result.trackCount = count;
    // The disc's own times where its tracks are the medium's, else what MusicBrainz knows.
    const bool sameTracks = count == toc.trackCount();
    for (int i = 0; i < count; ++i) {
        const mb::CTrack* track = tracks->Item(i);
        const mb::CRecording* recording = track->Recording();
        Track entry;
        entry.number = text(track->Number());
        if (entry.number.isEmpty())
            entry.number = QString::number(track->Position());
        entry.title = text(track->Title());
        if (entry.title.isEmpty() && recording)
            entry.title = text(recording->Title());
        QString artist = creditText(track->ArtistCredit());
        if (artist.isEmpty() && recording)
            artist = creditText(recording->ArtistCredit());
        if (artist != result.artist)
            entry.artist = artist;
        int length = track->Length();
        if (length <= 0 && recording)
            length = recording->Length();
        entry.durationMs = sameTracks ? toc.durationMs(i) : (length > 0 ? length : -1);
        result.tracks.tracks << entry;
    }
    return result;
}

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

QList<DiscRelease> releasesFromAnswer(const QByteArray& xml, const DiscToc& toc) {
    const QString unreadable = QCoreApplication::translate(
        "MusicBrainzLookup", "MusicBrainz's answer about this disc cannot be read.");
    XMLResults results;
    std::unique_ptr<XMLNode> root(XMLRootNode::parseString(xml.toStdString(), &results));
    if (!root || results.code != eXMLErrorNone)
        throw AppError(unreadable);
    // The answer's root element is <metadata>.
    const XMLNode node = *root;
    if (node.isEmpty() || std::string_view(node.getName()) != "metadata")
        throw AppError(unreadable);
    const mb::CMetadata metadata(node);
    // The disc when MusicBrainz knows its id; a list of releases when it matched the table of
    // contents only.
    const mb::CReleaseList* list =
        metadata.Disc() ? metadata.Disc()->ReleaseList() : metadata.ReleaseList();
    if (!metadata.Disc() && !list)
        throw AppError(unreadable);
    QList<DiscRelease> releases;
    const std::string discId = toc.discId().toStdString();
    for (int i = 0; list && i < list->NumItems(); ++i)
        releases << releaseFrom(*list->Item(i), toc, discId);
    return releases;
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
