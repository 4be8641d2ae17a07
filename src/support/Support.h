// Facts fixed once at start (language, folders, Windows family, daylight-saving shift), the
// folder and file operations the workspace needs, and the small text helpers every window uses.
//
// Start-up runs once, before any window exists; afterwards the values are only read, except
// DataFolder, which the main window sets at its creation and the settings may replace.
#pragma once

#include "support/StringHelpers.h"

#include <QString>

// Process-wide start-up facts.
extern QString languageCode;       // "NLD" or "ENU"
extern QString programFolder;      // folder of the program file, with a trailing separator
extern QString downloadsFolder;    // the user's Downloads folder, with a trailing separator
extern QString windowsVersionName; // short system name from the version table, or empty
extern bool isNTFamily;
extern bool dstActive;     // daylight-saving time was in force at start
extern double dstBiasDays; // size of the daylight-saving shift, in days
extern QString dataFolder; // folder under which project folders live, with a trailing separator

// True when the windows show their Dutch texts.
inline bool isDutch() {
    return languageCode == QLatin1String("NLD");
}

// Fills the start-up facts from the system. Runs once, before the first window.
void startUp();

// The per-user data folder of an application, created on disk on NT-family systems.
QString getUserDataFolder(const QString& appName);

// Creates the folder with its parents and makes it the current directory. True when the current
// directory plus one separator equals path exactly. Throws AppError "Unable to create directory"
// for an empty path.
bool makeAndEnterFolder(const QString& path);

// Copies a file, giving the copy the source's last-write date (shifted by the daylight-saving
// bias between a fixed disk and another kind of drive). False when the source is missing or the
// copy fails; throws AppError "Unable to create directory" when destination has no folder part.
bool copyFileKeepDate(const QString& source, const QString& destination, bool failIfExists);

// "DRIVE_FIXED", "DRIVE_REMOVABLE", ... for a drive letter; empty for no drive.
QString driveTypeText(QChar driveLetter);

// The volume label of a drive, or "Error <code> <system text>".
QString volumeLabel(QChar driveLetter);
