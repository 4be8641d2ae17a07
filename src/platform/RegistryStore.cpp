#include "platform/RegistryStore.h"

#include "platform/AppError.h"
#include "platform/SaveWhole.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <optional>
#include <utility>

#ifdef Q_OS_WIN
#include <QSettings>
#else
#include <QList>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryFile>
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

// ---- elsewhere: an INI file -------------------------------------------------------------------
//
// The dialect is QSettings' INI: "[Section]" lines, "key=value" lines, keys with "%XX"/"%UXXXX"
// escapes, values with C-style backslash escapes, quoted when they hold "," ";" "=" or begin or
// end with a blank, an unquoted "," making a list and a leading "@" marking a typed value
// ("@@" for a text that begins with "@"). Lines this program does not write itself (other
// sections, comments, values of other kinds) are kept as they are.

namespace {

constexpr const char* TypedValuePrefixes[] = {"@ByteArray(", "@Variant(", "@Invalid()",
                                              "@Point(",     "@Rect(",    "@Size(",
                                              "@DateTime(",  "@String(",  "@StringList("};

bool isHexDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

QByteArray hex(uint value, int width) {
    return QByteArray::number(value, 16).toUpper().rightJustified(width, '0');
}

QByteArray escapeKey(const QString& key) {
    QByteArray out;
    for (const QChar ch : key) {
        const char16_t c = ch.unicode();
        if (c == u'/')
            out += '\\';
        else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                 c == u'_' || c == u'-' || c == u'.')
            out += char(c);
        else if (c <= 0xFF)
            out += '%' + hex(c, 2);
        else
            out += "%U" + hex(c, 4);
    }
    return out;
}

QString unescapeKey(const QString& raw) {
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        bool ok = false;
        if (c == u'%' && i + 5 < raw.size() && raw[i + 1] == u'U') {
            const uint code = raw.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 5;
                continue;
            }
        }
        if (c == u'%' && i + 2 < raw.size()) {
            const uint code = raw.mid(i + 1, 2).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 2;
                continue;
            }
        }
        out += c == u'\\' ? QChar(u'/') : c;
    }
    return out;
}

QByteArray escapeValue(const QString& value) {
    const QString text = value.startsWith(u'@') ? QStringLiteral("@") + value : value;
    const bool quoted = text.contains(u',') || text.contains(u';') || text.contains(u'=') ||
                        (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    QByteArray out;
    if (quoted)
        out += '"';
    bool escapeNextIfHex = false; // keeps "\x1" + "2" from reading back as "\x12"
    const QList<uint> codes = text.toUcs4();
    for (const uint c : codes) {
        if (escapeNextIfHex && isHexDigit(c)) {
            out += "\\x" + hex(c, 1);
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case 0:
            out += "\\0";
            escapeNextIfHex = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\x" + hex(c, 1);
                escapeNextIfHex = true;
            } else {
                const char32_t one = c;
                out += QString::fromUcs4(&one, 1).toUtf8();
            }
        }
    }
    if (quoted)
        out += '"';
    return out;
}

