#include "rtf/RtfTokenizer.h"

#include "rtf/RtfByteSource.h"
#include "rtf/RtfReader.h"

#include <algorithm>

namespace {

bool isLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

} // namespace

RtfToken RtfTokenizer::next() {
    RtfToken token;
    if (binaryLeft_ > 0 && readBinaryData(token))
        return token;
    while (!ended_) {
        const int c = source_.peek();
        if (c < 0)
            break;
        switch (c) {
        case '{':
            source_.advance(1);
            token.kind = RtfToken::Kind::GroupStart;
            token.beyondDepthCap = ++depth_ > RtfReader::MaxGroupDepth;
            return token;
        case '}':
            source_.advance(1);
            token.kind = RtfToken::Kind::GroupEnd;
            token.beyondDepthCap = depth_ > RtfReader::MaxGroupDepth;
            if (--depth_ <= 0)
                ended_ = true; // the document's closing brace
            return token;
        case '\\':
            source_.advance(1);
            if (readControl(token))
                return token;
            break;
        case '\r':
        case '\n':
            source_.advance(1);
            break;
        default:
            return readText();
        }
    }
    return RtfToken();
}

// What follows a backslash: a control word, a control symbol or an escaped byte. False when it
// gives no token (the end of the bytes, a broken `\'` escape).
bool RtfTokenizer::readControl(RtfToken& token) {
    const int first = source_.get();
    if (first < 0)
        return false;
    if (first == '\'')
        return readEscapedByte(token);
    if (!isLetter(first)) {
        token.kind = RtfToken::Kind::ControlSymbol;
        token.character = uchar(first);
        return true;
    }
    readControlWord(token, first);
    return true;
}

// `\'hh`. An escape without two hexadecimal digits is dropped, with its one digit if it has one.
bool RtfTokenizer::readEscapedByte(RtfToken& token) {
    const int high = hexDigitValue(source_.peek());
    const int low = high < 0 ? -1 : hexDigitValue(source_.peek(1));
    if (high < 0 || low < 0) {
        if (high >= 0)
            source_.advance(1);
        return false;
    }
    source_.advance(2);
    token.kind = RtfToken::Kind::EscapedByte;
    token.character = uchar(high * 16 + low);
    return true;
}

// Letters, then an optional parameter (digits, perhaps after a minus), then one optional space.
void RtfTokenizer::readControlWord(RtfToken& token, int first) {
    int length = 0;
    word_[length++] = char(first);
    for (int c = source_.peek(); isLetter(c); c = source_.peek()) {
        source_.advance(1);
        if (length < MaxWordLength)
            word_[length++] = char(c);
    }
    bool hasParameter = false;
    bool negative = false;
    qint64 value = 0;
    int c = source_.peek();
    if (c == '-' && isDigit(source_.peek(1))) {
        negative = true;
        source_.advance(1);
        c = source_.peek();
    }
    while (isDigit(c)) {
        hasParameter = true;
        if (value < 100000000000LL)
            value = value * 10 + (c - '0');
        source_.advance(1);
        c = source_.peek();
    }
    if (c == ' ')
        source_.advance(1);
    if (negative)
        value = -value;

    token.kind = RtfToken::Kind::ControlWord;
    token.word = std::string_view(word_, size_t(length));
    token.hasParameter = hasParameter;
    token.parameter = int(std::clamp<qint64>(value, -2147483647LL, 2147483647LL));
    // The data of \bin is read as bytes, wherever it stands, or it would be read as RTF.
    if (token.word == "bin")
        binaryLeft_ = hasParameter ? token.parameter : 0;
}

RtfToken RtfTokenizer::readText() {
    const qsizetype available = source_.available();
    const uchar* bytes = source_.current();
    qsizetype length = 0;
    while (length < available) {
        const uchar c = bytes[length];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n')
            break;
        ++length;
    }
    source_.advance(length);
    RtfToken token;
    token.kind = RtfToken::Kind::Text;
    token.bytes = QByteArrayView(bytes, length);
    return token;
}

// False when the bytes end inside the data.
bool RtfTokenizer::readBinaryData(RtfToken& token) {
    const qsizetype available = source_.available();
    if (available <= 0) {
        binaryLeft_ = 0;
        return false;
    }
    const qsizetype length = qsizetype(std::min<qint64>(binaryLeft_, available));
    token.kind = RtfToken::Kind::BinaryData;
    token.bytes = QByteArrayView(source_.current(), length);
    source_.advance(length);
    binaryLeft_ -= length;
    return true;
}
