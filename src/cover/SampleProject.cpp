#include "cover/SampleProject.h"

#include "platform/PathDelim.h"
#include "support/Support.h"

#include <QDir>
#include <QFileInfo>

QStringList sampleFolders(const QString& startFolder, const QString& programFolder) {
    QStringList folders{withTrailingDelim(startFolder), withTrailingDelim(programFolder)};
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/sleevix"));
    folders.append(withTrailingDelim(QDir::toNativeSeparators(installed)));
    folders.removeDuplicates();
    return folders;
}

void copySampleFiles(const QStringList& folders, const QString& projectFolder,
                     const DaylightFacts& daylight) {
    QDir().mkpath(projectFolder);
    for (const QString& name : SampleFileNames)
        for (const QString& folder : folders)
            if (QFileInfo::exists(folder + name)) {
                copyFileKeepDate(folder + name, withTrailingDelim(projectFolder) + name, true,
                                 daylight);
                break;
            }
}
