// An audio CD's list: the table of contents read (or handed over in its place), and the lookup on
// a MusicBrainz stand-in through libmusicbrainz5's reading of the answers: one release, several,
// no match, malformed, huge and stalled answers, no server at all; the pace and the user agent
// the server sees; a Cancel during a stall.
#include "tracks/AudioDisc.h"
#include "common/MusicBrainzTestServer.h"
#include "common/TestEnv.h"
#include "platform/AppError.h"
#include "tracks/MusicBrainzLookup.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <gtest/gtest.h>
#include <thread>

namespace {

// What the release choice shows of a release, then each track as number, title, artist, time.
QString summary(const DiscRelease& release) {
    QStringList parts{release.artist,      release.title,  release.year(),
                      release.country,     release.format, QString::number(release.trackCount),
                      release.tracks.album};
    for (const Track& track : release.tracks.tracks)
        parts << QStringLiteral("%1 %2 [%3] %4")
                     .arg(track.number, track.title, track.artist, durationText(track.durationMs));
    return parts.join(QStringLiteral(" | "));
}

TEST(AudioDiscTest, DrivesAndTablesOfContentsThatGiveNoDiscAreToldApart) {
    const QString notADrive =
        testenv::writeFile(testenv::freshFolder() + QStringLiteral("/sr0"), QByteArray("no drive"));
    const struct {
        std::function<DiscContents()> read;
        QString error;
    } rows[] = {
        {[] { return DriveDiscReader(QStringLiteral("/nonexistent/sr9")).read(); },
         QStringLiteral("No CD drive was found at /nonexistent/sr9.")},
        {[&] { return DriveDiscReader(notADrive).read(); }, notADrive + " is not a CD drive."},
        {[] { return TocDiscReader(QStringLiteral("1 3 45000 150 15000")).read(); },
         QStringLiteral("\"1 3 45000 150 15000\" is not the table of contents of an audio CD.")},
        // The lead-out before the last track's start.
        {[] { return TocDiscReader(QStringLiteral("1 3 20000 150 15000 30000")).read(); },
         QStringLiteral(
             "\"1 3 20000 150 15000 30000\" is not the table of contents of an audio CD.")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(testenv::errorOf([&] { row.read(); }).toStdString(), row.error.toStdString());

    const DiscContents disc = TocDiscReader(QStringLiteral("1 3 45000 150 15000 30000")).read();
    EXPECT_EQ(disc.toc.discId(), QStringLiteral("ohhlX44vA82K1SAvWfO52oJ_ZxQ-"));
    QStringList times;
    for (const Track& track : AudioDisc::fromToc(disc.toc).tracks)
        times << track.number + u' ' + track.title + u' ' + durationText(track.durationMs);
    EXPECT_EQ(times, QStringList({"1 Track 1 3:18", "2 Track 2 3:20", "3 Track 3 3:20"}));

    // CD-Text names the album; a track's performer shows only where it is not the album's.
    DiscContents withText = disc;
    withText.cdText = {QStringLiteral("Blue"),
                       QStringLiteral("Nina"),
                       {QStringLiteral("One"), QString(), QStringLiteral("Three")},
                       {QStringLiteral("Nina"), QStringLiteral("Nina"), QStringLiteral("Guest")}};
    const TrackList fromText = AudioDisc::fromCdText(withText);
    EXPECT_EQ(fromText.heading(), QStringLiteral("Nina \u2013 Blue"));
    ASSERT_EQ(fromText.tracks.size(), 3);
    EXPECT_EQ(fromText.tracks[1].title, QStringLiteral("Track 2"));
    EXPECT_EQ(fromText.tracks[2].artist, QStringLiteral("Guest"));
    EXPECT_TRUE(fromText.tracks[0].artist.isEmpty());
}

TEST(AudioDiscTest, LooksTheDiscUpOnMusicBrainzAndSaysWhyWhenItCannot) {
    const struct {
        QString toc, answer, expected; // expected: the releases' summaries, or the error
    } rows[] = {
        {"1 3 45000 150 15000 30000", "one-release.xml",
         "Nina Verhoef | Blauwe Uren | 1998 | NL | CD | 3 | Blauwe Uren | 1 Ochtend aan zee [] "
         "3:18 | 2 Café & Regen [] 3:20 | 3 Avond (live) [] 3:20"},
        // The second release has the disc as its second medium: that medium's tracks are taken.
        {"1 3 45075 150 15000 30000", "two-releases.xml",
         "Various Artists | Zomerhits | 2003 | BE | CD | 3 | Zomerhits | 1 Zon op het dak "
         "[De Kreuners feat. Anna] 3:18 | 2 Strand [Clouseau] 3:20 | 3 Ik hou van u [Noordkaap] "
         "3:21\n"
         "Various Artists | Zomerhits: De Collectie | 2010 | XE | CD | 3 | Zomerhits: De "
         "Collectie (disc 2 of 2) | 1 Strand [Clouseau] 3:18 | 2 Ik hou van u [Noordkaap] 3:20 "
         "| 3 Mia [Gorki] 3:21"},
        {"1 3 45150 150 15000 30000", "404", "MusicBrainz does not know this disc."},
        {"1 3 45225 150 15000 30000", "malformed.xml",
         "MusicBrainz's answer about this disc cannot be read."},
        {"1 3 45300 150 15000 30000", "huge",
         "MusicBrainz's answer about this disc is larger than 8 MB and was not read."},
        {"1 3 45375 150 15000 30000", "stall",
         "MusicBrainz (127.0.0.1:%1) did not answer within 1 seconds."},
    };
    QList<std::pair<QString, QString>> routes;
    for (const auto& row : rows)
        routes << std::pair{row.toc, row.answer};
    MusicBrainzTestServer stand_in(routes);
    MusicBrainzLookup lookup(stand_in.server());
    const QString port = QString::number(stand_in.server().base.port());

    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer.toStdString());
        QStringList found;
        const QString error = testenv::errorOf([&] {
            for (const DiscRelease& release : lookup.lookUp(DiscToc::fromString(row.toc)))
                found << summary(release);
        });
        const QString expected = QString(row.expected).replace(QStringLiteral("%1"), port);
        EXPECT_EQ((error.isEmpty() ? found.join(u'\n') : error).toStdString(),
                  expected.toStdString());
    }

    // One request a second, each naming the program, its version and its address.
    const QList<QStringList> requests = stand_in.requests();
    ASSERT_EQ(requests.size(), int(std::size(rows)));
    for (int i = 0; i < requests.size(); ++i) {
        EXPECT_TRUE(requests[i][1].startsWith("/ws/2/discid/" +
                                              DiscToc::fromString(rows[i].toc).discId() +
                                              "?inc=artist-credits+recordings&toc=1+3+"))
            << qPrintable(requests[i][1]);
        EXPECT_EQ(requests[i][2], QStringLiteral("Sleevix/1.10c ( https://www.sleevix.org/ )"));
        if (i > 0) {
            EXPECT_GE(requests[i][0].toDouble() - requests[i - 1][0].toDouble(), 0.95);
        }
    }

    // No server at the address: a port nobody listens on.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    MusicBrainzServer nowhere = stand_in.server();
    const quint16 closedPort = closed.serverPort();
    nowhere.base.setPort(closedPort);
    closed.close();
    EXPECT_EQ(testenv::errorOf([&] {
                  MusicBrainzLookup(nowhere).lookUp(DiscToc::fromString(rows[0].toc));
              }).toStdString(),
              QStringLiteral("MusicBrainz (127.0.0.1:%1) cannot be reached; check the internet "
                             "connection.")
                  .arg(closedPort)
                  .toStdString());
}

TEST(AudioDiscTest, CancelEndsALookupThatWaitsForAStalledServer) {
    const QString toc = QStringLiteral("1 3 45375 150 15000 30000");
    MusicBrainzTestServer stand_in({{toc, QStringLiteral("stall")}});
    MusicBrainzLookup lookup(stand_in.server(60000));
    ImportProgress progress;
    std::thread cancel([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        progress.cancelled = true;
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(lookup.lookUp(DiscToc::fromString(toc), &progress).isEmpty());
    cancel.join();
    EXPECT_LT(clock.elapsed(), 10000); // well before the minute of the time-out
    EXPECT_EQ(stand_in.requests().size(), 1);
}

} // namespace
