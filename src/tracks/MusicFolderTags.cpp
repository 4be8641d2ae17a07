// The readers of a folder of audio files that need TagLib: tags, durations, embedded pictures.
// Built into the music module (tracks/MusicModule.h), which the program loads on first use.
#include "tracks/MusicFolder.h"

#include "platform/AppError.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>

namespace {

QString text(const TagLib::String& s) {
    return QString::fromWCharArray(s.toCWString(), qsizetype(s.size())).trimmed();
}

QString property(const TagLib::PropertyMap& map, const char* key) {
    const auto it = map.find(key);
    return it == map.end() || it->second.isEmpty() ? QString() : text(it->second.front());
}

// "3/12" gives 3.
int leadingNumber(const QString& value) {
    static const QRegularExpression digits(QStringLiteral(R"(^\s*(\d+))"));
    const QRegularExpressionMatch match = digits.match(value);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

struct FileTrack {
    Track track;
    int trackNumber = 0;
    QString path;
    QString fileName;
    QString folder; // relative to the album's folder
    QString album;
    QString albumArtist;
    QString year;
};

FileTrack readFile(const QString& path) {
    FileTrack file;
    file.path = path;
    const QByteArray local = QFile::encodeName(path);
    const TagLib::FileRef ref(local.constData(), true, TagLib::AudioProperties::Fast);
    if (!ref.isNull()) {
        if (const TagLib::AudioProperties* audio = ref.audioProperties())
            file.track.durationMs = audio->lengthInMilliseconds();
        if (TagLib::Tag* tag = ref.tag()) {
            file.track.title = text(tag->title());
            file.track.artist = text(tag->artist());
            file.album = text(tag->album());
            file.trackNumber = int(tag->track());
            if (tag->year() > 0)
                file.year = QString::number(tag->year());
            const TagLib::PropertyMap map = ref.file()->properties();
            file.albumArtist = property(map, "ALBUMARTIST");
            file.track.disc = leadingNumber(property(map, "DISCNUMBER"));
        }
    }
    if (file.track.title.isEmpty() || file.trackNumber == 0) {
        const Track fromName = MusicFolder::trackFromFileName(path);
        if (file.track.title.isEmpty())
            file.track.title = fromName.title;
        if (file.trackNumber == 0)
            file.trackNumber = fromName.number.toInt();
    }
    return file;
}

// The value most of the tracks have (the first of equals); empty when none has one.
QString mostCommon(const QList<FileTrack>& files, QString FileTrack::*field) {
    QHash<QString, int> counts;
    QString best;
    for (const FileTrack& file : files) {
        const QString& value = file.*field;
        if (value.isEmpty())
            continue;
        if (++counts[value] > counts.value(best))
            best = value;
    }
    return best;
}

QByteArray bytesOf(const TagLib::ByteVector& data) {
    return QByteArray(data.data(), qsizetype(data.size()));
}

QByteArray flacPicture(const TagLib::List<TagLib::FLAC::Picture*>& pictures) {
    for (const TagLib::FLAC::Picture* picture : pictures)
        if (picture->type() == TagLib::FLAC::Picture::FrontCover)
            return bytesOf(picture->data());
    return pictures.isEmpty() ? QByteArray() : bytesOf(pictures.front()->data());
}

// The picture embedded in an audio file: the front cover, else the first one.
QByteArray embeddedPicture(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    const TagLib::FileRef ref(local.constData(), false);
    if (ref.isNull())
        return {};
    TagLib::File* file = ref.file();
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file))
        return flacPicture(flac->pictureList());
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        if (!mpeg->hasID3v2Tag())
            return {};
        const TagLib::ID3v2::FrameList frames = mpeg->ID3v2Tag()->frameListMap()["APIC"];
        QByteArray first;
        for (TagLib::ID3v2::Frame* frame : frames) {
            auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
            if (!picture)
                continue;
            if (picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
                return bytesOf(picture->picture());
            if (first.isEmpty())
                first = bytesOf(picture->picture());
        }
        return first;
    }
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        if (!mp4->tag() || !mp4->tag()->contains("covr"))
            return {};
        const TagLib::MP4::CoverArtList art = mp4->tag()->item("covr").toCoverArtList();
        return art.isEmpty() ? QByteArray() : bytesOf(art.front().data());
    }
    if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file))
        return vorbis->tag() ? flacPicture(vorbis->tag()->pictureList()) : QByteArray();
    if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file))
        return opus->tag() ? flacPicture(opus->tag()->pictureList()) : QByteArray();
    return {};
}

// Whether a file found beside the music can be the album's front: cover, folder or front, as JPEG
// or PNG, in any case.
bool isPictureBeside(const QFileInfo& file) {
    static const QStringList names{QStringLiteral("cover"), QStringLiteral("folder"),
                                   QStringLiteral("front")};
    static const QStringList suffixes{QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                      QStringLiteral("png")};
    return suffixes.contains(file.suffix().toLower()) &&
           names.contains(file.completeBaseName().toLower());
}

