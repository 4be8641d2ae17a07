// Reads the entries of one folder a batch at a time, telling folders from files. On Linux the
// kind of most entries comes with the listing itself, so a folder of tens of thousands of
// entries is read without asking the file system about each one; only symbolic links (and
// file systems that do not say) cost a look at the entry.
//
//   FolderReader reader(path);
//   QList<FolderReader::Entry> batch;
//   while (reader.read(batch, 1000)) ... use batch ...
#pragma once

#include <QList>
#include <QString>
#include <memory>

class FolderReader {
public:
    enum class Kind {
        Folder, // a folder, or a link to one
        File,   // a regular file, or a link to one
    };
    struct Entry {
        QString name;
        Kind kind;
    };

    // Which entries read() gives.
    enum Wanted { Folders = 1, Files = 2, Everything = Folders | Files };

    // Opens the folder; a folder that is missing, unreadable or no folder at all opens empty.
    explicit FolderReader(const QString& folder, Wanted wanted = Everything);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Whether the folder could be opened for reading.
    bool isOpen() const;

    // Replaces batch with up to maxCount further entries of the kinds wanted, in the order the
    // file system gives them; "." and "..", links that lead nowhere, devices, pipes and sockets
    // are left out.
    // False (with an empty batch) once every entry has been read.
    bool read(QList<Entry>& batch, int maxCount);

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    Wanted wanted_;
};
