#include "update/InstallerFiles.h"

#include "support/StringHelpers.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// Upper case for the letters a to z only.
QChar raised(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 'a' + 'A') : c;
}

} // namespace

bool isPlainFileName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QStringLiteral("..")))
        return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 ||
            c.unicode() == 0x7f)
            return false;
    return QFile::encodeName(name).size() <= 255;
}

QString notAPlainFileNameText() {
    return QCoreApplication::translate(
        "VersionList", "The version list on the update server is not valid: the name of its "
                       "download is not a plain file name. Nothing has been downloaded or changed.");
}

QString runningInstallerName(const QString& productName, const QString& versionText) {
    return productName + keepNumberChars(versionText) + QStringLiteral(".exe");
}

QStringList installersToRemove(const QString& programFolder, const QString& downloadsFolder,
                               const QString& runningName, const QString& downloadName) {
    return {programFolder + runningName, programFolder + downloadName,
            downloadsFolder + runningName, downloadsFolder + downloadName};
}

QString installerDisplayName(const QString& downloadName) {
    QString name = stripDigits(copyBeforeChar(QLatin1Char('.'), downloadName));
    if (name.startsWith(MakerPrefix)) {
        if (name.size() > 2)
            name[2] = raised(name[2]);
    } else if (!name.isEmpty()) {
        name[0] = raised(name[0]);
    }
    return name;
}

QString companionProgramPath(const QString& programFolder, const QString& productName) {
#ifdef Q_OS_WIN
    return programFolder + productName + QStringLiteral("_Sched.exe");
#else
    return programFolder + productName + QStringLiteral("_Sched");
#endif
}