// Of the pictures found beside the music, the one in place named first of cover, folder and front.
QString pictureBeside(const QString& place, const QStringList& pictures) {
    const QString folder = QDir::cleanPath(place);
    for (const QString& name :
         {QStringLiteral("cover"), QStringLiteral("folder"), QStringLiteral("front")})
        for (const QString& picture : pictures) {
            const QFileInfo file(picture);
            if (QDir::cleanPath(file.path()) == folder &&
                file.completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
                return picture;
        }
    return {};
}

} // namespace

namespace MusicFolder {

qint64 durationOf(const QString& fileName) {
    const QByteArray local = QFile::encodeName(fileName);
    const TagLib::FileRef ref(local.constData(), true, TagLib::AudioProperties::Fast);
    if (ref.isNull() || !ref.audioProperties())
        return -1;
    return ref.audioProperties()->lengthInMilliseconds();
}

TrackList read(const QString& folder, ImportProgress* progress) {
    const QDir root(folder);
    if (!QFileInfo(folder).isDir() || !root.isReadable())
        throw AppError(QCoreApplication::translate("MusicFolder", "The folder %1 cannot be read.")
                           .arg(QDir::toNativeSeparators(folder)));
    QStringList paths;
    QStringList pictures; // a front beside the files, found on the same walk
    // A file that cannot be read is listed too: its track then comes from its name, as a damaged
    // file's does, rather than going missing from the list.
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isAudioFile(path))
            paths << path;
        else if (isPictureBeside(it.fileInfo()))
            pictures << path;
        if (progress && progress->cancelled)
            return {};
    }
    if (paths.isEmpty())
        throw AppError(QCoreApplication::translate("MusicFolder", "There are no audio files in %1.")
                           .arg(QDir::toNativeSeparators(folder)));
    if (progress)
        progress->total = int(paths.size());

    QList<FileTrack> files;
    files.reserve(paths.size());
    for (const QString& path : paths) {
        if (progress && progress->cancelled)
            return {};
        files << readFile(path);
        const QFileInfo info(path);
        files.last().fileName = info.fileName();
        files.last().folder = root.relativeFilePath(info.path());
        if (progress)
            ++progress->done;
    }

    // Discs without disc numbers: one per subfolder, when the tracks lie in several.
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList folders;
    bool anyDisc = false;
    for (const FileTrack& file : files) {
        anyDisc = anyDisc || file.track.disc > 0;
        if (!folders.contains(file.folder))
            folders << file.folder;
    }
    std::sort(folders.begin(), folders.end(), collator);
    if (!anyDisc && folders.size() > 1)
        for (FileTrack& file : files)
            file.track.disc = int(folders.indexOf(file.folder)) + 1;

    std::stable_sort(files.begin(), files.end(), [&](const FileTrack& a, const FileTrack& b) {
        if (a.track.disc != b.track.disc)
            return a.track.disc < b.track.disc;
        if (a.trackNumber != b.trackNumber)
            return a.trackNumber < b.trackNumber;
        return collator.compare(a.fileName, b.fileName) < 0;
    });

    TrackList list;
    list.album = mostCommon(files, &FileTrack::album);
    list.year = mostCommon(files, &FileTrack::year);
    list.albumArtist = mostCommon(files, &FileTrack::albumArtist);
    if (list.albumArtist.isEmpty()) {
        // No album artist in the tags: the artist all tracks share, or a compilation.
        QStringList artists;
        for (const FileTrack& file : files)
            if (!file.track.artist.isEmpty() && !artists.contains(file.track.artist))
                artists << file.track.artist;
        list.albumArtist = artists.size() == 1 ? artists.first()
                           : artists.isEmpty()
                               ? QString()
                               : QCoreApplication::translate("MusicFolder", "Various Artists");
    }
    for (const FileTrack& file : files) {
        Track track = file.track;
        track.number = file.trackNumber > 0 ? QString::number(file.trackNumber) : QString();
        list.tracks << track;
    }
    // One disc named "1 of 1" is no list of discs.
    if (list.discs().size() == 1)
        for (Track& track : list.tracks)
            track.disc = 0;

    list.frontPicture = embeddedPicture(files.first().path);
    list.frontPictureFrom = QFileInfo(files.first().path).fileName();
    list.frontPictureExtension =
        list.frontPicture.startsWith("\x89PNG") ? QStringLiteral("png") : QStringLiteral("jpg");
    if (list.frontPicture.isEmpty()) {
        for (const QString& place : {folder, QFileInfo(files.first().path).path()}) {
            const QString beside = pictureBeside(place, pictures);
            QFile file(beside);
            if (!beside.isEmpty() && file.size() < 64 * 1024 * 1024 &&
                file.open(QIODevice::ReadOnly)) {
                list.frontPicture = file.readAll();
                list.frontPictureFrom = QFileInfo(beside).fileName();
                list.frontPictureExtension = QFileInfo(beside).suffix().toLower();
                break;
            }
        }
    }
    return list;
}

} // namespace MusicFolder
