#include "platform/IniFile.h"

#include <QDataStream>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

namespace Ini {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isHexDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octValue(char c) {
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// One logical line from pos: leading blanks skipped, a backslash takes the next character
// along (a line break included), quotes hold line breaks and ';', a ';' outside quotes ends the
// line (and a line that starts with it is a comment, skipped). Gives false at the end of data.
bool nextLine(QByteArrayView data, qsizetype& pos, qsizetype& start, qsizetype& length,
              qsizetype& equals) {
    const qsizetype size = data.size();
    bool inQuotes = false;
    equals = -1;
    start = pos;
    while (start < size && isSpace(data[start]))
        ++start;
    qsizetype i = start;
    while (i < size) {
        const char c = data[i++];
        switch (c) {
        case '=':
            if (!inQuotes && equals == -1)
                equals = i - 1;
            break;
        case '\n':
        case '\r':
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
            break;
        case '\\':
            if (i < size) {
                const char next = data[i++];
                if (i < size) {
                    const char after = data[i];
                    if ((next == '\n' && after == '\r') || (next == '\r' && after == '\n'))
                        ++i;
                }
            }
            break;
        case '"':
            inQuotes = !inQuotes;
            break;
        case ';':
            if (i == start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < size && isSpace(data[i]))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
            break;
        default:
            break;
        }
    }
done:
    pos = i;
    length = i - start;
    return length > 0;
}

void chopTrailingBlanks(QString& s, qsizetype limit) {
    qsizetype n = s.size();
    while (n > limit && (s[n - 1] == u' ' || s[n - 1] == u'\t'))
        --n;
    s.truncate(n);
}

// The text and list reading of a value: escapes, quotes, and a comma outside quotes making a
// list. Gives true for a list.
bool unescape(QByteArrayView str, QString& result) {
    static const char escapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'},  {'n', '\n'},
                                      {'r', '\r'}, {'t', '\t'}, {'v', '\v'},  {'"', '"'},
                                      {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    const qsizetype size = str.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < size && (str[i] == ' ' || str[i] == '\t'))
            ++i;
    };
    skipBlanks();
    qsizetype chopLimit = 0;
    QStringDecoder decoder(QStringDecoder::Utf8);
    bool chop = true; // a value that ends inside an escape keeps its trailing blanks
    while (i < size) {
        const char c = str[i];
        if (c == '\\') {
            ++i;
            if (i >= size) {
                chop = false;
                break;
            }
            const char e = str[i++];
            bool named = false;
            for (const auto& pair : escapes)
                if (e == pair[0]) {
                    result += QLatin1Char(pair[1]);
                    named = true;
                    break;
                }
            if (!named && (e == 'x' || octValue(e) != -1)) {
                const bool hex = e == 'x';
                if (hex && i >= size) {
                    chop = false;
                    break;
                }
                if (!hex || hexValue(str[i]) != -1) {
                    char32_t value = hex ? 0 : char32_t(octValue(e));
                    while (i < size) {
                        const int digit = hex ? hexValue(str[i]) : octValue(str[i]);
                        if (digit == -1)
                            break;
                        value = (value << (hex ? 4 : 3)) + char32_t(digit);
                        ++i;
                    }
                    result += QChar(char16_t(value));
                    if (i >= size) {
                        chop = false;
                        break;
                    }
                }
            } else if (!named && (e == '\n' || e == '\r')) {
                if (i < size && (str[i] == '\n' || str[i] == '\r') && str[i] != e)
                    ++i;
            }
            chopLimit = result.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = result.size();
            }
        } else if (c == ',' && !inQuotes) {
            isList = true;
            quoted = false;
            result.clear();
            ++i;
            skipBlanks();
            chopLimit = 0;
        } else {
            qsizetype j = i + 1;
            while (j < size && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                ++j;
            // One decoder reads the value's pieces: a byte-order mark is dropped only at the
            // start of the first piece.
            result += decoder(str.sliced(i, j - i));
            i = j;
        }
    }
    if (chop && !quoted)
        chopTrailingBlanks(result, chopLimit);
    return isList;
}

qsizetype argumentCount(const QString& s, qsizetype open) {
    return s.mid(open + 1).chopped(1).count(u' ') + 1;
}

} // namespace

