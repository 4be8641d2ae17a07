// The settings file's text: QSettings' INI dialect, read and written here so that a file of any
// size is read once and written once, in one pass each (QSettings takes seconds per megabyte to
// write, and rereads the file at every sync).
//
// A document keeps every value as the bytes the file holds, so values this program does not
// understand (lists, "@ByteArray(...)", other programs' sections) are written back unchanged;
// only values set here are encoded anew. Comment lines and lines that are no value are dropped
// when the document is written.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace Ini {

// A value as QSettings reads it: a text, or something else (a list, binary, a variant).
struct Value {
    bool isText = false;
    QString text;
};

// What the bytes after "=" read as.
Value decodeValue(QByteArrayView raw);
// The bytes after "=" that read back as text (QSettings' form: "@" doubled at the start,
// quotes around a text with ',', ';' or '=' or blanks at its ends, escapes for control
// characters).
QByteArray encodeText(const QString& text);
// A key or a section name, "%20" and "%U00E9" escapes, "\" for "/".
QString decodeKey(QByteArrayView raw);
QByteArray encodeKey(const QString& key);

class Document {
public:
    // Reads a file's bytes. A UTF-8 byte-order mark is skipped; a file that is not UTF-8 (one
    // edited by hand in Latin-1) is read as Latin-1.
    static Document parse(QByteArray bytes);

    // Lines that are neither a section, a value nor a comment, or a section without "]".
    bool damaged() const { return damaged_; }
    // The file was not UTF-8 and was read as Latin-1.
    bool readAsLatin1() const { return latin1_; }

    // The value of "section/name"; nothing when there is none.
    std::optional<Value> find(const QString& key) const;
    // Every key, in the file's order.
    QStringList keys() const;
    // Sets a text; a new key goes to the end of its section (the part of the key before its
    // first "/"), a new section to the end of the file.
    void setText(const QString& key, const QString& text);

    QByteArray toBytes() const;

    // True when other holds the same keys with the same bytes, in the same order.
    bool sameEntries(const Document& other) const;
    // Writes every text value anew in the program's own form where it differs from other's
    // (a value kept as a hand-edited file had it, which read differently once written back).
    // False when a value that is no text differs.
    bool rewriteTextsDifferentFrom(const Document& other);

private:
    struct Entry {
        QByteArray rawKey;
        QByteArray rawValue;
        QString key;
    };
    struct Section {
        QByteArray header; // "[Defaults]"; empty for values before any section
        QString prefix;    // "Defaults/"; empty for the root
        std::vector<Entry> entries;
    };
    Section& sectionFor(const QString& prefix, const QByteArray& header);

    std::vector<Section> sections_;
    QHash<QString, std::pair<size_t, size_t>> index_; // key -> section, entry
    bool damaged_ = false;
    bool latin1_ = false;
};

} // namespace Ini
