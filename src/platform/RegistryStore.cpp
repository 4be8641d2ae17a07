#include "platform/RegistryStore.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <optional>
#include <utility>

#include <QSettings>

#ifndef Q_OS_WIN
#include <QDataStream>
#include <QLockFile>
#include <QMap>
#include <QTemporaryFile>
#include <QUuid>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

QString invalidType(const QString& name) {
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}

QString failedToSet(const QString& name) {
    return QStringLiteral("Failed to set data for '%1'").arg(name);
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

RegistryStore::~RegistryStore() = default; // QSettings writes what is left

bool RegistryStore::damaged() const {
    return false;
}

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

// ---- elsewhere: an INI file through QSettings ------------------------------------------------
//
// QSettings reads and writes the file, but two of its habits are worked around here:
// - it keeps what it has read of a file for the life of the process and serves a later QSettings
//   on the same name from that, without reading, as long as the file's size and time stamp (to
//   the millisecond) look the same; only the first one to read a damaged file hears of the
//   damage. So a file is read through a copy under a name QSettings has never seen.
// - on a full disk its sync() can put a file cut short in place and report no error. So the
//   group is written to a new file beside the store, that file is read back through a copy and
//   must hold every value, and only then is it renamed over the store.

namespace {

using Values = QMap<QString, QVariant>;

// What an INI file holds, as QSettings reads it.
struct Snapshot {
    Values values;
    bool readable = true; // false: there, but it could not be read
    bool damaged = false; // not all of it could be read

    static Snapshot unreadable() { return Snapshot{{}, false, false}; }
};

Values valuesOf(const QSettings& ini) {
    Values values;
    const QStringList keys = ini.allKeys();
    for (const QString& key : keys)
        values.insert(key, ini.value(key));
    return values;
}

Snapshot parse(const QString& file) {
    Snapshot shot;
    const QSettings ini(file, QSettings::IniFormat);
    shot.values = valuesOf(ini);
    shot.readable = ini.status() != QSettings::AccessError;
    shot.damaged = ini.status() == QSettings::FormatError;
    return shot;
}

// Reads the file through a copy made in copyFolder. When no copy can be made there it is read in
// place if inPlaceIfNeeded, else it counts as unreadable.
Snapshot readFresh(const QString& file, const QString& copyFolder, bool inPlaceIfNeeded) {
    QFile in(file);
    if (!in.exists())
        return Snapshot{};
    if (!in.open(QIODevice::ReadOnly))
        return Snapshot::unreadable();
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return Snapshot::unreadable();
    QTemporaryFile copy(copyFolder + QStringLiteral("/.sleevix-read-") +
                        QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (copy.open() && copy.write(bytes) == bytes.size() && copy.flush())
        return parse(copy.fileName());
    return inPlaceIfNeeded ? parse(file) : Snapshot::unreadable();
}

// Values compare by kind and content; what QVariant cannot compare (a NaN, a type without ==)
// compares by its stored form.
bool sameValues(const Values& a, const Values& b) {
    if (a.keys() != b.keys())
        return false;
    const auto stored = [](const QVariant& v) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << v;
        return bytes;
    };
    for (auto i = a.cbegin(), j = b.cbegin(); i != a.cend(); ++i, ++j)
        if (i->typeId() != j->typeId() || (*i != *j && stored(*i) != stored(*j)))
            return false;
    return true;
}

// The file that holds the bytes: a store that is a link to a file elsewhere stays a link.
QString realFile(const QString& file) {
    const QFileInfo info(file);
    if (!info.isSymLink())
        return file;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

bool syncFile(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Puts values in file's place as its whole content and gives them as read back from the disk, or
// leaves file as it was and gives nothing.
std::optional<Values> replaceWhole(const QString& file, const Values& values) {
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    const QString next = folder + QStringLiteral("/.") + info.fileName() + u'.' +
                         QUuid::createUuid().toString(QUuid::WithoutBraces);
    // The old file's permissions go to the new one; the "user" ones only say what this process
    // may do with it.
    const QFileDevice::Permissions userPermissions =
        QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    Values written;
    {
        QSettings out(next, QSettings::IniFormat);
        for (auto i = values.cbegin(); i != values.cend(); ++i)
            out.setValue(i.key(), *i);
        out.sync();
        if (out.status() != QSettings::NoError) {
            QFile::remove(next);
            return std::nullopt;
        }
        written = valuesOf(out); // what QSettings meant to write
    }
    Snapshot back;
    if (syncFile(next, O_RDONLY))
        back = readFresh(next, folder, false);
    if (!back.readable || back.damaged || !sameValues(back.values, written) ||
        (info.exists() && !QFile::setPermissions(next, info.permissions() & ~userPermissions)) ||
        ::rename(QFile::encodeName(next).constData(), QFile::encodeName(file).constData()) != 0) {
        QFile::remove(next);
        return std::nullopt;
    }
    // The new name must last too. A folder that cannot be synced (some file systems refuse)
    // still holds a whole file, old or new, whatever happens next.
    syncFile(folder, O_RDONLY | O_DIRECTORY);
    return back.values;
}

// The file is replaced by a new one written beside it, so it is the folder that must take new
// files.
bool canWrite(const QString& file) {
    const QFileInfo info(file);
    if (info.isDir() || !QDir().mkpath(info.absolutePath()))
        return false;
    QTemporaryFile probe(info.absolutePath() + QStringLiteral("/.probe-XXXXXX"));
    return probe.open();
}

} // namespace

struct RegistryStore::Data {
    struct Pending {
        QString section;
        QString name;
        QString value;
    };
    Values values;
    bool damaged = false;
    QList<Pending> pending;
    int uncaught = std::uncaught_exceptions();
};

RegistryStore::RegistryStore(const QString& location)
    : location_(location), d_(std::make_unique<Data>()) {
    // Reading makes nothing on disk (an export only reads the settings); the folder is made when
    // the store is first written.
    const Snapshot shot = readFresh(location_, QDir::tempPath(), true);
    d_->values = shot.values;
    d_->damaged = shot.damaged;
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
    return d_->damaged;
}

QString RegistryStore::readString(const QString& section, const QString& name, const QString& def) {
    for (qsizetype i = d_->pending.size() - 1; i >= 0; --i)
        if (d_->pending[i].section == section && d_->pending[i].name == name)
            return d_->pending[i].value;
    const auto value = d_->values.constFind(section + u'/' + name);
    if (value == d_->values.cend())
        return def;
    // A list ("a, b"), "@ByteArray(...)", "@Variant(...)" and the like.
    if (value->typeId() != QMetaType::QString)
        throw AppError(invalidType(name));
    const QString text = value->toString();
    return text.isNull() ? QLatin1String("") : text;
}

void RegistryStore::writeString(const QString& section, const QString& name, const QString& value) {
    // Checked before anything is taken, so a refused group leaves nothing behind.
    if (d_->pending.isEmpty() && !canWrite(realFile(location_)))
        throw AppError(failedToSet(name));
    d_->pending.append({section, name, value.isNull() ? QLatin1String("") : value});
}

void RegistryStore::flush() {
    if (d_->pending.isEmpty())
        return;
    const QList<Data::Pending> pending = std::exchange(d_->pending, {});
    const QString file = realFile(location_);
    // Another run of the program may have written since this store was opened: the lock keeps
    // two writers apart and the file is read again so that their values stay.
    QLockFile lock(file + QStringLiteral(".lock"));
    lock.tryLock(2000);
    // A file that is there but cannot be read is not replaced: its values would be lost.
    const Snapshot current = readFresh(file, QFileInfo(file).absolutePath(), false);
    if (!current.readable)
        throw AppError(failedToSet(pending.first().name));
    if (current.damaged) {
        // What could not be read is dropped from the new file; the user's file is kept aside.
        QFile::remove(damagedCopy());
        QFile::copy(file, damagedCopy());
    }
    Values values = current.values;
    for (const Data::Pending& p : pending)
        values.insert(p.section + u'/' + p.name, p.value);
    const std::optional<Values> written = replaceWhole(file, values);
    if (!written)
        throw AppError(failedToSet(pending.first().name));
    d_->values = *written;
    d_->damaged = false;
}

#endif