Value decodeValue(QByteArrayView raw) {
    QString s;
    if (unescape(raw, s))
        return {};
    if (s.startsWith(u'@')) {
        if (s.endsWith(u')')) {
            if (s.startsWith(QLatin1String("@String(")))
                return {true, s.mid(8).chopped(1)};
            if (s.startsWith(QLatin1String("@ByteArray(")) ||
                s.startsWith(QLatin1String("@DateTime(")) || s == QLatin1String("@Invalid()"))
                return {};
            if (s.startsWith(QLatin1String("@Variant("))) {
                // A variant that holds a text reads as that text.
                QByteArray bytes = s.mid(9).chopped(1).toLatin1();
                QDataStream stream(&bytes, QIODevice::ReadOnly);
                stream.setVersion(QDataStream::Qt_4_0);
                QVariant v;
                stream >> v;
                if (v.typeId() == QMetaType::QString)
                    return {true, v.toString()};
                return {};
            }
            if ((s.startsWith(QLatin1String("@Rect(")) && argumentCount(s, 5) == 4) ||
                (s.startsWith(QLatin1String("@Size(")) && argumentCount(s, 5) == 2) ||
                (s.startsWith(QLatin1String("@Point(")) && argumentCount(s, 6) == 2))
                return {};
        }
        if (s.startsWith(QLatin1String("@@")))
            return {true, s.mid(1)};
    }
    return {true, s};
}

