#include "rtf/TextFile.h"

#include "platform/AppError.h"
#include "rtf/RtfCodePages.h"

#include <QStringDecoder>

QString decodeTextFile(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        const QString text = utf16(bytes.mid(2));
        if (!utf16.hasError())
            return text;
        throw AppError(QStringLiteral("Failed to Load Stream"));
    }
    // Text has no NUL bytes and few control characters besides tab, line feed, carriage return
    // and form feed.
    qsizetype control = 0;
    for (const char c : bytes) {
        const uchar b = uchar(c);
        if (b == 0)
            throw AppError(QStringLiteral("Failed to Load Stream"));
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A)
            ++control;
    }
    if (control > 8 && control * 100 > bytes.size())
        throw AppError(QStringLiteral("Failed to Load Stream"));

    QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    RtfCodePages codePages;
    return codePages.get(1252).decode(body);
}
