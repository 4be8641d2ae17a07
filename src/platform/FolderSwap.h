// The file-system steps that put a whole folder in place of another at once, and the lock that
// tells a folder still being written by a running program from one left behind by a program
// that was killed.
#pragma once

#include <QString>

namespace FolderSwap {

enum class Outcome {
    Done,
    Unsupported, // the file system cannot swap two folders in one step
    Failed,
};

// Swaps the two folders (each name then leads to the other's content) in one step.
Outcome exchange(const QString& a, const QString& b);

// Renames from to to; fails when to exists (a folder is never merged into another).
bool renameNoReplace(const QString& from, const QString& to);

// Makes a hard link at to for the file from (the same bytes, no copy).
bool hardLink(const QString& from, const QString& to);

// Flushes a file or a folder (its list of names) to the disk.
bool sync(const QString& path);

// A lock on a folder held by this process while it lives. Another process (or another lock
// in this one) cannot take it meanwhile; a killed process loses it at once.
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock without waiting; false when someone holds it (or the folder is gone).
    bool tryLock(const QString& folder);
    bool isLocked() const { return fd_ >= 0; }
    void unlock();

private:
    int fd_ = -1;
};

} // namespace FolderSwap