QByteArray encodeText(const QString& text) {
    QString s = text;
    if (s.contains(QChar::Null))
        s = QStringLiteral("@String(") + s + u')';
    else if (s.startsWith(u'@'))
        s.prepend(u'@');
    QByteArray out;
    out.reserve(s.size() + 8);
    bool needsQuotes = false;
    bool escapeHexDigit = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeHexDigit && isHexDigit(c)) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeHexDigit = false;
        switch (c) {
        case 0:
            out += "\\0";
            escapeHexDigit = true;
            break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default:
            if (c <= 0x1F) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeHexDigit = true;
            } else if (c < 0x80) {
                out += char(c);
            } else {
                // A run of non-ASCII characters at once, so that surrogate pairs stay whole.
                qsizetype j = i + 1;
                while (j < s.size() && s[j].unicode() >= 0x80)
                    ++j;
                out += QStringView(s).sliced(i, j - i).toUtf8();
                i = j - 1;
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

QString decodeKey(QByteArrayView raw) {
    const QString decoded = QString::fromUtf8(raw);
    QString result;
    result.reserve(decoded.size());
    const qsizetype size = decoded.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = decoded[i];
        if (c == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (c != u'%' || i == size - 1) {
            result += c;
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        qsizetype digits = 2;
        if (decoded[i + 1] == u'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const ushort code =
            first + digits > size ? 0 : QStringView(decoded).sliced(first, digits).toUShort(&ok, 16);
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
    return result;
}

QByteArray encodeKey(const QString& key) {
    QByteArray out;
    out.reserve(key.size() * 3 / 2);
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '-' || c == '.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        } else {
            out += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
        }
    }
    return out;
}

Document Document::parse(QByteArray bytes) {
    Document doc;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (!QUtf8StringView(bytes).isValidUtf8()) {
        bytes = QString::fromLatin1(bytes).toUtf8();
        doc.latin1_ = true;
    }
    const QByteArrayView data(bytes);
    Section* current = &doc.sectionFor(QString(), QByteArray());
    qsizetype pos = 0, start = 0, length = 0, equals = -1;
    while (nextLine(data, pos, start, length, equals)) {
        const QByteArrayView line = data.sliced(start, length);
        if (line.startsWith('[')) {
            qsizetype close = line.indexOf(']');
            if (close < 0) {
                doc.damaged_ = true;
                close = length;
            }
            const QByteArrayView name = line.first(close).sliced(1).trimmed();
            QString prefix;
            if (name.compare("general", Qt::CaseInsensitive) != 0) {
                prefix = name.compare("%general", Qt::CaseInsensitive) == 0
                             ? QString::fromLatin1(name.sliced(1))
                             : decodeKey(name);
                prefix += u'/';
            }
            current = &doc.sectionFor(prefix, line.first(close).toByteArray() + ']');
            continue;
        }
        if (equals < 0) {
            if (!line.startsWith(';'))
                doc.damaged_ = true;
            continue;
        }
        qsizetype keyEnd = equals;
        while (keyEnd > start && (data[keyEnd - 1] == ' ' || data[keyEnd - 1] == '\t'))
            --keyEnd;
        Entry entry;
        entry.rawKey = data.sliced(start, keyEnd - start).toByteArray();
        entry.rawValue = data.sliced(equals + 1, start + length - equals - 1).toByteArray();
        entry.key = current->prefix + decodeKey(entry.rawKey);
        const size_t sectionIndex = size_t(current - doc.sections_.data());
        const auto known = doc.index_.constFind(entry.key);
        if (known != doc.index_.cend()) { // the last of two equal keys counts
            doc.sections_[known->first].entries[known->second] = std::move(entry);
            continue;
        }
        doc.index_.insert(entry.key, {sectionIndex, current->entries.size()});
        current->entries.push_back(std::move(entry));
    }
    return doc;
}

Document::Section& Document::sectionFor(const QString& prefix, const QByteArray& header) {
    for (Section& s : sections_)
        if (s.prefix == prefix && (!s.header.isEmpty() || header.isEmpty() || !prefix.isEmpty()))
            return s;
    sections_.push_back(Section{header, prefix, {}});
    return sections_.back();
}

std::optional<Value> Document::find(const QString& key) const {
    const auto at = index_.constFind(key);
    if (at == index_.cend())
        return std::nullopt;
    return decodeValue(sections_[at->first].entries[at->second].rawValue);
}

bool Document::sameEntries(const Document& other) const {
    if (index_.size() != other.index_.size())
        return false;
    for (const Section& s : sections_)
        for (const Entry& e : s.entries) {
            const auto at = other.index_.constFind(e.key);
            if (at == other.index_.cend() ||
                other.sections_[at->first].entries[at->second].rawValue != e.rawValue)
                return false;
        }
    return true;
}

bool Document::rewriteTextsDifferentFrom(const Document& other) {
    for (Section& s : sections_)
        for (Entry& e : s.entries) {
            const auto at = other.index_.constFind(e.key);
            if (at != other.index_.cend() &&
                other.sections_[at->first].entries[at->second].rawValue == e.rawValue)
                continue;
            const Value value = decodeValue(e.rawValue);
            if (!value.isText)
                return false;
            e.rawValue = encodeText(value.text);
        }
    return true;
}

QStringList Document::keys() const {
    QStringList keys;
    for (const Section& s : sections_)
        for (const Entry& e : s.entries)
            keys << e.key;
    return keys;
}

void Document::setText(const QString& key, const QString& text) {
    const auto at = index_.constFind(key);
    Entry* entry = nullptr;
    if (at != index_.cend()) {
        entry = &sections_[at->first].entries[at->second];
    } else {
        const qsizetype slash = key.indexOf(u'/');
        const QString prefix = slash < 0 ? QString() : key.left(slash + 1);
        const QString name = slash < 0 ? key : key.mid(slash + 1);
        QByteArray header;
        if (!prefix.isEmpty()) {
            const QString section = prefix.chopped(1);
            header = section.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0
                         ? "[%" + section.toLatin1() + ']'
                         : '[' + encodeKey(section) + ']';
        }
        Section& section = sectionFor(prefix, header);
        index_.insert(key, {size_t(&section - sections_.data()), section.entries.size()});
        section.entries.push_back(Entry{encodeKey(name), {}, key});
        entry = &section.entries.back();
    }
    entry->rawValue = encodeText(text);
}

QByteArray Document::toBytes() const {
    QByteArray out;
    for (const Section& s : sections_) {
        if (s.entries.empty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        // Values of the root before any section are written under "[General]", where they
        // read back the same.
        out += s.prefix.isEmpty() ? QByteArray("[General]") : s.header;
        out += '\n';
        for (const Entry& e : s.entries) {
            out += e.rawKey;
            out += '=';
            out += e.rawValue;
            out += '\n';
        }
    }
    return out;
}

} // namespace Ini
