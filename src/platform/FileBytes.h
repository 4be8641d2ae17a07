// Reading files without surprises: only regular files are opened (a FIFO or a device named like a
// project file would block the program for good, or never end), a file is looked at before it
// is read, and what is kept of it need not sit in the program's memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

// A regular file open for reading. Opening never blocks, whatever the path names.
class RegularFile {
public:
    // Throws AppError "Cannot open file <path>" when the path names no regular file that can be
    // read (missing, a folder, a FIFO, a device, no permission).
    explicit RegularFile(const QString& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    const QString& path() const { return path_; }
    int handle() const { return fd_; }
    qint64 size() const { return size_; }
    // Up to `length` bytes from `offset`, fewer at the end of the file. Throws AppError
    // "Cannot open file <path>" when the file cannot be read.
    QByteArray read(qint64 offset, qint64 length) const;
    // The whole file; files over maxBytes are refused with tooLarge.
    QByteArray readAll(qint64 maxBytes, const QString& tooLarge) const;
    // The error for a read that failed.
    [[noreturn]] void failRead() const;

private:
    QString path_;
    int fd_ = -1;
    qint64 size_ = 0;
};

// The bytes of a file as they were when it was read: in memory, or in an unnamed temporary file
// (a kernel copy, so that a camera photo kept for saving costs the program no memory and a file
// changed on disk afterwards cannot change what was read). Immutable and shared.
class FileBytes {
public:
    static std::shared_ptr<const FileBytes> inMemory(const QByteArray& bytes);
    // A copy of the whole file. Throws AppError "Cannot open file <path>" when it cannot be read.
    static std::shared_ptr<const FileBytes> copyOf(const RegularFile& file);
    // The file itself, read where it lies (no copy): for looking at its header.
    static std::shared_ptr<const FileBytes> sharing(const RegularFile& file);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    qint64 size() const { return size_; }
    // The bytes when they are in memory, else nullptr.
    const char* memory() const { return fd_ < 0 ? memory_.constData() : nullptr; }
    // The file handle when the bytes are in a file, else -1; read it with pread only.
    int handle() const { return fd_; }
    // Copies up to `length` bytes from `offset` into `into`; gives how many (0 at the end or on
    // a failure).
    qint64 read(qint64 offset, char* into, qint64 length) const;
    // All the bytes. Throws AppError when the temporary copy cannot be read back (and
    // std::bad_alloc for a file larger than memory).
    QByteArray toByteArray() const;

private:
    FileBytes() = default;
    QByteArray memory_;
    int fd_ = -1;
    qint64 size_ = 0;
};
