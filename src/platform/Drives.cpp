#include "platform/Drives.h"

#include "platform/PathDelim.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <algorithm>
#include <cstring>

namespace Drives {
namespace {

bool isSystemFileSystem(const QByteArray& type) {
    static const char* skipped[] = {"proc",    "sysfs",       "devtmpfs",  "devpts",   "cgroup",
                                    "cgroup2", "securityfs",  "pstore",    "bpf",      "tracefs",
                                    "debugfs", "mqueue",      "hugetlbfs", "fusectl",  "configfs",
                                    "autofs",  "binfmt_misc", "nsfs",      "efivarfs", "rpc_pipefs",
                                    "tmpfs",   "ramfs",       "squashfs",  "overlay"};
    return std::any_of(std::begin(skipped), std::end(skipped),
                       [&](const char* s) { return type == s; });
}

bool isRemovableDevice(const QByteArray& device) {
    if (!device.startsWith("/dev/"))
        return false;
    // sdb1 -> sdb, mmcblk0p1 -> mmcblk0, nvme0n1p2 -> nvme0n1
    static const QRegularExpression partition(
        QStringLiteral("^((?:mmcblk|nvme)\\w*?)p\\d+$|^([a-z]+)\\d+$"));
    const QString name = QString::fromLocal8Bit(device.mid(5));
    const QRegularExpressionMatch m = partition.match(name);
    const QString base =
        !m.hasMatch() ? name : (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
    QFile flag(QStringLiteral("/sys/block/%1/removable").arg(base));
    return flag.open(QIODevice::ReadOnly) && flag.readAll().trimmed() == "1";
}

DriveType typeOfVolume(const QStorageInfo& volume) {
    const QByteArray fs = volume.fileSystemType();
    const QByteArray device = volume.device();
    if (volume.isRoot())
        return Fixed;
    if (fs == "iso9660" || fs == "udf" || device.startsWith("/dev/sr"))
        return CdRom;
    if (fs.startsWith("nfs") || fs == "cifs" || fs == "smb3" || fs == "smbfs" ||
        fs.startsWith("fuse.sshfs"))
        return Remote;
    if (fs == "tmpfs" || fs == "ramfs")
        return RamDisk;
    if (isRemovableDevice(device) || volume.rootPath().startsWith(QLatin1String("/media/")) ||
        volume.rootPath().startsWith(QLatin1String("/run/media/")))
        return Removable;
    return Fixed;
}

} // namespace

bool isUserVolume(const QString& mountPoint, const QByteArray& fileSystemType, bool isRoot) {
    if (isRoot)
        return true;
    if (isSystemFileSystem(fileSystemType))
        return false;
#ifdef Q_OS_WIN
    Q_UNUSED(mountPoint);
    return true;
#else
    const QString folder = withTrailingDelim(mountPoint);
    for (const char* place : {"/home/", "/media/", "/run/media/", "/mnt/"})
        if (folder.startsWith(QLatin1String(place)) && folder.size() > qsizetype(strlen(place)))
            return true;
    return folder == QLatin1String("/home/");
#endif
}

QString shownName(const Drive& drive) {
#ifdef Q_OS_WIN
    return QString(drive.letter.toLower()) + u':';
#else
    return drive.root.size() > 1 && drive.root.endsWith(PathDelim) ? drive.root.chopped(1)
                                                                   : drive.root;
#endif
}

QList<Drive> list() {
    QList<QStorageInfo> volumes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        // A file bound over another (a container's /etc/hosts) is a mount but no drive.
        if (v.isValid() && isUserVolume(v.rootPath(), v.fileSystemType(), v.isRoot()) &&
            QFileInfo(v.rootPath()).isDir())
            volumes.append(v);
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) {
        if (a.isRoot() != b.isRoot())
            return a.isRoot();
        return a.rootPath() < b.rootPath();
    });
    QList<Drive> drives;
    char letter = 'C';
    for (const QStorageInfo& v : volumes) {
        if (letter > 'Z')
            break;
        drives.append(Drive{QChar::fromLatin1(letter++), withTrailingDelim(v.rootPath()),
                            typeOfVolume(v), v.name()});
    }
    return drives;
}

DriveType typeOf(QChar letter) {
    for (const Drive& d : list())
        if (d.letter == letter.toUpper())
            return d.type;
    return NoRootDir;
}

QChar letterOfPath(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath() + PathDelim;
    QChar best;
    qsizetype bestLength = -1;
    for (const Drive& d : list())
        if (absolute.startsWith(d.root) && d.root.size() > bestLength) {
            best = d.letter;
            bestLength = d.root.size();
        }
    return best;
}

bool label(QChar letter, QString* label, int* errorCode, QString* errorText) {
    for (const Drive& d : list())
        if (d.letter == letter.toUpper()) {
            *label = d.label;
            return true;
        }
    *errorCode = 15;
    *errorText = QStringLiteral("The system cannot find the drive specified.");
    return false;
}

} // namespace Drives
