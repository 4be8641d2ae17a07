// The update server's version list and what a check makes of it.
//
// Data flow of a check: the platform fetches "versions.dat" (VersionListReply); judgeVersionList
// finds this program's record in it (findProgramRecord), compares the record's version with the
// running one (ProgramVersion) and gives one of the six CheckResults. Nothing here touches the
// network or a window.
//
// The list holds one record per program of the maker, fields separated by commas, ended by a
// carriage return (a line feed may follow):
//
//   Sleevix,sleevix111.exe,d,2350,-
//   name    installer file  letter  size in KB  checksum or any non-empty text
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

// Outcome of an update check; the numbers are what the program has always used for them.
enum class CheckResult {
    UpToDate = 0,      // the program's record is there and is not newer
    NoServerReply = 1, // no text of the version list arrived in two attempts
    ListTooSmall = 2,  // the list is shorter than 50 characters, or no connection could be set up
    NotListed = 3,     // the list holds no record for this program
    UpdateAdvised = 4, // the record's version is newer than the running one
    PingTimeout = 5,   // the server did not answer the connectivity test
    ListTooLarge = 6,  // the answer went past the size a version list may have
};

// A version as digits compared as text ('111', '19') and an optional letter ('d').
struct ProgramVersion {
    QString digits;
    std::optional<QChar> letter;

    // The running version from its display text ("version 1.10c"): the text with its first
    // "." removed, kept to digits (110), and its last character when it is a letter a-z.
    static ProgramVersion fromVersionText(const QString& versionText);

    // How the version is shown: first digit, ".", the next two digits, then the letter
    // ('111' + 'd' -> "1.11d", '19' -> "1.9"). Without digits there is nothing to show.
    QString display() const;
};

// True when `latest` is newer than `current`: its digits are greater as text (character by
// character, a prefix being smaller, so '19' is newer than '110'), or the digits are equal and
// its letter is greater (no letter is lower than every letter).
bool isNewer(const ProgramVersion& latest, const ProgramVersion& current);

// The fields of a record: split at every comma; an empty field between two commas counts, the
// empty one after a final comma does not.
QStringList splitRecordFields(const QString& record);

// The program's record in the version list.
struct VersionRecord {
    QString downloadName;   // the installer's file name on the server (field 1)
    ProgramVersion version; // digits from the part of field 1 before its first ".", letter field 2
    int expectedSizeKB = 0; // field 3
    QString sha256;         // field 4 when it is 64 hexadecimal digits (lower case), else empty
};

// Finds the record of `productName`: the first "<productName>," anywhere in the text (exact
// case), up to the next carriage return or line feed or the end of the text. Nothing when the
// name does not occur or nothing follows its comma. Throws AppError "List index out of bounds
// (n)" for a record with fewer than five fields and "'x' is not a valid integer value" for a
// size that is not a decimal integer, and notAPlainFileNameText() when the download name is not
// one plain file name (isPlainFileName).
std::optional<VersionRecord> findProgramRecord(const QString& list, const QString& productName);

// What the fetch of the version list brought.
struct VersionListReply {
    enum class Status {
        Text,        // the text of the list (of some answer) arrived
        NoReply,     // nothing arrived in the attempts
        NoConnection, // no connection could be set up at all (no secure transport)
        TooLarge      // the answer went past the size limit and was broken off
    };
    Status status = Status::NoReply;
    QByteArray text;
};

// A list shorter than this is not taken for a version list.
inline constexpr int MinimumListLength = 50;

struct CheckOutcome {
    CheckResult result = CheckResult::NoServerReply;
    std::optional<VersionRecord> record; // when the program's record was found
};

// Judges a fetched version list for the running version. Throws as findProgramRecord.
CheckOutcome judgeVersionList(const VersionListReply& reply, const QString& productName,
                              const ProgramVersion& current);
