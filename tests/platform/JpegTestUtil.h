// JPEG files made for the tests with libjpeg itself.
#pragma once

#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace jpegtest {

// A JPEG made with libjpeg itself, in RGB or (Adobe-style, inverted) CMYK, with a restart
// marker every restartRows rows of blocks when asked.
inline QByteArray encodeJpeg(const QImage& source, bool cmyk = false, int restartRows = 0) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = image.width();
    info.image_height = image.height();
    info.input_components = cmyk ? 4 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (cmyk)
        info.write_Adobe_marker = TRUE;
    info.restart_in_rows = restartRows;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(image.width() * info.input_components);
    while (info.next_scanline < info.image_height) {
        const uchar* src = image.constScanLine(int(info.next_scanline));
        for (int x = 0; x < image.width(); ++x) {
            if (cmyk) { // inverted CMYK as Adobe writes it: 255 - (1 - k) ...
                const int r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
                const int k = std::max({r, g, b});
                row[4 * x] = k ? uchar(r * 255 / k) : 0;
                row[4 * x + 1] = k ? uchar(g * 255 / k) : 0;
                row[4 * x + 2] = k ? uchar(b * 255 / k) : 0;
                row[4 * x + 3] = uchar(k);
            } else {
                std::copy(src + 3 * x, src + 3 * x + 3, row.begin() + 3 * x);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), int(size));
    jpeg_destroy_compress(&info);
    free(buffer);
    return bytes;
}

// The JPEG with an EXIF segment holding an orientation, right after its start marker.
inline QByteArray withExifOrientation(const QByteArray& jpeg, int orientation, bool bigEndian) {
    QByteArray tiff = bigEndian ? QByteArray("MM\0\x2a\0\0\0\x08", 8) : QByteArray("II\x2a\0\x08\0\0\0", 8);
    auto put16 = [&](int v) {
        tiff += char(bigEndian ? v >> 8 : v);
        tiff += char(bigEndian ? v : v >> 8);
    };
    auto put32 = [&](int v) {
        for (int i = 0; i < 4; ++i)
            tiff += char(bigEndian ? v >> (24 - 8 * i) : v >> (8 * i));
    };
    put16(1);      // one entry
    put16(0x0112); // orientation
    put16(3);      // SHORT
    put32(1);
    put16(orientation);
    put16(0);
    put32(0);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = payload.size() + 2;
    QByteArray segment("\xff\xe1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xff);
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

} // namespace jpegtest
