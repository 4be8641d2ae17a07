#include "rtf/RtfCodePages.h"

#include "rtf/MacCodePages.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace {

constexpr char16_t Replacement = 0xFFFD;

// The Mac code pages of Japanese, Chinese and Korean are Shift-JIS, Big5, EUC-KR and GB2312 at
// heart; their Windows counterparts are the nearest decoders every system has.
int windowsCounterpart(int codePage) {
    switch (codePage) {
    case 10001:
        return 932;
    case 10002:
        return 950;
    case 10003:
        return 949;
    case 10008:
        return 936;
    default:
        return codePage;
    }
}

bool isDoubleByte(int codePage) {
    codePage = windowsCounterpart(codePage);
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

#ifdef Q_OS_WIN

bool systemKnows(int codePage) {
    return IsValidCodePage(UINT(codePage)) != 0;
}

QString systemDecode(int codePage, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    const int n =
        MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    if (n <= 0)
        return QString(bytes.size(), QChar(Replacement));
    QString out(n, Qt::Uninitialized);
    MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

#else

QByteArray iconvName(int codePage) {
    // The Mac code pages glibc knows, under its own names.
    switch (codePage) {
    case 10000:
        return "MACINTOSH";
    case 10007:
        return "MAC-CYRILLIC";
    case 10017:
        return "MAC-UK";
    case 10029:
        return "MAC-CENTRALEUROPE";
    case 10079:
        return "MAC-IS";
    case 1361:
        return "JOHAB";
    default:
        return "CP" + QByteArray::number(windowsCounterpart(codePage));
    }
}

class Iconv {
public:
    explicit Iconv(int codePage)
        : handle_(iconv_open("UTF-16LE", iconvName(codePage).constData())) {}
    ~Iconv() {
        if (ok())
            iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return handle_ != iconv_t(-1); }

    // Converts the bytes; an undecodable byte becomes U+FFFD and decoding goes on after it.
    QString convert(const QByteArray& bytes) {
        QString out;
        out.reserve(bytes.size());
        char* in = const_cast<char*>(bytes.constData());
        size_t inLeft = size_t(bytes.size());
        char16_t buffer[256];
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char* outPtr = reinterpret_cast<char*>(buffer);
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            const int error = rc == size_t(-1) ? errno : 0;
            out.append(QStringView(buffer, (sizeof buffer - outLeft) / sizeof(char16_t)));
            if (error == EILSEQ || error == EINVAL) {
                out.append(QChar(Replacement));
                ++in;
                --inLeft;
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            } else if (error != 0 && error != E2BIG) {
                out.append(QString(qsizetype(inLeft), QChar(Replacement)));
                break;
            }
        }
        return out;
    }

private:
    iconv_t handle_;
};

bool systemKnows(int codePage) {
    return Iconv(codePage).ok();
}

QString systemDecode(int codePage, const QByteArray& bytes) {
    Iconv converter(codePage);
    return converter.ok() ? converter.convert(bytes) : QString(bytes.size(), QChar(Replacement));
}

#endif

} // namespace

RtfCodePage::RtfCodePage(int number) : number_(number) {
    if (number == 65001) {
        kind_ = Kind::Utf8;
        return;
    }
    if (isDoubleByte(number)) {
        kind_ = Kind::DoubleByte;
        return;
    }
    // Bytes the code page leaves undefined keep their own value, as Windows does for 1252.
    for (int b = 0; b < 256; ++b)
        table_[size_t(b)] = QChar(char16_t(b));
    if (number == 28591)
        return;
    if (const auto* high = macHighHalf(number)) {
        for (int b = 0x80; b < 256; ++b)
            if (const char16_t c = (*high)[size_t(b - 0x80)])
                table_[size_t(b)] = QChar(c);
        return;
    }
        // Decoding byte by byte keeps the table aligned even where a byte is undefined.
#ifdef Q_OS_WIN
    for (int b = 0x80; b < 256; ++b) {
        const QString s = systemDecode(number, QByteArray(1, char(b)));
#else
    Iconv converter(number);
    for (int b = 0x80; b < 256 && converter.ok(); ++b) {
        const QString s = converter.convert(QByteArray(1, char(b)));
#endif
        if (s.size() == 1 && s[0] != QChar(Replacement))
            table_[size_t(b)] = s[0];
    }
}

const RtfCodePage& RtfCodePages::get(int codePage) {
    if (auto it = byAskedNumber_.find(codePage); it != byAskedNumber_.end())
        return *it->second;
    // Numbers outside the Windows range, UTF-16 and what the system does not know read as 1252;
    // every unknown number costs one look-up, then shares the 1252 table.
    int usable = codePage;
    if (codePage < 37 || codePage > 65001 || codePage == 1200 || codePage == 1201 ||
        (codePage != 65001 && codePage != 28591 && !macHighHalf(codePage) && !systemKnows(codePage)))
        usable = 1252;
    std::unique_ptr<RtfCodePage>& page = pages_[usable];
    if (!page)
        page.reset(new RtfCodePage(usable));
    byAskedNumber_.emplace(codePage, page.get());
    return *page;
}

int RtfCodePage::forCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252; // ANSI
    case 2:
        return 1252; // Symbol: its bytes are shown as they are
    // The Mac charsets, as TextEdit and Word for Mac write them.
    case 77:
        return 10000; // Mac Roman
    case 78:
        return 10001; // Mac Japanese
    case 79:
        return 10003; // Mac Korean
    case 80:
        return 10008; // Mac Simplified Chinese
    case 81:
        return 10002; // Mac Traditional Chinese
    case 83:
        return 10005; // Mac Hebrew
    case 84:
        return 10004; // Mac Arabic
    case 85:
        return 10006; // Mac Greek
    case 86:
        return 10081; // Mac Turkish
    case 87:
        return 10021; // Mac Thai
    case 88:
        return 10029; // Mac Central European
    case 89:
        return 10007; // Mac Cyrillic
    case 128:
        return 932; // Shift-JIS
    case 129:
        return 949; // Hangul
    case 130:
        return 1361; // Johab
    case 134:
        return 936; // GB2312
    case 136:
        return 950; // Big5
    case 161:
        return 1253; // Greek
    case 162:
        return 1254; // Turkish
    case 163:
        return 1258; // Vietnamese
    case 177:
        return 1255; // Hebrew
    case 178:
        return 1256; // Arabic
    case 186:
        return 1257; // Baltic
    case 204:
        return 1251; // Cyrillic
    case 222:
        return 874; // Thai
    case 238:
        return 1250; // Eastern European
    case 254:
        return 437; // PC 437
    case 255:
        return 850; // OEM
    default:
        return 0; // DEFAULT_CHARSET and the rest: the document's code page
    }
}

bool RtfCodePage::isLeadByte(unsigned char byte) const {
    if (kind_ != Kind::DoubleByte)
        return false;
    if (windowsCounterpart(number_) == 932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return byte >= 0x81 && byte <= 0xFE;
}

QString RtfCodePage::decode(const QByteArray& bytes) const {
    switch (kind_) {
    case Kind::Utf8:
        return QString::fromUtf8(bytes);
    case Kind::DoubleByte:
        return systemDecode(number_, bytes);
    case Kind::SingleByte:
        break;
    }
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = table_[uchar(bytes[i])];
    return out;
}
