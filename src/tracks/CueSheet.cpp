#include "tracks/CueSheet.h"

#include "platform/AppError.h"
#include "rtf/TextFile.h"
#include "tracks/MusicFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cstdio>

// libcue names its types Cd and Track; kept apart from the program's own Track.
namespace cue {
extern "C" {
#include <libcue.h>
}
} // namespace cue

namespace {

constexpr qint64 FramesPerSecond = 75;

QString cueText(const char* value) {
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

QString unreadable(const QString& fileName) {
    return QCoreApplication::translate("CueSheet", "%1 is not a cue sheet that can be read.")
        .arg(QDir::toNativeSeparators(fileName));
}

} // namespace

namespace CueSheet {

TrackList read(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(
            QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(fileName)));
    if (file.size() > MaxBytes)
        throw AppError(unreadable(fileName));
    QString sheet;
    try {
        sheet = decodeTextFile(file.readAll());
    } catch (const AppError&) {
        throw AppError(unreadable(fileName));
    }
    const QByteArray utf8 = sheet.toUtf8();
    std::unique_ptr<cue::Cd, void (*)(cue::Cd*)> cd(cue::cue_parse_string(utf8.constData()),
                                                    cue::cd_delete);
    if (!cd || cue::cd_get_ntrack(cd.get()) < 1)
        throw AppError(unreadable(fileName));

    TrackList list;
    const cue::Cdtext* albumText = cue::cd_get_cdtext(cd.get());
    list.album = cueText(cue::cdtext_get(cue::PTI_TITLE, albumText));
    list.albumArtist = cueText(cue::cdtext_get(cue::PTI_PERFORMER, albumText));
    list.year = cueText(cue::rem_get(cue::REM_DATE, cue::cd_get_rem(cd.get()))).left(4);

    const QDir folder = QFileInfo(fileName).absoluteDir();
    QHash<QString, qint64> fileDurations;
    const int count = cue::cd_get_ntrack(cd.get());
    for (int i = 1; i <= count; ++i) {
        cue::Track* track = cue::cd_get_track(cd.get(), i);
        cue::Track* next = i < count ? cue::cd_get_track(cd.get(), i + 1) : nullptr;
        const auto start = [](cue::Track* t) {
            const long index = cue::track_get_index(t, 1);
            return index >= 0 ? qint64(index) : qint64(cue::track_get_start(t));
        };
        const QString audio = cueText(cue::track_get_filename(track));
        Track entry;
        entry.number = QString::number(i);
        const cue::Cdtext* text = cue::track_get_cdtext(track);
        entry.title = cueText(cue::cdtext_get(cue::PTI_TITLE, text));
        entry.artist = cueText(cue::cdtext_get(cue::PTI_PERFORMER, text));
        if (entry.title.isEmpty())
            entry.title = audio.isEmpty() ? QString() : MusicFolder::trackFromFileName(audio).title;
        if (next && cueText(cue::track_get_filename(next)) == audio) {
            entry.durationMs = (start(next) - start(track)) * 1000 / FramesPerSecond;
        } else if (!audio.isEmpty()) {
            // The last track of its file lasts to the file's end.
            const QString path = folder.filePath(QString(audio).replace(u'\\', u'/'));
            if (!fileDurations.contains(path))
                fileDurations.insert(path, QFileInfo(path).isFile() ? MusicFolder::durationOf(path)
                                                                    : qint64(-1));
            const qint64 whole = fileDurations.value(path);
            if (whole >= 0)
                entry.durationMs =
                    std::max<qint64>(0, whole - start(track) * 1000 / FramesPerSecond);
        }
        if (entry.durationMs < -1)
            entry.durationMs = -1;
        list.tracks << entry;
    }
    return list;
}

} // namespace CueSheet
