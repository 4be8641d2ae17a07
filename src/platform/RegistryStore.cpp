#include "platform/RegistryStore.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

QString invalidType(const QString& name) {
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}

QString failedToSet(const QString& name) {
    return QStringLiteral("Failed to set data for '%1'").arg(name);
}

QString& locationOverride() {
    static QString file;
    return file;
}

// Reads a value that must be text; a missing value gives a null QString, an empty one an empty
// (not null) QString. QSettings gives an INI entry it cannot take as text (an unquoted list
// "a, b", "@ByteArray(...)", "@Variant(...)", "@Invalid()") as another type, and a registry
// value of another type than a string likewise.
QString readText(QSettings& settings, const QString& key, const QString& name) {
    if (!settings.contains(key))
        return QString();
    const QVariant value = settings.value(key);
    if (value.typeId() != QMetaType::QString)
        throw AppError(invalidType(name));
    QString text = value.toString();
    if (text.isNull())
        text = QLatin1String("");
    return text;
}

#ifndef Q_OS_WIN
// Enough of a file's identity to see that it was replaced: QSaveFile renames a new file over the
// old one, which gives it a new inode.
struct FileStamp {
    bool exists = false;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, st.st_ino, static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}
#endif

} // namespace

QString RegistryStore::Location(const QString& appName) {
    if (!locationOverride().isEmpty())
        return locationOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           appName + u'/' + appName + QStringLiteral(".ini");
}

QString RegistryStore::DamagedCopy(const QString& appName) {
    return Location(appName) + QStringLiteral(".damaged");
}

void RegistryStore::SetLocation(const QString& file) { locationOverride() = file; }

RegistryStore::RegistryStore(const QString& appName) {
#ifdef Q_OS_WIN
    settings_ = std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\") + appName, QSettings::NativeFormat);
#else
    file_ = Location(appName);
    damagedCopy_ = DamagedCopy(appName);
    // A folder that cannot be made is no reason to fail here: the reads then give their
    // defaults and the first write reports it.
    QDir().mkpath(QFileInfo(file_).absolutePath());
    settings_ = std::make_unique<QSettings>(file_, QSettings::IniFormat);
    settings_->setAtomicSyncRequired(true);
    settings_->allKeys(); // parses every section now, so that damage shows in the status
    damaged_ = settings_->status() == QSettings::FormatError;
#endif
}

RegistryStore::~RegistryStore() = default;

QString RegistryStore::ReadString(const QString& section, const QString& name,
                                  const QString& def) {
    const QString text = readText(*settings_, section + u'/' + name, name);
    return text.isNull() ? def : text;
}

int RegistryStore::ReadInteger(const QString& section, const QString& name, int def) {
    const QString text = readText(*settings_, section + u'/' + name, name);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : def;
}

bool RegistryStore::ReadBool(const QString& section, const QString& name, bool def) {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

bool RegistryStore::canWrite() const {
#ifdef Q_OS_WIN
    return settings_->isWritable();
#else
    // The file is replaced by a new one written beside it (and QSettings keeps a lock file
    // there), so it is the folder that must take new files.
    const QFileInfo info(file_);
    if (info.isDir() || !QDir().mkpath(info.absolutePath()))
        return false;
    QTemporaryFile probe(info.absolutePath() + QStringLiteral("/.probe-XXXXXX"));
    return probe.open();
#endif
}

void RegistryStore::WriteString(const QString& section, const QString& name,
                                const QString& value) {
    if (firstPending_.isEmpty()) {
        // Checked before anything is set, so a failed group leaves nothing waiting in QSettings'
        // memory that later reads would see as stored.
        if (!canWrite())
            throw AppError(failedToSet(name));
        // A damaged file keeps only what QSettings could make of it; what the user had there is
        // kept beside it before it is rewritten.
        if (damaged_) {
            QFile::remove(damagedCopy_);
            QFile::copy(file_, damagedCopy_);
        }
        firstPending_ = name;
    }
    settings_->setValue(section + u'/' + name, value);
}

void RegistryStore::WriteInteger(const QString& section, const QString& name, int value) {
    WriteString(section, name, QString::number(value));
}

void RegistryStore::WriteBool(const QString& section, const QString& name, bool value) {
    WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void RegistryStore::Flush() {
    if (firstPending_.isEmpty())
        return;
#ifdef Q_OS_WIN
    settings_->sync();
    const bool written = settings_->status() == QSettings::NoError;
#else
    const FileStamp before = stampOf(file_);
    settings_->sync();
    // The status stays at FormatError once a damaged file has been read, written or not; a
    // replaced file tells that it was.
    const bool written =
        settings_->status() == QSettings::NoError || !(stampOf(file_) == before);
#endif
    if (!written)
        throw AppError(failedToSet(firstPending_));
    firstPending_.clear();
    damaged_ = false;
}
