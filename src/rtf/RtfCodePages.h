// Windows code pages for the RTF reader: `\ansicpg`, a font's `\fcharset` or `\cpg`, and the
// bytes of `\'hh` escapes and raw 8-bit text are decoded through these.
//
// Single-byte code pages are turned into a 256-entry table when first asked for, so decoding
// costs one lookup per byte. Double-byte code pages (932, 936, 949, 950) and UTF-8 collect their
// bytes and decode them when the run of bytes ends. A code page the system does not know falls
// back to 1252.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <map>
#include <memory>

class RtfCodePage {
public:
    enum class Kind { SingleByte, DoubleByte, Utf8 };

    // The Windows code page that belongs to an RTF `\fcharset` value, or 0 when the charset
    // means "use the document's code page" (DEFAULT_CHARSET and unknown values).
    static int forCharset(int charset);

    int number() const { return number_; }
    Kind kind() const { return kind_; }

    // Single-byte code pages: the character of one byte.
    QChar map(unsigned char byte) const { return table_[byte]; }

    // Double-byte code pages: true when this byte starts a two-byte character.
    bool isLeadByte(unsigned char byte) const;

    // Decodes a run of bytes; bytes that do not form a character become U+FFFD.
    QString decode(const QByteArray& bytes) const;

private:
    friend class RtfCodePages;
    explicit RtfCodePage(int number);
    int number_ = 1252;
    Kind kind_ = Kind::SingleByte;
    std::array<QChar, 256> table_{};
};

// The decoders one reading needs, each made when it is first asked for and kept as long as this
// object lives, so that a file naming one code page a thousand times builds its table once.
class RtfCodePages {
public:
    // The decoder for a Windows code page number. Unknown or unusable numbers give the decoder
    // of code page 1252.
    const RtfCodePage& get(int codePage);

private:
    std::map<int, std::unique_ptr<RtfCodePage>> pages_; // by the code page used
    std::map<int, const RtfCodePage*> byAskedNumber_;   // by the number a file gave
};
