// Facts fixed once at start (language, folders, Windows family, daylight-saving shift), the
// folder and file operations the workspace needs, and the small text helpers every window uses.
//
// The facts are read once, before any window exists, into a value the start-up hands to the
// objects that need it.
#pragma once

#include "support/StartupFacts.h"
#include "support/StringHelpers.h"

#include <QString>

// The facts fixed once at start, before any window exists, and only read afterwards.
struct StartupFacts {
    QString languageCode;       // "NLD" or "ENU"
    QString programFolder;      // folder of the program file, with a trailing separator
    QString downloadsFolder;    // the user's Downloads folder, with a trailing separator
    QString windowsVersionName; // short system name from the version table, or empty
    bool isNTFamily = false;
    DaylightFacts daylight; // whether daylight-saving time was in force at start, and its shift

    // True when the windows show their Dutch texts.
    bool isDutch() const { return languageCode == QLatin1String("NLD"); }
};

// Gathers the start-up facts from the system.
StartupFacts readStartupFacts();

// The per-user data folder of an application, created on disk on NT-family systems; the current
// folder elsewhere.
QString getUserDataFolder(const QString& appName, bool ntFamily);
// The folder getUserDataFolder gives, without making it or entering it.
QString userDataFolderPath(const QString& appName, bool ntFamily);

// Creates the folder with its parents and makes it the current directory. True when the current
// directory plus one separator equals path exactly. Throws AppError "Unable to create directory"
// for an empty path.
bool makeAndEnterFolder(const QString& path);

// Copies a file, giving the copy the source's last-write date (shifted by the daylight-saving
// bias between a fixed disk and another kind of drive). The copy is put in place whole: a failed
// copy leaves an existing destination as it was. False when the source is missing, the
// destination's folder cannot be made, the destination exists and failIfExists is set, source and
// destination are the same file, or the copy fails; throws AppError "Unable to create directory"
// when the destination has no folder part.
bool copyFileKeepDate(const QString& source, const QString& destination, bool failIfExists,
                      const DaylightFacts& daylight);

// "DRIVE_FIXED", "DRIVE_REMOVABLE", ... for a drive letter; empty for no drive.
QString driveTypeText(QChar driveLetter);

// The volume label of a drive, or "Error <code> <system text>".
QString volumeLabel(QChar driveLetter);
