#include "platform/FileBytes.h"

#include "platform/AppError.h"
#include "platform/SystemReason.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The message of a missing file, also for a pipe or a device named like a project file (not a
// file the program reads); the system's reason after it when there is one worth telling (no
// permission, a read error).
[[noreturn]] void cannotOpen(const QString& path, int error = 0) {
    throw AppError(
        withReason(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)),
                   error == ENOENT ? QString() : systemReason(error)));
}

qint64 readAt(int fd, qint64 offset, char* into, qint64 length) {
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, into + done, size_t(length - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool writeAll(int fd, const char* bytes, qint64 length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, bytes, size_t(length));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        length -= n;
    }
    return true;
}

// Copies the whole of `from` into `to`: inside the kernel where the file systems allow it, else
// through a small buffer. False when it could not.
bool copyWithin(int from, int to, qint64 size) {
    loff_t in = 0, out = 0;
    while (in < size) {
        const ssize_t n = ::copy_file_range(from, &in, to, &out, size_t(size - in), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
    }
    if (in >= size)
        return true;
    if (::lseek(to, out, SEEK_SET) != out)
        return false;
    std::vector<char> buffer(256 * 1024);
    while (in < size) {
        const qint64 n = readAt(from, in, buffer.data(), std::min<qint64>(qint64(buffer.size()), size - in));
        if (n <= 0 || !writeAll(to, buffer.data(), n))
            return false;
        in += n;
    }
    return true;
}

} // namespace

RegularFile::RegularFile(const QString& path) : path_(path) {
    // Without O_NONBLOCK opening a FIFO waits for a writer that may never come.
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        cannotOpen(path, errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        cannotOpen(path);
    }
    size_ = qint64(info.st_size);
}

RegularFile::~RegularFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

void RegularFile::failRead() const {
    cannotOpen(path_, errno);
}

QByteArray RegularFile::read(qint64 offset, qint64 length) const {
    length = std::max<qint64>(0, std::min(length, size_ - offset));
    QByteArray bytes(length, Qt::Uninitialized);
    const qint64 n = readAt(fd_, offset, bytes.data(), length);
    if (n < 0)
        failRead();
    bytes.truncate(n);
    return bytes;
}

QByteArray RegularFile::readAll(qint64 maxBytes, const QString& tooLarge) const {
    if (size_ > maxBytes)
        throw AppError(tooLarge);
    return read(0, size_);
}

std::shared_ptr<const FileBytes> FileBytes::inMemory(const QByteArray& bytes) {
    std::shared_ptr<FileBytes> kept(new FileBytes);
    kept->memory_ = bytes;
    kept->size_ = bytes.size();
    return kept;
}

std::shared_ptr<const FileBytes> FileBytes::copyOf(const RegularFile& file) {
    std::shared_ptr<FileBytes> kept(new FileBytes);
    const int copy = ::open(QFile::encodeName(QDir::tempPath()).constData(),
                            O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (copy >= 0 && copyWithin(file.handle(), copy, file.size())) {
        struct stat info {};
        if (::fstat(copy, &info) == 0 && qint64(info.st_size) == file.size()) {
            kept->fd_ = copy;
            kept->size_ = file.size();
            return kept;
        }
    }
    if (copy >= 0)
        ::close(copy);
    // No unnamed temporary file to be had here: the bytes stay in memory.
    kept->memory_ = file.read(0, file.size());
    kept->size_ = kept->memory_.size();
    return kept;
}

std::shared_ptr<const FileBytes> FileBytes::sharing(const RegularFile& file) {
    std::shared_ptr<FileBytes> kept(new FileBytes);
    kept->fd_ = ::fcntl(file.handle(), F_DUPFD_CLOEXEC, 0);
    if (kept->fd_ < 0)
        file.failRead();
    kept->size_ = file.size();
    return kept;
}

FileBytes::~FileBytes() {
    if (fd_ >= 0)
        ::close(fd_);
}

qint64 FileBytes::read(qint64 offset, char* into, qint64 length) const {
    length = std::max<qint64>(0, std::min(length, size_ - offset));
    if (fd_ < 0) {
        std::memcpy(into, memory_.constData() + offset, size_t(length));
        return length;
    }
    return std::max<qint64>(0, readAt(fd_, offset, into, length));
}

QByteArray FileBytes::toByteArray() const {
    if (fd_ < 0)
        return memory_;
    QByteArray bytes(size_, Qt::Uninitialized);
    if (readAt(fd_, 0, bytes.data(), size_) != size_)
        throw AppError(QCoreApplication::translate(
            "FileBytes", "The copy of the file that was read could not be read back."));
    return bytes;
}
