// Turns the bytes of an RTF file into tokens: groups opening and closing, control words with
// their parameter, control symbols, `\'hh` bytes, runs of text, and the raw data of `\binN`.
// It knows nothing of what a word means, except that `\bin` is followed by bytes that are not
// RTF. It counts the nesting, so that the reader can let groups nested too deep share one state,
// and it ends with the group it started in: what follows the document's closing brace is not
// read.
#pragma once

#include <QByteArrayView>
#include <string_view>

class RtfByteSource;

struct RtfToken {
    enum class Kind {
        End,
        GroupStart,
        GroupEnd,
        ControlWord,
        ControlSymbol,
        EscapedByte,
        Text,
        BinaryData,
    };
    Kind kind = Kind::End;
    // GroupStart and GroupEnd: the group lies deeper than RtfReader::MaxGroupDepth.
    bool beyondDepthCap = false;
    // ControlWord: its letters (the first 32 of a longer one) and its numeric parameter.
    std::string_view word;
    bool hasParameter = false;
    int parameter = 0;
    // ControlSymbol: the character after the backslash. EscapedByte: the byte `\'hh` stands for.
    uchar character = 0;
    // Text: bytes up to the next backslash, brace or line break (line breaks in RTF are no
    // text). BinaryData: the next piece of the data of `\binN`. Valid until the next token.
    QByteArrayView bytes;
};

class RtfTokenizer {
public:
    // Reads from the source's current byte, which opens the document's group.
    explicit RtfTokenizer(RtfByteSource& source) : source_(source) {}

    // The next token; End once the document's group has closed or the bytes have run out.
    RtfToken next();

    // The value of a hexadecimal digit, or -1.
    static int hexDigitValue(int c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

private:
    static constexpr int MaxWordLength = 32;

    bool readControl(RtfToken& token);
    bool readEscapedByte(RtfToken& token);
    void readControlWord(RtfToken& token, int first);
    RtfToken readText();
    bool readBinaryData(RtfToken& token);

    RtfByteSource& source_;
    qint64 depth_ = 0;
    bool ended_ = false;
    qint64 binaryLeft_ = 0; // bytes of `\binN` data still to hand out
    char word_[MaxWordLength];
};
