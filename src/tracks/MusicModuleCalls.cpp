// The program's side of the music module (tracks/MusicModule.h): finding and loading it, and the
// readers that forward to it. Linked into the program only; the tests link the readers themselves.
#include "tracks/CueSheet.h"
#include "tracks/MusicFolder.h"
#include "tracks/MusicModule.h"

#include "platform/AppError.h"
#include "support/BuildFacts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace MusicModule {

QStringList candidates(const QString& programFolder) {
    return {QDir(programFolder).filePath(QLatin1String(FileName)),
            QDir::cleanPath(programFolder + QLatin1Char('/') + BuildFacts::ModuleFromProgram +
                            QLatin1Char('/') + QLatin1String(FileName))};
}

const MusicModuleFunctions& functions() {
    // A loaded library stays loaded: QLibrary only counts, and each load after the first finds
    // the one already in the process.
    QString reason;
    for (const QString& path : candidates(QCoreApplication::applicationDirPath())) {
        if (!QFileInfo::exists(path))
            continue;
        QLibrary module(path);
        using Entry = const MusicModuleFunctions* (*)();
        const auto entry = reinterpret_cast<Entry>(module.resolve(EntryName));
        if (!entry) {
            reason = module.errorString();
            break;
        }
        const MusicModuleFunctions* table = entry();
        if (table && table->version == MusicModuleFunctions::CurrentVersion)
            return *table;
        reason = QCoreApplication::translate("MusicModule", "it belongs to another version");
        break;
    }
    if (reason.isEmpty())
        reason = QCoreApplication::translate("MusicModule", "it is not installed");
    throw AppError(QCoreApplication::translate(
                       "MusicModule",
                       "Sleevix cannot read music files or discs: its module %1 cannot be "
                       "loaded (%2).")
                       .arg(QLatin1String(FileName), reason));
}

} // namespace MusicModule

TrackList MusicFolder::read(const QString& folder, ImportProgress* progress) {
    return MusicModule::functions().readFolder(folder, progress);
}

qint64 MusicFolder::durationOf(const QString& fileName) {
    return MusicModule::functions().durationOf(fileName);
}

TrackList CueSheet::read(const QString& fileName) {
    return MusicModule::functions().readCueSheet(fileName);
}

DiscContents DriveDiscReader::read() {
    return MusicModule::functions().readDrive(device_);
}

QString DiscToc::discId() const {
    return MusicModule::functions().discId(*this);
}

DiscToc DiscToc::fromString(const QString& text) {
    return MusicModule::functions().tocFromString(text);
}

QList<DiscRelease> releasesFromAnswer(const QByteArray& xml, const DiscToc& toc) {
    return MusicModule::functions().releasesFromAnswer(xml, toc);
}
