#include "platform/JpegDecoder.h"

#include "platform/AppError.h"
#include "platform/JpegSplit.h"

#include <QTransform>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

#include <jerror.h>
#include <jpeglib.h>

namespace Jpeg {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int code;
};

[[noreturn]] void errorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->code = manager->pub.msg_code;
    std::longjmp(manager->jump, 1);
}

// Warnings pass, except the picture's data ending before the picture does: libjpeg would fill
// the rest with grey, so a cut-off file (or a header claiming far more pixels than the file
// holds) would show as a picture instead of being called damaged.
void emitMessage(j_common_ptr info, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    const int code = manager->pub.msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        errorExit(info);
}

void outputMessage(j_common_ptr) {}

[[noreturn]] void fail(int code) {
    throw AppError(QStringLiteral("JPEG error #%1").arg(code));
}

bool turnsSideways(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

quint16 read16(const uchar* p, bool bigEndian) {
    return bigEndian ? quint16(p[0] << 8 | p[1]) : quint16(p[1] << 8 | p[0]);
}

quint32 read32(const uchar* p, bool bigEndian) {
    return bigEndian ? quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]
                     : quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
}

// What a decode leaves behind; filled inside the setjmp frame, which holds no C++ objects.
struct DecodeState {
    jpeg_decompress_struct info;
    ErrorManager error;
    int orientation = 1;
    QImage* out = nullptr;
    QSize cover;
    int forcedScale = 0; // n of n/8 when set, instead of the one `cover` asks for
    bool headerOnly = false;
    bool created = false;
};

void findOrientation(DecodeState& s) {
    for (jpeg_saved_marker_ptr m = s.info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1) {
            const int o = orientationFromExif(QByteArray::fromRawData(
                reinterpret_cast<const char*>(m->data), int(m->data_length)));
            if (o != 1) {
                s.orientation = o;
                return;
            }
        }
}

int chooseScale(const DecodeState& s) {
    if (s.forcedScale > 0)
        return s.forcedScale;
    if (s.cover.isEmpty())
        return 8;
    QSize cover = s.cover;
    if (turnsSideways(s.orientation))
        cover.transpose();
    const qint64 w = s.info.image_width, h = s.info.image_height;
    for (int n = 1; n < 8; ++n)
        if ((w * n + 7) / 8 >= cover.width() && (h * n + 7) / 8 >= cover.height())
            return n;
    return 8;
}

void convertCmyk(QImage& image, bool inverted) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<uchar*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            uchar* p = line + 4 * x;
            int c = p[0], m = p[1], yy = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                yy = 255 - yy;
                k = 255 - k;
            }
            reinterpret_cast<QRgb*>(line)[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
        }
    }
}

// Returns 0 on success, else the libjpeg message code. Everything that must be released lives
// in the state, so nothing is skipped when libjpeg jumps back here.
int runDecode(DecodeState& s, const QByteArray& data) {
    s.info.err = jpeg_std_error(&s.error.pub);
    s.error.pub.error_exit = errorExit;
    s.error.pub.emit_message = emitMessage;
    s.error.pub.output_message = outputMessage;
    s.error.code = 0;
    if (setjmp(s.error.jump))
        return s.error.code ? s.error.code : JERR_INPUT_EOF;
    jpeg_create_decompress(&s.info);
    s.created = true;
    jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&s.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&s.info, TRUE);
    findOrientation(s);
    if (s.headerOnly)
        return 0;
    const bool cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    s.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    s.info.scale_num = chooseScale(s);
    s.info.scale_denom = 8;
    s.info.dct_method = JDCT_ISLOW;
    // A reduced picture gains nothing visible from smooth chroma upsampling.
    s.info.do_fancy_upsampling = s.info.scale_num < 8 ? FALSE : TRUE;
    jpeg_calc_output_dimensions(&s.info);
    if (qint64(s.info.output_width) * s.info.output_height > MaxDecodedPixels)
        return -1;
    *s.out = QImage(int(s.info.output_width), int(s.info.output_height), QImage::Format_RGB32);
    if (s.out->isNull())
        return JERR_OUT_OF_MEMORY;
    jpeg_start_decompress(&s.info);
    while (s.info.output_scanline < s.info.output_height) {
        JSAMPROW row = s.out->scanLine(int(s.info.output_scanline));
        jpeg_read_scanlines(&s.info, &row, 1);
    }
    jpeg_finish_decompress(&s.info);
    if (cmyk)
        convertCmyk(*s.out, s.info.saw_Adobe_marker);
    return 0;
}

} // namespace

