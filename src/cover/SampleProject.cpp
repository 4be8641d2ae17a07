#include "cover/SampleProject.h"

#include "platform/AppError.h"
#include "platform/SystemReason.h"

#include "platform/PathDelim.h"
#include "support/BuildFacts.h"
#include "support/Support.h"

#include <QDir>
#include <QFileInfo>

QStringList sampleFolders(const QString& startFolder, const QString& programFolder) {
    QStringList folders{withTrailingDelim(startFolder), withTrailingDelim(programFolder)};
    const QString installed =
        QDir::cleanPath(programFolder + QLatin1Char('/') + BuildFacts::DataFromProgram);
    folders.append(withTrailingDelim(QDir::toNativeSeparators(installed)));
    folders.removeDuplicates();
    return folders;
}

void copySampleFiles(const QStringList& folders, const QString& projectFolder,
                     const DaylightFacts& daylight) {
    // Named, so that the user knows which folder (a data folder in the settings, say) to
    // look at.
    if (!QDir().mkpath(projectFolder))
        throw AppError(withReason(
            QStringLiteral("Unable to create directory %1")
                .arg(QDir::toNativeSeparators(QDir::cleanPath(projectFolder))),
            whyCannotWrite(projectFolder)));
    for (const QString& name : SampleFileNames)
        for (const QString& folder : folders)
            if (QFileInfo::exists(folder + name)) {
                copyFileKeepDate(folder + name, withTrailingDelim(projectFolder) + name, true,
                                 daylight);
                break;
            }
}