// A value read from the file: text, or something of another kind (a list, a typed value).
std::optional<QString> unescapeValue(const QString& raw) {
    QString out;
    QList<bool> kept; // per character: quoted or escaped, so not trimmed
    bool inQuotes = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (c == u'\\') {
            if (++i >= raw.size())
                break;
            const QChar n = raw[i];
            char32_t code = n.unicode();
            switch (n.unicode()) {
            case u'a':
                code = '\a';
                break;
            case u'b':
                code = '\b';
                break;
            case u'f':
                code = '\f';
                break;
            case u'n':
                code = '\n';
                break;
            case u'r':
                code = '\r';
                break;
            case u't':
                code = '\t';
                break;
            case u'v':
                code = '\v';
                break;
            case u'"':
            case u'\'':
            case u'?':
            case u'\\':
                break;
            case u'x': {
                qsizetype len = 0;
                while (len < 4 && i + 1 + len < raw.size() &&
                       isHexDigit(raw[i + 1 + len].unicode()))
                    ++len;
                if (len == 0)
                    break;
                code = raw.mid(i + 1, len).toUInt(nullptr, 16);
                i += len;
                break;
            }
            default:
                if (n >= u'0' && n <= u'7') {
                    qsizetype len = 1;
                    while (len < 3 && i + len < raw.size() && raw[i + len] >= u'0' &&
                           raw[i + len] <= u'7')
                        ++len;
                    code = raw.mid(i, len).toUInt(nullptr, 8);
                    i += len - 1;
                } else {
                    // Not an escape: a hand-typed Windows path keeps its backslash.
                    out += u'\\';
                    kept += true;
                }
            }
            out += QString::fromUcs4(&code, 1);
            while (kept.size() < out.size())
                kept += true;
            continue;
        }
        if (!inQuotes && c == u';')
            break; // the rest of the line is a comment
        if (!inQuotes && c == u',')
            return std::nullopt; // a list
        out += c;
        kept += inQuotes;
    }
    qsizetype end = out.size();
    while (end > 0 && !kept[end - 1] && out[end - 1].isSpace())
        --end;
    qsizetype start = 0;
    while (start < end && !kept[start] && out[start].isSpace())
        ++start;
    out = out.mid(start, end - start);
    if (out.startsWith(u'@')) {
        if (out.startsWith(QLatin1String("@@")))
            return out.mid(1);
        for (const char* prefix : TypedValuePrefixes)
            if (out.startsWith(QLatin1String(prefix)))
                return std::nullopt;
    }
    return out;
}

// The file as lines, with what each line is.
struct IniFile {
    enum class Kind { Other, Section, Entry, Damaged };
    struct Line {
        Kind kind = Kind::Other;
        QByteArray text;
        QString section; // of a section line, and of the entry
        QString key;     // of an entry
        QString value;   // of an entry, still escaped
    };
    QList<Line> lines;
    bool damaged = false;

    static IniFile Parse(QByteArray bytes) {
        IniFile file;
        if (bytes.startsWith("\xEF\xBB\xBF")) // Windows editors put it there
            bytes.remove(0, 3);
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString section = QStringLiteral("General");
        for (const QByteArray& rawLine : bytes.split('\n')) {
            Line line;
            line.text = rawLine.endsWith('\r') ? rawLine.chopped(1) : rawLine;
            const QString text = utf8.decode(line.text);
            const QString t = text.trimmed();
            if (utf8.hasError() || t.contains(QChar(0))) {
                line.kind = Kind::Damaged;
                utf8.resetState();
            } else if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#')) {
                line.kind = Kind::Other;
            } else if (t.startsWith(u'[')) {
                const qsizetype close = t.indexOf(u']');
                if (close < 0) {
                    line.kind = Kind::Damaged;
                } else {
                    line.kind = Kind::Section;
                    section = unescapeKey(t.mid(1, close - 1).trimmed());
                    line.section = section;
                }
            } else {
                const qsizetype eq = t.indexOf(u'=');
                const QString key = eq > 0 ? unescapeKey(t.left(eq).trimmed()) : QString();
                if (key.isEmpty()) {
                    line.kind = Kind::Damaged;
                } else {
                    line.kind = Kind::Entry;
                    line.section = section;
                    line.key = key;
                    line.value = t.mid(eq + 1);
                }
            }
            file.damaged = file.damaged || line.kind == Kind::Damaged;
            file.lines.append(line);
        }
        // split() gives an empty last piece for the final line break
        if (!file.lines.isEmpty() && file.lines.last().text.isEmpty())
            file.lines.removeLast();
        return file;
    }

    // The entry that counts when a key is there more than once: the last.
    const Line* Find(const QString& section, const QString& key) const {
        for (qsizetype i = lines.size() - 1; i >= 0; --i)
            if (lines[i].kind == Kind::Entry && lines[i].section == section && lines[i].key == key)
                return &lines[i];
        return nullptr;
    }

    void Set(const QString& section, const QString& key, const QByteArray& escapedValue) {
        Line entry;
        entry.kind = Kind::Entry;
        entry.text = escapeKey(key) + '=' + escapedValue;
        entry.section = section;
        entry.key = key;
        entry.value = QString::fromUtf8(escapedValue);
        qsizetype lastOfSection = -1;
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            const Line& line = lines[i];
            if (line.kind == Kind::Entry && line.section == section && line.key == key) {
                lines[i] = entry;
                return;
            }
            if (lastOfSection < 0 && (line.kind == Kind::Entry || line.kind == Kind::Section) &&
                line.section == section)
                lastOfSection = i;
        }
        if (lastOfSection >= 0) {
            lines.insert(lastOfSection + 1, entry);
            return;
        }
        if (!lines.isEmpty() && !lines.last().text.trimmed().isEmpty())
            lines.append(Line{});
        Line header;
        header.kind = Kind::Section;
        header.text = '[' + escapeKey(section) + ']';
        header.section = section;
        lines.append(header);
        lines.append(entry);
    }

    // What is written back: every line but the damaged ones.
    QByteArray Format() const {
        QByteArray out;
        for (const Line& line : lines)
            if (line.kind != Kind::Damaged)
                out += line.text + '\n';
        return out;
    }
};

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeWhole(const QString& path, const QByteArray& bytes) {
    return saveFileWhole(path, bytes);
}

} // namespace