int orientationFromExif(const QByteArray& app1) {
    if (app1.size() < 14 || !app1.startsWith(QByteArray("Exif\0\0", 6)))
        return 1;
    const auto* tiff = reinterpret_cast<const uchar*>(app1.constData()) + 6;
    const qint64 size = app1.size() - 6;
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I'))
        return 1;
    const qint64 ifd = read32(tiff + 4, bigEndian); // 64 bits: an offset near 4 GB must not wrap
    if (ifd + 2 > size)
        return 1;
    const int count = read16(tiff + ifd, bigEndian);
    for (int i = 0; i < count; ++i) {
        const qint64 entry = ifd + 2 + 12 * qint64(i);
        if (entry + 12 > size)
            return 1;
        if (read16(tiff + entry, bigEndian) == 0x0112) {
            const int value = read16(tiff + entry + 8, bigEndian);
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

QImage applyOrientation(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.transformed(QTransform().rotate(180));
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

Header readHeader(const QByteArray& data) {
    DecodeState state;
    state.headerOnly = true;
    const int code = runDecode(state, data);
    Header header{QSize(int(state.info.image_width), int(state.info.image_height)),
                  state.orientation};
    if (state.created)
        jpeg_destroy_decompress(&state.info);
    if (code != 0)
        fail(code);
    return header;
}

std::optional<QImage> decodeInHalves(const QByteArray& data, QSize cover) {
    DecodeState header;
    header.headerOnly = true;
    header.cover = cover;
    const int headerCode = runDecode(header, data);
    const bool cmyk =
        header.info.jpeg_color_space == JCS_CMYK || header.info.jpeg_color_space == JCS_YCCK;
    const int scale = headerCode == 0 ? chooseScale(header) : 8;
    const int orientation = header.orientation;
    if (header.created)
        jpeg_destroy_decompress(&header.info);
    // Full-size decodes smooth their colours across rows, so only reduced ones are cut.
    if (headerCode != 0 || cmyk || scale >= 8)
        return std::nullopt;
    const std::optional<Halves> halves = splitAtRestartMarker(data);
    if (!halves)
        return std::nullopt;

    QImage top, bottom;
    DecodeState a, b;
    a.out = &top;
    b.out = &bottom;
    a.forcedScale = b.forcedScale = scale;
    int codeBottom = 0;
    std::thread worker;
    try {
        worker = std::thread([&] { codeBottom = runDecode(b, halves->bottom); });
    } catch (const std::system_error&) {
        return std::nullopt; // no second thread to be had: decode it whole
    }
    const int codeTop = runDecode(a, halves->top);
    worker.join();
    if (a.created)
        jpeg_destroy_decompress(&a.info);
    if (b.created)
        jpeg_destroy_decompress(&b.info);
    if (codeTop != 0 || codeBottom != 0 || top.width() != bottom.width())
        return std::nullopt; // the whole decode then says what is wrong
    QImage whole(top.width(), top.height() + bottom.height(), QImage::Format_RGB32);
    for (int y = 0; y < top.height(); ++y)
        std::memcpy(whole.scanLine(y), top.constScanLine(y), size_t(top.bytesPerLine()));
    for (int y = 0; y < bottom.height(); ++y)
        std::memcpy(whole.scanLine(top.height() + y), bottom.constScanLine(y),
                    size_t(bottom.bytesPerLine()));
    return applyOrientation(whole, orientation);
}

QImage decode(const QByteArray& data, QSize cover, bool allowHalves) {
    if (allowHalves && !cover.isEmpty() && data.size() >= HalvesThreshold)
        if (std::optional<QImage> image = decodeInHalves(data, cover))
            return *image;
    QImage image;
    DecodeState state;
    state.out = &image;
    state.cover = cover;
    const int code = runDecode(state, data);
    const QSize stored(int(state.info.image_width), int(state.info.image_height));
    if (state.created)
        jpeg_destroy_decompress(&state.info);
    if (code == -1)
        throw AppError(QStringLiteral("The picture is too large (%1 × %2 pixels)")
                           .arg(stored.width())
                           .arg(stored.height()));
    if (code != 0)
        fail(code);
    return applyOrientation(image, state.orientation);
}

} // namespace Jpeg
