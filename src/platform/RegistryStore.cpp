#include "platform/RegistryStore.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <optional>
#include <utility>

#ifdef Q_OS_WIN
#include <QSettings>
#else
#include "platform/IniFile.h"
#include "platform/SystemReason.h"

#include <QMutex>
#include <QRandomGenerator>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString invalidType(const QString& name) {
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}

QString failedToSet(const QString& name, const QString& reason = QString()) {
    QString message = QStringLiteral("Failed to set data for '%1'").arg(name);
    if (!reason.isEmpty())
        message += u'\n' + reason;
    return message;
}

} // namespace

QString RegistryStore::defaultLocation() {
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Sleevix");
#else
    // The XDG rule: a relative XDG_CONFIG_HOME is ignored.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Sleevix/Sleevix.ini");
#endif
}

RegistryStore::RegistryStore() : RegistryStore(defaultLocation()) {}

QString RegistryStore::location() const {
    return location_;
}

QString RegistryStore::damagedCopy() const {
    return location_ + QStringLiteral(".damaged");
}

int RegistryStore::readInteger(const QString& section, const QString& name, int def) {
    const QString text = readString(section, name, QString());
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : def;
}

bool RegistryStore::readBool(const QString& section, const QString& name, bool def) {
    return readInteger(section, name, def ? 1 : 0) != 0;
}

void RegistryStore::writeInteger(const QString& section, const QString& name, int value) {
    writeString(section, name, QString::number(value));
}

