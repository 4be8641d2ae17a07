// JPEG decoding through libjpeg-turbo: scaled DCT decoding (a 24-megapixel photo shown at 480
// pixels is decoded at an eighth of its size), EXIF orientation, CMYK. Failures throw AppError
// "JPEG error #<libjpeg message code>".
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

namespace Jpeg {

struct Header {
    QSize size;          // as stored, before orientation
    int orientation = 1; // EXIF orientation 1..8
};

// Reads the header only.
Header readHeader(const QByteArray& data);

// Decodes at the smallest scale (n/8 of the stored size) that still covers `cover` once turned
// upright; an empty `cover` decodes at full size. The result is upright. A large file with
// restart markers is decoded as two halves on two threads when allowHalves is set.
QImage decode(const QByteArray& data, QSize cover = QSize(), bool allowHalves = true);

// The reduced decode of a file with restart markers, its halves decoded side by side; nothing
// when the file cannot be cut or a half fails (Decode then decodes it whole).
std::optional<QImage> decodeInHalves(const QByteArray& data, QSize cover);

// Files smaller than this are decoded whole: starting a thread costs more than it saves.
inline constexpr qsizetype HalvesThreshold = 512 * 1024;

// The EXIF orientation found in an APP1 segment's payload, or 1.
int orientationFromExif(const QByteArray& app1);

// The image turned upright for an EXIF orientation.
QImage applyOrientation(const QImage& image, int orientation);

// The largest picture the program agrees to hold in memory, in pixels.
inline constexpr qint64 MaxDecodedPixels = 100'000'000;

} // namespace Jpeg
