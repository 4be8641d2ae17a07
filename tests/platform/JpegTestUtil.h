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

enum class Coding { Huffman, Progressive, Arithmetic, ArithmeticProgressive, ManyScans };

// A small JPEG in one of the codings libjpeg writes. ManyScans is progressive with a scan for
// every coefficient of every component (195 scans): legal, and far more than any camera writes.
inline QByteArray encodeCoded(const QImage& source, Coding coding) {
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
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    std::vector<jpeg_scan_info> scans;
    if (coding == Coding::Progressive || coding == Coding::ArithmeticProgressive)
        jpeg_simple_progression(&info);
    if (coding == Coding::Arithmetic || coding == Coding::ArithmeticProgressive)
        info.arith_code = TRUE;
    if (coding == Coding::ManyScans) {
        scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
        for (int c = 0; c < 3; ++c)
            for (int k = 1; k < 64; ++k)
                scans.push_back({1, {c, 0, 0, 0}, k, k, 0, 0});
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {const_cast<uchar*>(image.constScanLine(int(info.next_scanline)))};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), int(size));
    jpeg_destroy_compress(&info);
    free(buffer);
    return bytes;
}

// The JPEG with its frame header claiming another size (its data stays that of the small one).
inline QByteArray claimingSize(QByteArray jpeg, int width, int height) {
    for (int at = 2; at + 9 < jpeg.size();) {
        const int marker = uchar(jpeg[at + 1]);
        const int length = uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            jpeg[at + 5] = char(height >> 8);
            jpeg[at + 6] = char(height & 0xff);
            jpeg[at + 7] = char(width >> 8);
            jpeg[at + 8] = char(width & 0xff);
            return jpeg;
        }
        at += 2 + length;
    }
    return jpeg;
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