struct RegistryStore::Data {
    struct Pending {
        QString section;
        QString name;
        QString value;
    };
    IniFile ini;
    QList<Pending> pending;
    int uncaught = std::uncaught_exceptions();
};

namespace {

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

RegistryStore::RegistryStore(const QString& location)
    : location_(location), d_(std::make_unique<Data>()) {
    // A folder that cannot be made is no reason to fail here: the reads then give their
    // defaults and the first write reports it.
    QDir().mkpath(QFileInfo(location_).absolutePath());
    d_->ini = IniFile::Parse(readBytes(location_));
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
    return d_->ini.damaged;
}

QString RegistryStore::readString(const QString& section, const QString& name, const QString& def) {
    for (qsizetype i = d_->pending.size() - 1; i >= 0; --i)
        if (d_->pending[i].section == section && d_->pending[i].name == name)
            return d_->pending[i].value;
    const IniFile::Line* entry = d_->ini.Find(section, name);
    if (!entry)
        return def;
    const std::optional<QString> text = unescapeValue(entry->value);
    if (!text)
        throw AppError(invalidType(name));
    return text->isNull() ? QLatin1String("") : *text;
}

void RegistryStore::writeString(const QString& section, const QString& name, const QString& value) {
    // Checked before anything is taken, so a refused group leaves nothing behind.
    if (d_->pending.isEmpty() && !canWrite(location_))
        throw AppError(failedToSet(name));
    d_->pending.append({section, name, value});
}

void RegistryStore::flush() {
    if (d_->pending.isEmpty())
        return;
    const QList<Data::Pending> pending = std::exchange(d_->pending, {});
    // Another run of the program may have written since this store was opened: the lock keeps
    // two writers apart and the file is read again so that their values stay.
    QLockFile lock(location_ + QStringLiteral(".lock"));
    lock.tryLock(2000);
    IniFile current = IniFile::Parse(readBytes(location_));
    if (current.damaged) {
        // What could not be read is dropped from the new file; the user's file is kept aside.
        QFile::remove(damagedCopy());
        QFile::copy(location_, damagedCopy());
    }
    for (const Data::Pending& p : pending)
        current.Set(p.section, p.name, escapeValue(p.value));
    if (!writeWhole(location_, current.Format()))
        throw AppError(failedToSet(pending.first().name));
    d_->ini = current;
    d_->ini.damaged = false;
}

#endif
