#include "app/SampleProject.h"

#include "platform/PathDelim.h"
#include "support/Support.h"

#include <QDir>
#include <QFileInfo>

QStringList SampleFolders(const QString& startFolder, const QString& programFolder) {
    QStringList folders{WithTrailingDelim(startFolder), WithTrailingDelim(programFolder)};
    const QString installed =
        QDir::cleanPath(programFolder + QStringLiteral("/../share/sleevix"));
    folders.append(WithTrailingDelim(QDir::toNativeSeparators(installed)));
    folders.removeDuplicates();
    return folders;
}

void CopySampleFiles(const QStringList& folders, const QString& projectFolder) {
    QDir().mkpath(projectFolder);
    for (const QString& name : SampleFileNames)
        for (const QString& folder : folders)
            if (QFileInfo::exists(folder + name)) {
                CopyFileKeepDate(folder + name, WithTrailingDelim(projectFolder) + name, true);
                break;
            }
}
