// The user's settings key ("Software\Sleevix"): typed reads with defaults and writes, all values
// stored as text. On Windows it is the real key under HKEY_CURRENT_USER; elsewhere an INI file
// in the user's config folder, section "[Defaults]"; both through QSettings. Open it, read or
// write a group of values, flush, and let it go.
//
// A group of writes reaches the INI file whole or not at all: the new content goes to an unnamed
// file in the same folder, every write and the sync to the disk checked, and only then takes the
// old file's place, so a crash or a full disk while saving leaves the previous file as it was.
// The file is read once and parsed once for all stores of a run while it stays as it was; a
// group that changes nothing writes nothing.
#pragma once

#include <QString>
#include <memory>

class RegistryStore {
public:
    // Opens the store in its usual place, defaultLocation(), and reads it. A store that cannot
    // be read (missing, unreadable, damaged) opens empty or with what could be read; its other
    // values then take their defaults.
    RegistryStore();
    // The same for the store at location: an INI file (on Windows also a registry key path
    // "HKEY_CURRENT_USER\...").
    explicit RegistryStore(const QString& location);
    // The same, with the call that takes a written file to the disk (fdatasync), so that a test
    // can make it fail as a full disk does.
    using SyncFunction = int (*)(int fd);
    RegistryStore(const QString& location, SyncFunction syncToDisk);
    // Writes a group that was not flushed, silently, unless an exception is on its way.
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // A missing value gives the default; a value present but empty gives an empty text.
    // Integers and Booleans take the default for missing, empty or non-numeric text and for
    // numbers outside the integer range; a Boolean is an integer, 0 false and any other true.
    // A value of another kind than text (a number or binary value in the registry; in the INI
    // file an unquoted list "a, b" or an "@ByteArray(...)", "@Variant(...)"-style entry) throws
    // AppError "Invalid data type for '<name>'".
    QString readString(const QString& section, const QString& name, const QString& def);
    int readInteger(const QString& section, const QString& name, int def);
    bool readBool(const QString& section, const QString& name, bool def);

    // The first write of a group throws AppError "Failed to set data for '<name>'" when the
    // store cannot be written; nothing is changed then. Every "Failed to set data" message has
    // the system's reason on a second line when there is one.
    void writeString(const QString& section, const QString& name, const QString& value);
    void writeInteger(const QString& section, const QString& name, int value);
    void writeBool(const QString& section, const QString& name, bool value);

    // Writes the group now, merged into what the store holds at this moment. When that fails
    // nothing of the group is written and it throws "Failed to set data for '<name>'" with the
    // group's first value; so does a text that would not read back exactly as given (QSettings
    // drops a U+FEFF at the start of a value).
    void flush();

    // True when the INI file was there but QSettings could not read it in full (hand-edited
    // into something else, binary garbage). The lines that could not be read are dropped when
    // the file is next written; a copy of the whole file is kept beside it as damagedCopy()
    // first. Comment lines are not kept when the file is written either.
    bool damaged() const;

    // False when the file is there but cannot be read (no permission, a folder in its place):
    // its values take their defaults and no group can be written over it. unreadableReason()
    // says why, in the user's language.
    bool readable() const;
    QString unreadableReason() const;

    // Removes what a run that was killed while writing left in the store's folder (unfinished
    // new files, lock files of older versions); what another run is writing at this moment
    // stays.
    static void removeLeftovers(const QString& location);

    // Where this store lives.
    QString location() const;
    // Where a damaged store file is kept before it is rewritten.
    QString damagedCopy() const;

    // Where the user's store lives on this system, worked out afresh from the environment at
    // each call: "<XDG_CONFIG_HOME or ~/.config>/Sleevix/Sleevix.ini" on Linux, the key
    // "HKEY_CURRENT_USER\Software\Sleevix" on Windows.
    static QString defaultLocation();

    struct Data;

private:
    QString location_;
    std::unique_ptr<Data> d_;
};
