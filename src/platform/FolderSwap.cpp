#include "platform/FolderSwap.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace FolderSwap {

#ifndef Q_OS_WIN

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

} // namespace

Outcome exchange(const QString& a, const QString& b) {
    if (::renameat2(AT_FDCWD, native(a).constData(), AT_FDCWD, native(b).constData(),
                    RENAME_EXCHANGE) == 0)
        return Outcome::Done;
    // Older kernels and file systems such as FAT, exFAT and some network shares.
    return errno == EINVAL || errno == ENOSYS || errno == ENOTSUP ? Outcome::Unsupported
                                                                  : Outcome::Failed;
}

bool renameNoReplace(const QString& from, const QString& to) {
    const QByteArray f = native(from);
    const QByteArray t = native(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
    // Without the flag a folder would replace an empty one of that name: look first.
    if (::access(t.constData(), F_OK) == 0 || errno != ENOENT)
        return false;
    return ::rename(f.constData(), t.constData()) == 0;
}

bool hardLink(const QString& from, const QString& to) {
    return ::link(native(from).constData(), native(to).constData()) == 0;
}

bool sync(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

FolderLock::~FolderLock() {
    unlock();
}

void FolderLock::unlock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the last descriptor lets the lock go
    fd_ = -1;
}

bool FolderLock::tryLock(const QString& folder) {
    if (fd_ >= 0)
        return true;
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

#else

Outcome exchange(const QString&, const QString&) {
    return Outcome::Unsupported;
}

bool renameNoReplace(const QString& from, const QString& to) {
    return !QFileInfo::exists(to) && QDir().rename(from, to);
}

bool hardLink(const QString&, const QString&) {
    return false;
}

bool sync(const QString&) {
    return true;
}

FolderLock::~FolderLock() = default;

void FolderLock::unlock() {
    fd_ = -1;
}

bool FolderLock::tryLock(const QString& folder) {
    fd_ = QFileInfo(folder).isDir() ? 0 : -1;
    return fd_ >= 0;
}

#endif

} // namespace FolderSwap
