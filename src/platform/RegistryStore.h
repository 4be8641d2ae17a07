// The user's settings key ("Software\Sleevix"): typed reads with defaults and writes, all values
// stored as text. On Windows it is the real key under HKEY_CURRENT_USER; elsewhere an INI file in
// the user's config folder. Open it, read or write a group of values, and let it go: the
// destructor closes the key (and writes the file).
#pragma once

#include <QString>
#include <memory>

class QSettings;

class RegistryStore {
public:
    // Opens (creating when missing) the key "Software\<appName>".
    explicit RegistryStore(const QString& appName = QStringLiteral("Sleevix"));
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // A missing value gives the default. Integers and Booleans also take the default for empty
    // or non-numeric text. A value of another kind than text throws
    // AppError "Invalid data type for '<name>'".
    QString ReadString(const QString& section, const QString& name, const QString& def);
    int ReadInteger(const QString& section, const QString& name, int def);
    bool ReadBool(const QString& section, const QString& name, bool def);

    // Throws AppError "Failed to set data for '<name>'" when the store cannot be written.
    void WriteString(const QString& section, const QString& name, const QString& value);
    void WriteInteger(const QString& section, const QString& name, int value);
    void WriteBool(const QString& section, const QString& name, bool value);

    // Writes what was changed now; throws like the writes. The destructor does the same but
    // cannot report failure, so writers call it.
    void Flush();

    // Where the store lives on this system (the INI file on Linux).
    static QString Location(const QString& appName = QStringLiteral("Sleevix"));

private:
    std::unique_ptr<QSettings> settings_;
    QString lastWritten_;
};