void RegistryStore::writeBool(const QString& section, const QString& name, bool value) {
    writeString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

#ifdef Q_OS_WIN

// ---- Windows: the registry key through QSettings ------------------------------------------------

struct RegistryStore::Data {
    std::unique_ptr<QSettings> settings;
    QString firstPending;
};

RegistryStore::RegistryStore(const QString& location)
    : location_(location), d_(std::make_unique<Data>()) {
    d_->settings = std::make_unique<QSettings>(location, location.startsWith(QLatin1String("HKEY_"))
                                                             ? QSettings::NativeFormat
                                                             : QSettings::IniFormat);
}

RegistryStore::RegistryStore(const QString& location, SyncFunction) : RegistryStore(location) {}

RegistryStore::~RegistryStore() = default; // QSettings writes what is left

bool RegistryStore::damaged() const {
    return false;
}

bool RegistryStore::readable() const {
    return true;
}

QString RegistryStore::unreadableReason() const {
    return {};
}

void RegistryStore::removeLeftovers(const QString&) {}

QString RegistryStore::readString(const QString& section, const QString& name, const QString& def) {
    const QString key = section + u'/' + name;
    if (!d_->settings->contains(key))
        return def;
    const QVariant value = d_->settings->value(key);
    if (value.typeId() != QMetaType::QString) // REG_DWORD, REG_BINARY, REG_MULTI_SZ, ...
        throw AppError(invalidType(name));
    const QString text = value.toString();
    return text.isNull() ? QLatin1String("") : text;
}

void RegistryStore::writeString(const QString& section, const QString& name, const QString& value) {
    if (d_->firstPending.isEmpty()) {
        if (!d_->settings->isWritable())
            throw AppError(failedToSet(name));
        d_->firstPending = name;
    }
    d_->settings->setValue(section + u'/' + name, value);
}

void RegistryStore::flush() {
    if (d_->firstPending.isEmpty())
        return;
    const QString first = std::exchange(d_->firstPending, QString());
    d_->settings->sync();
    if (d_->settings->status() != QSettings::NoError)
        throw AppError(failedToSet(first));
}

#else

// ---- elsewhere: an INI file --------------------------------------------------------------------
//
// The file is read and written here (platform/IniFile.h), not through QSettings: QSettings keeps
// what it read of a file for the life of the process and serves a later reader from that while
// the size and time stamp look the same, takes seconds per megabyte to write, rereads the file at
// every sync, and on a full disk can put a file cut short in place and report no error.
//
// What was read of a file is kept for the run (one copy per file, not per store), so that the
// windows that each open the store read and parse it once; a store checks at every opening that
// the file is still the one that was read.

namespace {

// What a store file was when it was read.
struct FileState {
    bool exists = false;
    int readError = 0; // errno of a file that is there but cannot be read
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    timespec readAt{};
    QByteArray bytes;
    std::shared_ptr<const Ini::Document> document = std::make_shared<Ini::Document>();
};

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The file's state as last read, per file, for the whole run.
QMutex cacheMutex;
std::map<QString, FileState>& cache() {
    static std::map<QString, FileState> states;
    return states;
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

int readAll(int fd, QByteArray& bytes, off_t expected) {
    bytes.clear();
    bytes.reserve(qsizetype(expected) + 1);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        bytes.append(buffer, n);
    }
}

// The file as it is now: from what was read before when it has not changed since, else read and
// parsed afresh.
FileState currentState(const QString& file) {
    FileState now;
    struct stat info {};
    if (::stat(encoded(file).constData(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            now.readError = errno;
        return now;
    }
    now.exists = true;
    if (S_ISDIR(info.st_mode)) {
        now.readError = EISDIR;
        return now;
    }
    now.device = info.st_dev;
    now.inode = info.st_ino;
    now.size = info.st_size;
    now.modified = info.st_mtim;
    now.changed = info.st_ctim;
    QMutexLocker lock(&cacheMutex);
    const auto known = cache().find(file);
    if (known != cache().end()) {
        const FileState& was = known->second;
        // A change within the file system's time step of the reading could leave every stamp
        // as it was: only a file that had been still for a while before it was read is taken
        // as unchanged on its stamps alone.
        const bool settled = was.changed.tv_sec + 2 < was.readAt.tv_sec;
        if (settled && was.device == now.device && was.inode == now.inode &&
            was.size == now.size && sameTime(was.modified, now.modified) &&
            sameTime(was.changed, now.changed))
            return was;
    }
    ::clock_gettime(CLOCK_REALTIME, &now.readAt);
    const int fd = ::open(encoded(file).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        now.readError = errno;
        return now;
    }
    now.readError = readAll(fd, now.bytes, info.st_size);
    ::close(fd);
    if (now.readError != 0) {
        now.bytes.clear();
        return now;
    }
    if (known != cache().end() && known->second.readError == 0 && known->second.bytes == now.bytes)
        now.document = known->second.document;
    else
        now.document = std::make_shared<Ini::Document>(Ini::Document::parse(now.bytes));
    cache()[file] = now;
    return now;
}

void remember(const QString& file, const FileState& state) {
    QMutexLocker lock(&cacheMutex);
    cache()[file] = state;
}

// The file that holds the bytes: a store that is a link to a file elsewhere stays a link.
QString realFile(const QString& file) {
    const QFileInfo info(file);
    if (!info.isSymLink())
        return file;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

QString folderOf(const QString& file) {
    return QFileInfo(file).absolutePath();
}

// The names new files get while they are written, before they take their place: hidden, and
// known to removeLeftovers.
QString newFileName(const QString& file) {
    return folderOf(file) + QStringLiteral("/.") + QFileInfo(file).fileName() +
           QStringLiteral(".new-%1").arg(QRandomGenerator::global()->generate64(), 16, 16,
                                         QLatin1Char('0'));
}

// Holds the store's folder locked against other runs of the program writing the same folder;
// the system lets go when the process ends, however it ends, and leaves no file.
class FolderLock {
public:
    explicit FolderLock(const QString& folder, bool wait = true) {
        fd_ = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0)
            return;
        // Another run writes a file in well under a second; after two it counts as stuck.
        for (int i = 0; i < 200; ++i) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                locked_ = true;
                return;
            }
            if (errno != EWOULDBLOCK || !wait)
                return;
            ::usleep(10000);
        }
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool locked() const { return locked_; }
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    bool locked_ = false;
};

int writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        done += n;
    }
    return 0;
}

// Puts bytes in file's place whole: written to a file without a name in the same folder (or a
// hidden new file where the file system has no such files), synced, given mode, then renamed
// over file. Gives 0, or the errno of the step that failed, with file as it was.
int replaceWhole(const QString& file, const QByteArray& bytes, mode_t mode,
                 RegistryStore::SyncFunction syncToDisk) {
    const QString folder = folderOf(file);
    const QString next = newFileName(file);
    int fd = ::open(encoded(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return errno;
        fd = ::open(encoded(next).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0)
            return errno;
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fchmod(fd, mode) != 0)
        error = errno;
    if (error == 0 && syncToDisk(fd) != 0)
        error = errno ? errno : EIO;
    if (error == 0 && unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, encoded(next).constData(),
                     AT_SYMLINK_FOLLOW) != 0)
            error = errno;
    }
    ::close(fd);
    if (error == 0 && ::rename(encoded(next).constData(), encoded(file).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(encoded(next).constData());
        return error;
    }
    // The new name must last too. A folder that cannot be synced (some file systems refuse)
    // still holds a whole file, old or new, whatever happens next.
    const int folderFd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return 0;
}

mode_t umaskedMode() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// Whether new files can be made in the folder (made when missing): gives 0 or the errno.
int canWriteIn(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        // Tells why: the first part of the path that is not there or not a folder.
        QString part = folder;
        while (!QFileInfo::exists(part) && part.size() > 1)
            part = QFileInfo(part).absolutePath();
        return QFileInfo(part).isDir() ? EACCES : ENOTDIR;
    }
    const int fd = ::open(encoded(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return 0;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return errno;
    return ::access(encoded(folder).constData(), W_OK | X_OK) == 0 ? 0 : errno;
}

} // namespace

struct RegistryStore::Data {
    struct Pending {
        QString section;
        QString name;
        QString value;
    };
    FileState state;
    QList<Pending> pending;
    SyncFunction syncToDisk = &::fdatasync;
    int uncaught = std::uncaught_exceptions();
};

RegistryStore::RegistryStore(const QString& location) : RegistryStore(location, &::fdatasync) {}

RegistryStore::RegistryStore(const QString& location, SyncFunction syncToDisk)
    : location_(location), d_(std::make_unique<Data>()) {
    d_->syncToDisk = syncToDisk;
    // Reading makes nothing on disk (an export only reads the settings); the folder is made when
    // the store is first written.
    d_->state = currentState(realFile(location_));
}

RegistryStore::~RegistryStore() {
    if (d_->pending.isEmpty() || std::uncaught_exceptions() > d_->uncaught)
        return;
    try {
        flush();
    } catch (const AppError&) {
        // Nobody is left to tell; the store stays as it was.
    }
}

bool RegistryStore::damaged() const {
    return d_->state.document->damaged();
}

bool RegistryStore::readable() const {
    return d_->state.readError == 0;
}

QString RegistryStore::unreadableReason() const {
    return systemReason(d_->state.readError);
}

QString RegistryStore::readString(const QString& section, const QString& name, const QString& def) {
    for (qsizetype i = d_->pending.size() - 1; i >= 0; --i)
        if (d_->pending[i].section == section && d_->pending[i].name == name)
            return d_->pending[i].value;
    const std::optional<Ini::Value> value = d_->state.document->find(section + u'/' + name);
    if (!value)
        return def;
    // A list ("a, b"), "@ByteArray(...)", "@Variant(...)" and the like.
    if (!value->isText)
        throw AppError(invalidType(name));
    return value->text.isNull() ? QLatin1String("") : value->text;
}

void RegistryStore::writeString(const QString& section, const QString& name, const QString& value) {
    // Checked before anything is taken, so a refused group leaves nothing behind.
    if (d_->pending.isEmpty()) {
        const QString file = realFile(location_);
        if (QFileInfo(file).isDir())
            throw AppError(failedToSet(name, systemReason(EISDIR)));
        if (const int error = canWriteIn(folderOf(file)))
            throw AppError(failedToSet(name, systemReason(error)));
    }
    d_->pending.append({section, name, value.isNull() ? QLatin1String("") : value});
}

void RegistryStore::flush() {
    if (d_->pending.isEmpty())
        return;
    const QList<Data::Pending> pending = std::exchange(d_->pending, {});
    const QString first = pending.first().name;
    const QString file = realFile(location_);
    if (const int error = canWriteIn(folderOf(file)))
        throw AppError(failedToSet(first, systemReason(error)));
    // Another run of the program may have written since this store was opened: the lock keeps
    // two writers apart and the file is looked at again so that their values stay.
    const FolderLock lock(folderOf(file));
    FileState current = currentState(file);
    // A file that is there but cannot be read is not replaced: its values would be lost.
    if (current.readError != 0)
        throw AppError(failedToSet(first, systemReason(current.readError)));
    QList<const Data::Pending*> changes;
    for (const Data::Pending& p : pending) {
        // A text QSettings would not read back as given (a U+FEFF where a value's text
        // begins) is refused rather than stored changed.
        const Ini::Value back = Ini::decodeValue(Ini::encodeText(p.value));
        if (!back.isText || back.text != p.value)
            throw AppError(failedToSet(p.name));
        const std::optional<Ini::Value> now = current.document->find(p.section + u'/' + p.name);
        if (!now || !now->isText || now->text != p.value)
            changes.append(&p);
    }
    if (changes.isEmpty()) {
        d_->state = current;
        return;
    }
    Ini::Document document = *current.document;
    for (const Data::Pending* p : changes)
        document.setText(p->section + u'/' + p->name, p->value);
    QByteArray bytes = document.toBytes();
    // What was kept as the file had it must read back as it was (a value that ran to the end
    // of a file without its closing quote would take the next line along).
    Ini::Document back = Ini::Document::parse(bytes);
    if (!back.sameEntries(document)) {
        if (!document.rewriteTextsDifferentFrom(back))
            throw AppError(failedToSet(first));
        bytes = document.toBytes();
        back = Ini::Document::parse(bytes);
        if (!back.sameEntries(document))
            throw AppError(failedToSet(first));
    }
    if (current.document->damaged()) {
        // What could not be read is dropped from the new file; the user's file is kept aside.
        if (const int error = replaceWhole(damagedCopy(), current.bytes, umaskedMode(),
                                           d_->syncToDisk))
            throw AppError(failedToSet(first, systemReason(error)));
    }
    struct stat info {};
    const mode_t mode = current.exists && ::stat(encoded(file).constData(), &info) == 0
                            ? mode_t(info.st_mode & 07777)
                            : umaskedMode();
    if (const int error = replaceWhole(file, bytes, mode, d_->syncToDisk))
        throw AppError(failedToSet(first, systemReason(error)));
    FileState written;
    written.exists = true;
    written.bytes = bytes;
    written.document = std::make_shared<Ini::Document>(std::move(back));
    if (::stat(encoded(file).constData(), &info) == 0) {
        written.device = info.st_dev;
        written.inode = info.st_ino;
        written.size = info.st_size;
        written.modified = info.st_mtim;
        written.changed = info.st_ctim;
    }
    ::clock_gettime(CLOCK_REALTIME, &written.readAt);
    remember(file, written);
    d_->state = written;
}

void RegistryStore::removeLeftovers(const QString& location) {
    const QString file = realFile(location);
    const QString folder = folderOf(file);
    if (!QFileInfo(folder).isDir())
        return;
    // Only while no other run writes here: its new file may be on its way.
    const FolderLock lock(folder, false);
    if (!lock.locked())
        return;
    const QString name = QFileInfo(file).fileName();
    const QStringList leftovers =
        QDir(folder).entryList({QLatin1Char('.') + name + QStringLiteral(".*"),
                                name + QStringLiteral(".lock"), QStringLiteral(".sleevix-read-*"),
                                QStringLiteral(".probe-*"), name + QStringLiteral(".??????")},
                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& leftover : leftovers)
        QFile::remove(folder + u'/' + leftover);
}

#endif
