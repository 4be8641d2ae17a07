#include "platform/PlainBitmap.h"

#include <cstdint>
#include <cstdlib>

namespace {

std::uint32_t u32(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t u16(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return std::uint16_t(p[0] | p[1] << 8);
}

constexpr int FileHeaderSize = 14;
constexpr int LargestSide = 20000;

} // namespace

std::optional<QImage> readPlainBitmap(const QByteArray& bytes) {
    if (bytes.size() < FileHeaderSize + 40 || !bytes.startsWith("BM"))
        return std::nullopt;
    const std::uint32_t pixelsAt = u32(bytes, 10);
    const std::uint32_t infoSize = u32(bytes, 14);
    // The information header of Windows 3 and its longer successors (V4, V5) begin alike.
    if (infoSize < 40 || infoSize > 124 || FileHeaderSize + qsizetype(infoSize) > bytes.size())
        return std::nullopt;
    const auto width = std::int32_t(u32(bytes, 18));
    const auto height = std::int32_t(u32(bytes, 22));
    const bool topDown = height < 0;
    const int rows = std::abs(height);
    if (u16(bytes, 26) != 1 || u16(bytes, 28) != 24 || u32(bytes, 30) != 0 /* BI_RGB */ ||
        width <= 0 || width > LargestSide || rows == 0 || rows > LargestSide)
        return std::nullopt;
    const qsizetype stride = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
    if (pixelsAt < FileHeaderSize + infoSize || qsizetype(pixelsAt) + stride * rows > bytes.size())
        return std::nullopt;
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData()) + pixelsAt;
    for (int y = 0; y < rows; ++y) {
        const unsigned char* in = data + stride * (topDown ? y : rows - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}
