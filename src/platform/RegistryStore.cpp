#include "platform/RegistryStore.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString invalidType(const QString& name) {
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}

QString failedToSet(const QString& name) {
    return QStringLiteral("Failed to set data for '%1'").arg(name);
}

// Reads a value that must be text; a missing value gives a null QString.
QString readText(QSettings& settings, const QString& key, const QString& name) {
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return QString();
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray)
        throw AppError(invalidType(name));
    QString text = value.toString();
    if (text.isNull())
        text = QLatin1String(""); // present but empty
    return text;
}

} // namespace

QString RegistryStore::Location(const QString& appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           appName + u'/' + appName + QStringLiteral(".ini");
}

RegistryStore::RegistryStore(const QString& appName) {
    const QString file = Location(appName);
    QDir().mkpath(QFileInfo(file).absolutePath());
    settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
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
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : def;
}

bool RegistryStore::ReadBool(const QString& section, const QString& name, bool def) {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void RegistryStore::WriteString(const QString& section, const QString& name,
                                const QString& value) {
    settings_->setValue(section + u'/' + name, value);
    lastWritten_ = name;
    if (settings_->status() != QSettings::NoError)
        throw AppError(failedToSet(name));
}

void RegistryStore::WriteInteger(const QString& section, const QString& name, int value) {
    WriteString(section, name, QString::number(value));
}

void RegistryStore::WriteBool(const QString& section, const QString& name, bool value) {
    WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void RegistryStore::Flush() {
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw AppError(failedToSet(lastWritten_));
}
