#include "platform/FolderReader.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDirIterator>
#include <QFileInfo>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

struct FolderReader::Handle {
    explicit Handle(const QString& folder)
        : it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
          open(QFileInfo(folder).isDir() && QFileInfo(folder).isReadable()) {}
    QDirIterator it;
    bool open;
};

FolderReader::FolderReader(const QString& folder, Wanted wanted)
    : handle_(std::make_unique<Handle>(folder)), wanted_(wanted) {}

FolderReader::~FolderReader() = default;

bool FolderReader::isOpen() const {
    return handle_->open;
}

bool FolderReader::read(QList<Entry>& batch, int maxCount) {
    batch.clear();
    while (handle_->open && batch.size() < maxCount && handle_->it.hasNext()) {
        handle_->it.next();
        const QFileInfo info = handle_->it.fileInfo();
        if (info.isDir() && (wanted_ & Folders))
            batch.append({info.fileName(), Kind::Folder});
        else if (info.isFile() && (wanted_ & Files))
            batch.append({info.fileName(), Kind::File});
    }
    return !batch.isEmpty();
}

#else

struct FolderReader::Handle {
    DIR* dir = nullptr;
    ~Handle() {
        if (dir)
            closedir(dir);
    }
};

FolderReader::FolderReader(const QString& folder, Wanted wanted)
    : handle_(std::make_unique<Handle>()), wanted_(wanted) {
    if (!folder.isEmpty())
        handle_->dir = opendir(QFile::encodeName(folder).constData());
}

FolderReader::~FolderReader() = default;

bool FolderReader::isOpen() const {
    return handle_->dir != nullptr;
}

namespace {

// The kind of an entry from its stat record; false for what is neither folder nor file.
bool kindFromStat(int dirFd, const char* name, FolderReader::Kind& kind) {
    struct stat st;
    // Follows links: a link to a folder is shown and opened as that folder.
    if (fstatat(dirFd, name, &st, 0) != 0)
        return false;
    if (S_ISDIR(st.st_mode))
        kind = FolderReader::Kind::Folder;
    else if (S_ISREG(st.st_mode))
        kind = FolderReader::Kind::File;
    else
        return false;
    return true;
}

} // namespace

bool FolderReader::read(QList<Entry>& batch, int maxCount) {
    batch.clear();
    DIR* dir = handle_->dir;
    if (!dir)
        return false;
    while (batch.size() < maxCount) {
        const dirent* e = readdir(dir);
        if (!e)
            break;
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        Kind kind;
        switch (e->d_type) {
        case DT_DIR:
            kind = Kind::Folder;
            break;
        case DT_REG:
            kind = Kind::File;
            break;
        case DT_LNK:
        case DT_UNKNOWN:
            if (!kindFromStat(dirfd(dir), name, kind))
                continue;
            break;
        default: // devices, pipes, sockets: nothing to browse or to open as a file
            continue;
        }
        if (!(wanted_ & (kind == Kind::Folder ? Folders : Files)))
            continue;
        batch.append({QFile::decodeName(name), kind});
    }
    return !batch.isEmpty();
}

#endif
