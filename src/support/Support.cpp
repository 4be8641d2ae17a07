#include "support/Support.h"

#include "platform/AppError.h"
#include "platform/Drives.h"
#include "platform/PathDelim.h"
#include "platform/SaveWhole.h"
#include "platform/System.h"
#include "platform/SystemReason.h"
#include "support/StartupFacts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

StartupFacts readStartupFacts() {
    StartupFacts facts;
    const QString program = System::programFilePath();
    facts.programFolder = program.left(program.lastIndexOf(PathDelim) + 1);
    facts.languageCode = languageCodeFor(System::userDefaultLangId());
    facts.windowsVersionName = windowsVersionNameFor(System::osVersion());
    facts.isNTFamily = isNTFamilyName(facts.windowsVersionName);
    facts.downloadsFolder = System::downloadsFolder();
    facts.daylight = computeDaylightFacts(System::countryCode(), System::currentTimeZoneRecord(),
                                          QDateTime::currentDateTime());
    return facts;
}

QString getUserDataFolder(const QString& appName, bool ntFamily) {
    if (!ntFamily)
        return QDir::currentPath() + PathDelim;
    const QString remembered = QDir::currentPath();
    const QString folder = userDataFolderPath(appName, ntFamily);
    const bool entered = makeAndEnterFolder(folder);
    if (!QDir::setCurrent(remembered)) {
        const int error = ::access(QFile::encodeName(remembered).constData(), X_OK) ? errno : 0;
        throw AppError(withReason(
            QCoreApplication::translate("Support", "I/O error: cannot return to %1").arg(remembered),
            systemReason(error)));
    }
    // A folder that could not be made is not reported here: the files in it fail on their own.
    // One that is there but cannot be entered would fail every project silently.
    if (!entered && QFileInfo(folder).isDir()) {
        const int error = ::access(QFile::encodeName(folder).constData(), X_OK) ? errno : 0;
        throw AppError(withReason(
            QCoreApplication::translate("Support", "I/O error: cannot enter %1").arg(folder),
            systemReason(error)));
    }
    return folder;
}

QString userDataFolderPath(const QString& appName, bool ntFamily) {
    if (!ntFamily)
        return QDir::currentPath() + PathDelim;
    return System::userDataRoot() + appName + PathDelim;
}

namespace {

// Copies into a new file beside the destination, then puts it in the destination's place.
bool copyFileWhole(const QString& source, const QString& destination) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    return in.error() == QFileDevice::NoError && saveFileWhole(destination, bytes);
}

// A file's last-write date as the file system keeps it: local time, two-second steps.
QDateTime fileSystemDate(const QDateTime& date) {
    QDateTime local = date.toLocalTime();
    local.setTime(QTime(local.time().hour(), local.time().minute(), local.time().second() & ~1));
    return local;
}

bool isFixedDisk(const QString& path) {
#ifdef Q_OS_WIN
    const QChar drive = path.isEmpty() ? QChar() : path.at(0);
#else
    const QChar drive = Drives::letterOfPath(path);
#endif
    return !drive.isNull() && driveTypeText(drive) == QLatin1String("DRIVE_FIXED");
}

} // namespace

bool makeAndEnterFolder(const QString& path) {
    if (path.isEmpty())
        throw AppError(QStringLiteral("Unable to create directory"));
    QDir().mkpath(path); // a folder that cannot be made shows in the result
    if (QFileInfo(path).isDir())
        QDir::setCurrent(path);
    return QDir::currentPath() + PathDelim == path;
}

bool copyFileKeepDate(const QString& source, const QString& destination, bool failIfExists,
                      const DaylightFacts& daylight) {
    const qsizetype cut = destination.lastIndexOf(PathDelim);
    if (cut < 0)
        throw AppError(QStringLiteral("Unable to create directory"));
    const QString folder = cut == 0 ? QString(PathDelim) : destination.left(cut);
    if (!QDir().mkpath(folder) && !QDir().mkpath(folder)) // a busy disk may need a second try
        return false;
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists())
        return false;
    const QFileInfo destinationInfo(destination);
    if (destinationInfo.exists()) {
        // Copying a file onto itself would lose it.
        if (failIfExists || sourceInfo.canonicalFilePath() == destinationInfo.canonicalFilePath())
            return false;
    }
    const QDateTime sourceDate = fileSystemDate(sourceInfo.lastModified());
    // The copy is made beside the destination and put in its place whole: a copy that fails
    // half-way leaves the old file as it was.
    if (!copyFileWhole(source, destination))
        return false;
    QDateTime newDate = sourceDate;
    if (daylight.active) {
        const double bias = daylight.biasDays;
        const qint64 shift = qint64(bias * 86400.0 + (bias >= 0 ? 0.5 : -0.5));
        const bool fromFixed = isFixedDisk(source);
        const bool toFixed = isFixedDisk(destination);
        if (fromFixed && !toFixed)
            newDate = newDate.addSecs(-shift);
        else if (!fromFixed && toFixed)
            newDate = newDate.addSecs(shift);
    }
    if (newDate.date().year() < 1980 || newDate.date().year() > 2099)
        newDate = QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    QFile copy(destination);
    if (copy.open(QIODevice::ReadWrite))
        copy.setFileTime(newDate, QFileDevice::FileModificationTime);
    return true;
}

QString driveTypeText(QChar driveLetter) {
    switch (Drives::typeOf(driveLetter)) {
    case Drives::Removable:
        return QStringLiteral("DRIVE_REMOVABLE");
    case Drives::Fixed:
        return QStringLiteral("DRIVE_FIXED");
    case Drives::Remote:
        return QStringLiteral("DRIVE_REMOTE");
    case Drives::CdRom:
        return QStringLiteral("DRIVE_CDROM");
    case Drives::RamDisk:
        return QStringLiteral("DRIVE_RAMDISK");
    default:
        return QString();
    }
}

QString volumeLabel(QChar driveLetter) {
    QString label, errorText;
    int code = 0;
    if (Drives::label(driveLetter, &label, &code, &errorText))
        return label;
    return QStringLiteral("Error %1 %2").arg(code).arg(errorText);
}
