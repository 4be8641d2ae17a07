// Looking an audio CD up on MusicBrainz: the disc id (and the table of contents, for a disc
// MusicBrainz knows only by a close match) goes to the web service's /ws/2/discid/ resource; the
// releases in its answer are read with libmusicbrainz5's XML model, each with the track list of
// the medium that is this disc.
//
// The request is made with Qt Network on the calling thread (the import's worker thread), so that
// it can be broken off: when the user cancels, when nothing arrives for a while (a stalled
// server), and when the answer grows past a size no disc's answer has. Requests go at most one a
// second, as MusicBrainz asks of its clients, with the program's name, version and address as
// the user agent.
//
// SLEEVIX_MUSICBRAINZ_SERVER points the lookup at another server: "host:port" (plain HTTP, as a
// local mirror or a test server speaks), or an address with its scheme ("https://host/").
#pragma once

#include "tracks/AudioDisc.h"
#include "tracks/ImportProgress.h"
#include "tracks/TrackList.h"

#include <QProcessEnvironment>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>

struct MusicBrainzServer {
    QUrl base{QStringLiteral("https://musicbrainz.org/")};
    int receiveTimeoutMs = 15000;            // nothing received this long: the server stalls
    qint64 maxAnswerBytes = 8 * 1024 * 1024; // far beyond the answer for any real disc

    static MusicBrainzServer fromEnvironment(const QProcessEnvironment& environment);
};

// "Sleevix/1.10c ( https://www.sleevix.org/ )": who asks, as MusicBrainz wants to know.
QByteArray musicBrainzUserAgent();

// Lets a request go at most once per interval; the caller waits its turn. Shared by every lookup
// the window makes, so that two imports in a row keep the pace too.
class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;
    explicit RateLimiter(std::chrono::milliseconds interval) : interval_(interval) {}
    // Waits until the next request may go and counts it as gone; false (and nothing counted)
    // when cancelled is set first.
    bool waitTurn(const std::atomic<bool>* cancelled = nullptr);

private:
    std::mutex mutex_;
    std::chrono::milliseconds interval_;
    std::optional<Clock::time_point> last_;
};

// A release that holds the disc, with what the user needs to tell it from the others.
struct DiscRelease {
    QString id;
    QString artist;
    QString title;
    QString date;    // "1999-05-01", "1999" or empty
    QString country; // "NL", "XE" or empty
    QString format;  // the medium's: "CD", "Enhanced CD"
    int trackCount = 0;
    TrackList tracks; // this disc's medium, laid out as the editor shows a list

    QString year() const { return date.left(4); }
};

// The releases an answer of the discid resource names. Throws AppError when the answer is no
// MusicBrainz XML.
QList<DiscRelease> releasesFromAnswer(const QByteArray& xml, const DiscToc& toc);

class MusicBrainzLookup {
public:
    explicit MusicBrainzLookup(MusicBrainzServer server = {}) : server_(std::move(server)) {}

    const MusicBrainzServer& server() const { return server_; }
    // The releases that hold the disc. Throws AppError with one sentence for the user: no
    // network, no answer in time, no match, an error from the server, an answer that is
    // malformed or too large. Gives nothing once progress->cancelled is set.
    QList<DiscRelease> lookUp(const DiscToc& toc, ImportProgress* progress = nullptr);

private:
    MusicBrainzServer server_;
    RateLimiter limiter_{std::chrono::milliseconds(1000)};
};

// A disc read and looked up: the releases found, or why none were.
struct DiscLookup {
    DiscContents disc;
    QList<DiscRelease> releases;
    QString lookupFailure; // why the lookup gave nothing; empty when it found releases
};

// Reads the disc (a failure there is thrown: there is nothing to show) and looks it up (a failure
// there is kept: the disc's CD-Text or its times may still make a list).
DiscLookup readAndLookUp(DiscReader& reader, MusicBrainzLookup& lookup,
                         ImportProgress* progress = nullptr);
