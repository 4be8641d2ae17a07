// Track lists read from real audio files (made here with sox and opusenc, tagged with TagLib) and
// from cue sheets: order, discs, compilations, file-name fallbacks, strange tags, the front
// picture, and the sentences for what gives no list.
#include "common/TestEnv.h"
#include "tracks/CueSheet.h"
#include "tracks/MusicFolder.h"
#include "tracks/TrackImport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/tpropertymap.h>

namespace {

// seconds of silence in the format the name's extension says.
void makeAudio(const QString& path, double seconds, const QStringList& soxOptions = {},
               const QStringList& outputOptions = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QProcess process;
    if (path.endsWith(QLatin1String(".opus"))) {
        const QString wav = path + QStringLiteral(".wav");
        makeAudio(wav, seconds, {}, {QStringLiteral("-b"), QStringLiteral("16")});
        process.start(QStringLiteral("opusenc"), {QStringLiteral("--quiet"), wav, path});
        ASSERT_TRUE(process.waitForFinished(30000));
        QFile::remove(wav);
    } else {
        process.start(QStringLiteral("sox"),
                      soxOptions +
                          QStringList{QStringLiteral("-n"), QStringLiteral("-r"),
                                      QStringLiteral("44100"), QStringLiteral("-c"),
                                      QStringLiteral("2")} +
                          outputOptions +
                          QStringList{path, QStringLiteral("trim"), QStringLiteral("0"),
                                      QString::number(seconds)});
        ASSERT_TRUE(process.waitForFinished(30000));
    }
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
}

struct Tags {
    QString title, artist, album, albumArtist, disc;
    int track = 0;
    int year = 0;
};

void tag(const QString& path, const Tags& t) {
    const QByteArray local = QFile::encodeName(path);
    TagLib::FileRef ref(local.constData());
    ASSERT_FALSE(ref.isNull()) << qPrintable(path);
    const auto s = [](const QString& v) { return TagLib::String(v.toStdWString()); };
    TagLib::PropertyMap map = ref.file()->properties();
    map.replace("TITLE", s(t.title));
    map.replace("ARTIST", s(t.artist));
    map.replace("ALBUM", s(t.album));
    if (!t.albumArtist.isEmpty())
        map.replace("ALBUMARTIST", s(t.albumArtist));
    if (!t.disc.isEmpty())
        map.replace("DISCNUMBER", s(t.disc));
    map.replace("TRACKNUMBER", s(QString::number(t.track)));
    if (t.year)
        map.replace("DATE", s(QString::number(t.year)));
    ref.file()->setProperties(map);
    ASSERT_TRUE(ref.save()) << qPrintable(path);
}

std::string described(const TrackList& list) {
    QStringList lines;
    for (const Track& t : list.tracks)
        lines << QStringLiteral("%1/%2 %3 [%4] %5")
                     .arg(t.disc)
                     .arg(t.number, t.title, t.artist, durationText(t.durationMs));
    return lines.join(u'\n').toStdString();
}

// An album on two discs in every format TagLib reads here, read in the order of the discs and
// numbers, whatever the files are called and where they lie.
TEST(MusicFolderTest, ReadsAnAlbumInOrderOfDiscsAndNumbers) {
    const QString dir = testenv::freshFolder(QStringLiteral("album"));
    const QString band = QStringLiteral("The Band");
    const QString album = QStringLiteral("Caf\u00e9 Songs");
    struct File {
        const char* name;
        int track;
        const char* title;
        const char* disc;
        double seconds;
    };
    const File files[] = {
        {"z-first.flac", 1, "One", "1/2", 1.0},
        {"b.mp3", 2, "Tw\u00f6", "1/2", 2.0},
        {"a.ogg", 3, "Three", "1/2", 1.0},
        {"CD2/x.opus", 1, "Four", "2/2", 1.0},
        {"CD2/y.wav", 2, "\u00c9l\u00e9gie", "2/2", 3.0},
    };
    for (const File& f : files) {
        const QString path = dir + u'/' + QString::fromUtf8(f.name);
        makeAudio(path, f.seconds);
        tag(path, {QString::fromUtf8(f.title), band, album, band, QString::fromUtf8(f.disc),
                   f.track, 2001});
    }
    testenv::writeFile(dir + QStringLiteral("/notes.txt"), "not audio");
    testenv::writeFile(dir + QStringLiteral("/folder.jpg"), "JPEG bytes");

    ImportProgress progress;
    const TrackList list = TrackImport::read(dir, &progress);
    EXPECT_EQ(progress.total, 5);
    EXPECT_EQ(progress.done, 5);
    EXPECT_EQ(list.albumArtist, band);
    EXPECT_EQ(list.album, album);
    EXPECT_EQ(list.year, QStringLiteral("2001"));
    EXPECT_FALSE(list.isCompilation());
    EXPECT_EQ(described(list), "1/1 One [The Band] 0:01\n1/2 Tw\u00f6 [The Band] 0:02\n"
                               "1/3 Three [The Band] 0:01\n2/1 Four [The Band] 0:01\n"
                               "2/2 \u00c9l\u00e9gie [The Band] 0:03");
    // No picture in the first track: the one beside the files is offered.
    EXPECT_EQ(list.frontPicture, QByteArray("JPEG bytes"));
    EXPECT_EQ(list.spineText(), QStringLiteral("The Band - Caf\u00e9 Songs"));
}

// Files without tags, with only some tags, of several artists, with bytes that are no UTF-8, and
// with an embedded picture.
TEST(MusicFolderTest, FallsBackToFileNamesAndFindsCompilations) {
    const QString dir = testenv::freshFolder(QStringLiteral("mix"));
    makeAudio(dir + QStringLiteral("/03 - Untagged Song.flac"), 1);
    makeAudio(dir + QStringLiteral("/01_first.flac"), 1);
    tag(dir + QStringLiteral("/01_first.flac"),
        {QStringLiteral("First"), QStringLiteral("Ann"), QStringLiteral("Mix"), {}, {}, 1});
    { // The front cover embedded in the first track.
        const QByteArray local = QFile::encodeName(dir + QStringLiteral("/01_first.flac"));
        TagLib::FLAC::File flac(local.constData());
        auto* picture = new TagLib::FLAC::Picture;
        picture->setType(TagLib::FLAC::Picture::FrontCover);
        picture->setMimeType("image/png");
        picture->setData(TagLib::ByteVector("PNG bytes", 9));
        flac.addPicture(picture);
        ASSERT_TRUE(flac.save());
    }
    // A Vorbis comment whose bytes are Latin-1, which is no UTF-8.
    const QString latin = dir + QStringLiteral("/02.flac");
    makeAudio(latin, 2);
    tag(latin, {QStringLiteral("CafX"), QStringLiteral("Bob"), QStringLiteral("Mix"), {}, {}, 2});
    {
        QFile file(latin);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        ASSERT_TRUE(bytes.contains("TITLE=CafX"));
        bytes.replace("TITLE=CafX", "TITLE=Caf\xe9");
        ASSERT_TRUE(file.seek(0));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    const TrackList list = MusicFolder::read(dir);
    ASSERT_EQ(list.tracks.size(), 3);
    EXPECT_EQ(list.albumArtist, QStringLiteral("Various Artists"));
    EXPECT_TRUE(list.isCompilation());
    EXPECT_EQ(list.tracks[0].title, QStringLiteral("First"));
    EXPECT_EQ(list.tracks[1].number, QStringLiteral("2"));
    EXPECT_EQ(list.tracks[1].artist, QStringLiteral("Bob"));
    EXPECT_FALSE(list.tracks[1].title.isEmpty());
    EXPECT_FALSE(list.tracks[1].title.contains(QChar(0xFFFD))) << qPrintable(list.tracks[1].title);
    EXPECT_EQ(list.tracks[2].number, QStringLiteral("3"));
    EXPECT_EQ(list.tracks[2].title, QStringLiteral("Untagged Song"));
    EXPECT_EQ(list.tracks[2].durationMs, 1000);
    EXPECT_EQ(list.frontPicture, QByteArray("PNG bytes"));
}

// Without a picture in the first track, the front beside the files: cover before folder before
// front, in any case of the name; the album's folder before the first track's; none for other
// names.
TEST(MusicFolderTest, FindsTheFrontBesideTheFiles) {
    struct Case {
        const char* name;
        QStringList pictures; // relative to the album's folder; the files hold their own name
        const char* found;
    };
    const Case cases[] = {
        {"cover first", {"Folder.jpg", "COVER.PNG", "front.jpeg"}, "COVER.PNG"},
        {"album folder first", {"CD1/cover.jpg", "folder.jpg"}, "folder.jpg"},
        {"first track's folder", {"CD1/cover.jpg", "CD2/cover.jpg"}, "CD1/cover.jpg"},
        {"other names", {"back.jpg", "cover.gif", "CD2/cover.jpg"}, ""},
    };
    for (const Case& c : cases) {
        const QString dir = testenv::freshFolder(QStringLiteral("front-beside"));
        QDir(dir).mkpath(QStringLiteral("CD1"));
        makeAudio(dir + QStringLiteral("/CD1/01 - One.flac"), 1);
        for (const QString& picture : c.pictures)
            testenv::writeFile(dir + u'/' + picture, picture.toUtf8());
        const TrackList list = MusicFolder::read(dir);
        EXPECT_EQ(list.frontPicture, QByteArray(c.found)) << c.name;
    }
}

// A cue sheet of one file, in Windows-1252: titles, performers, the date, durations from the
// index positions and the last one from the audio file; the same sheet without its audio file
// leaves the last duration open.
TEST(CueSheetTest, ReadsTracksAndDurations) {
    const QString dir = testenv::freshFolder(QStringLiteral("cue"));
    const QByteArray sheet =
        "REM DATE 1977\r\nPERFORMER \"Kraftwerk\"\r\nTITLE \"Trans Europa Express\"\r\n"
        "FILE \"album.wav\" WAVE\r\n"
        "  TRACK 01 AUDIO\r\n    TITLE \"Europa Endlos\"\r\n    INDEX 01 00:00:00\r\n"
        "  TRACK 02 AUDIO\r\n    TITLE \"Spiegelsaal \xe9\"\r\n    INDEX 00 00:01:00\r\n"
        "    INDEX 01 00:02:00\r\n"
        "  TRACK 03 AUDIO\r\n    TITLE \"Schaufensterpuppen\"\r\n    PERFORMER \"Guest\"\r\n"
        "    INDEX 01 00:03:37\r\n";
    const QString cue = testenv::writeFile(dir + QStringLiteral("/album.cue"), sheet);
    TrackList list = TrackImport::read(cue);
    EXPECT_EQ(list.heading(), QStringLiteral("Kraftwerk \u2013 Trans Europa Express (1977)"));
    EXPECT_EQ(described(list), "0/1 Europa Endlos [] 0:02\n0/2 Spiegelsaal \u00e9 [] 0:01\n"
                               "0/3 Schaufensterpuppen [Guest] ");
    makeAudio(dir + QStringLiteral("/album.wav"), 10);
    list = CueSheet::read(cue);
    EXPECT_EQ(durationText(list.tracks[2].durationMs), QStringLiteral("0:07"));
    EXPECT_TRUE(list.isCompilation());
}

// What gives no list is told in a sentence that names it.
TEST(TrackImportTest, RefusesWhatHoldsNoList) {
    const QString dir = testenv::freshFolder(QStringLiteral("nothing"));
    testenv::writeFile(dir + QStringLiteral("/readme.txt"), "just some words\n");
    const QString big = dir + QStringLiteral("/big.txt");
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(TrackImport::MaxTextBytes + 1));
    }
    const QString broken =
        testenv::writeFile(dir + QStringLiteral("/broken.cue"), "not a cue sheet at all {");
    EXPECT_EQ(testenv::errorOf([&] { TrackImport::read(dir); }),
              QStringLiteral("There are no audio files in %1.").arg(dir));
    EXPECT_EQ(testenv::errorOf([&] { TrackImport::read(dir + QStringLiteral("/readme.txt")); }),
              QStringLiteral("%1/readme.txt holds no track list.").arg(dir));
    EXPECT_EQ(testenv::errorOf([&] { TrackImport::read(big); }),
              QStringLiteral("%1 holds no track list.").arg(big));
    EXPECT_EQ(testenv::errorOf([&] { TrackImport::read(broken); }),
              QStringLiteral("%1 is not a cue sheet that can be read.").arg(broken));
}

} // namespace
