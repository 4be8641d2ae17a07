// JPEG decoding through libjpeg-turbo: scaled DCT decoding (a 24-megapixel photo shown at 480
// pixels is decoded at an eighth of its size), EXIF orientation, CMYK. The bytes are read as the
// decoder asks for them, from memory or from a file, never copied whole. Failures throw AppError
// "JPEG error #<libjpeg message code> (<what is wrong, in words>)", or that the picture is too
// large: the size in the header is checked before anything is decoded, whatever the coding
// (baseline, progressive, arithmetic), and a damaged file cannot make the decoder work without
// end (a limit on scans and on the decoder's memory).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

class FileBytes;

namespace Jpeg {

struct Header {
    QSize size;          // as stored, before orientation
    int orientation = 1; // EXIF orientation 1..8
};

// Reads the header only. Throws a too-large picture as AppError, like decode.
Header readHeader(const FileBytes& bytes);
Header readHeader(const QByteArray& data);

// Decodes at the smallest scale (n/8 of the stored size) that still covers `cover` once turned
// upright; an empty `cover` decodes at full size. The result is upright. A large file with
// restart markers is decoded as two halves on two threads when allowHalves is set.
QImage decode(const FileBytes& bytes, QSize cover = QSize(), bool allowHalves = true);
QImage decode(const QByteArray& data, QSize cover = QSize(), bool allowHalves = true);

// The reduced decode of a file with restart markers, its halves decoded side by side into one
// picture; nothing when the file cannot be cut or a half fails (decode then decodes it whole).
std::optional<QImage> decodeInHalves(const FileBytes& bytes, QSize cover);
std::optional<QImage> decodeInHalves(const QByteArray& data, QSize cover);

// Files smaller than this are decoded whole: starting a thread costs more than it saves.
inline constexpr qint64 HalvesThreshold = 512 * 1024;

// The EXIF orientation found in an APP1 segment's payload, or 1.
int orientationFromExif(const QByteArray& app1);

// The image turned upright for an EXIF orientation.
QImage applyOrientation(const QImage& image, int orientation);

// The message for a libjpeg message code: "JPEG error #<code> (<in words>)".
QString errorText(int code);

// The largest picture the program agrees to decode, in pixels as stored.
inline constexpr qint64 MaxDecodedPixels = 100'000'000;
// The most scans a progressive file may have; real ones have about ten.
inline constexpr int MaxScans = 100;
// What libjpeg may hold for a picture that must be read whole before it shows (progressive).
inline constexpr long MaxDecoderMemory = 512L * 1024 * 1024;

} // namespace Jpeg
