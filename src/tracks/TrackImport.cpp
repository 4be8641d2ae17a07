#include "tracks/TrackImport.h"

#include "platform/AppError.h"
#include "rtf/TextFile.h"
#include "tracks/CueSheet.h"
#include "tracks/MusicFolder.h"
#include "tracks/PastedTracks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QStringList& textExtensions() {
    static const QStringList extensions{QStringLiteral("txt"), QStringLiteral("csv"),
                                        QStringLiteral("tsv")};
    return extensions;
}

QString noList(const QString& path) {
    return QCoreApplication::translate("TrackImport", "%1 holds no track list.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

namespace TrackImport {

QStringList extensions() {
    return QStringList{QStringLiteral("cue")} + textExtensions() + MusicFolder::audioExtensions();
}

bool canRead(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() || extensions().contains(info.suffix().toLower());
}

TrackList read(const QString& path, ImportProgress* progress) {
    const QFileInfo info(path);
    if (info.isDir())
        return MusicFolder::read(path, progress);
    if (!info.exists())
        throw AppError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
    const QString extension = info.suffix().toLower();
    if (extension == QLatin1String("cue"))
        return CueSheet::read(path);
    if (MusicFolder::isAudioFile(path))
        return MusicFolder::read(info.absolutePath(), progress);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
    if (file.size() > MaxTextBytes)
        throw AppError(noList(path));
    QString text;
    try {
        text = decodeTextFile(file.readAll());
    } catch (const AppError&) {
        throw AppError(noList(path));
    }
    TrackList list = PastedTracks::read(text);
    if (list.trackCount() == 0)
        throw AppError(noList(path));
    return list;
}

} // namespace TrackImport
