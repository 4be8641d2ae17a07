// Drives as the program knows them: a letter, a root folder, a kind and a volume label. On
// Windows these are the real drives; elsewhere each mounted volume stands for a drive, its mount
// point for the drive root, the root file system being C.
#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace Drives {

// The kinds GetDriveType reports.
enum DriveType {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6
};

struct Drive {
    QChar letter;
    QString root; // with a trailing separator
    DriveType type = Unknown;
    QString label;
};

QList<Drive> list();

// The kind of the drive with this letter; NoRootDir when there is none.
DriveType typeOf(QChar letter);

// The letter of the drive a path lies on; a null QChar when there is none.
QChar letterOfPath(const QString& path);

// The volume label, or nothing when the drive does not exist (errorCode then says why).
bool label(QChar letter, QString* label, int* errorCode, QString* errorText);

} // namespace Drives
