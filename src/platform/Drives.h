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

// The drives a user would recognise, the root file system (C) first. Elsewhere than on
// Windows: the root file system, the home folders when they are a volume of their own, and
// volumes mounted under /media, /run/media or /mnt (removable media, other disks, network
// shares); not the system's own mounts (/proc, /sys, /dev, /boot, /run, memory file systems,
// container layers, single files bound into place).
QList<Drive> list();

// Whether a mounted volume is one of those drives, from its mount point, its file system type
// and whether it is the root file system.
bool isUserVolume(const QString& mountPoint, const QByteArray& fileSystemType, bool isRoot);

// The drive as the drive list shows it: "c:" on Windows, the mount point elsewhere ("/",
// "/home", "/media/ann/STICK").
QString shownName(const Drive& drive);

// The kind of the drive with this letter; NoRootDir when there is none.
DriveType typeOf(QChar letter);

// The letter of the drive a path lies on; a null QChar when there is none.
QChar letterOfPath(const QString& path);

// The volume label, or nothing when the drive does not exist (errorCode then says why).
bool label(QChar letter, QString* label, int* errorCode, QString* errorText);

} // namespace Drives
