#include "platform/JpegDecoder.h"

#include "platform/AppError.h"
#include "platform/FileBytes.h"
#include "platform/JpegSplit.h"

#include <QCoreApplication>
#include <QList>
#include <QTransform>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace Jpeg {
namespace {

// Codes of our own, beside libjpeg's message codes.
constexpr int TooLarge = -1;
constexpr int TooManyScans = -2;

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

// The code of libjpeg's "bad arithmetic code" warning, which its header names only when the
// library's build options are defined: looked up by its text.
int arithmeticBadCode(const jpeg_error_mgr& manager) {
    static const int code = [&manager] {
        for (int i = 0; i <= manager.last_jpeg_message; ++i)
            if (manager.jpeg_message_table[i] &&
                std::strstr(manager.jpeg_message_table[i], "bad arithmetic code"))
                return i;
        return -1000;
    }();
    return code;
}

// Warnings pass, except the picture's data ending before the picture does (libjpeg would fill
// the rest with grey, so a cut-off file, or a header claiming far more pixels than the file
// holds, would show as a picture instead of being called damaged) and arithmetic-coded data
// that makes no sense (decoding it on would only cost time).
void emitMessage(j_common_ptr info, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    const int code = manager->pub.msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER ||
                      code == arithmeticBadCode(manager->pub)))
        errorExit(info);
}

void outputMessage(j_common_ptr) {}

// A file with more scans than any real one is damaged or made to keep the decoder busy.
void watchProgress(j_common_ptr info) {
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number > MaxScans) {
        reinterpret_cast<ErrorManager*>(info->err)->code = TooManyScans;
        std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
    }
}

[[noreturn]] void fail(int code) {
    throw AppError(errorText(code));
}

[[noreturn]] void failTooLarge(QSize size) {
    throw AppError(QCoreApplication::translate("Picture",
                                               "The picture is too large (%1 × %2 pixels).")
                       .arg(size.width())
                       .arg(size.height()));
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

// A stretch of bytes the decoder reads: a few bytes held here, or part of a file.
struct Piece {
    QByteArray bytes;
    const FileBytes* file = nullptr;
    qint64 offset = 0;
    qint64 length = 0;
};

// Hands libjpeg the pieces one after the other, straight from memory when the file is there,
// else through a buffer; after the last one an end marker, as libjpeg's own sources do.
struct PieceSource {
    jpeg_source_mgr pub;
    const QList<Piece>* pieces = nullptr;
    qsizetype index = 0;
    qint64 at = 0; // within the current piece
    std::vector<JOCTET> buffer;
};

constexpr JOCTET EndMarker[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr info) {
    auto* src = reinterpret_cast<PieceSource*>(info->src);
    while (src->index < src->pieces->size()) {
        const Piece& piece = (*src->pieces)[src->index];
        const qint64 left = piece.length - src->at;
        if (left <= 0) {
            ++src->index;
            src->at = 0;
            continue;
        }
        const char* memory = piece.file ? piece.file->memory() : piece.bytes.constData();
        if (memory) {
            src->pub.next_input_byte =
                reinterpret_cast<const JOCTET*>(memory + piece.offset + src->at);
            src->pub.bytes_in_buffer = size_t(left);
            src->at = piece.length;
            return TRUE;
        }
        if (src->buffer.empty())
            src->buffer.resize(64 * 1024);
        const qint64 n =
            piece.file->read(piece.offset + src->at, reinterpret_cast<char*>(src->buffer.data()),
                             std::min<qint64>(left, qint64(src->buffer.size())));
        if (n <= 0)
            break;
        src->at += n;
        src->pub.next_input_byte = src->buffer.data();
        src->pub.bytes_in_buffer = size_t(n);
        return TRUE;
    }
    src->index = src->pieces->size();
    WARNMS(info, JWRN_JPEG_EOF);
    src->pub.next_input_byte = EndMarker;
    src->pub.bytes_in_buffer = 2;
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count) {
    auto* src = reinterpret_cast<PieceSource*>(info->src);
    if (count <= 0)
        return;
    if (size_t(count) <= src->pub.bytes_in_buffer) {
        src->pub.next_input_byte += count;
        src->pub.bytes_in_buffer -= size_t(count);
        return;
    }
    // Past what is buffered: move through the pieces without reading them.
    qint64 left = count - qint64(src->pub.bytes_in_buffer);
    src->pub.bytes_in_buffer = 0;
    while (left > 0 && src->index < src->pieces->size()) {
        const Piece& piece = (*src->pieces)[src->index];
        const qint64 step = std::min(left, piece.length - src->at);
        src->at += step;
        left -= step;
        if (src->at >= piece.length) {
            ++src->index;
            src->at = 0;
        }
    }
    if (left > 0)
        fillInput(info); // ran off the end: the end marker
}

// What a decode leaves behind; filled inside the setjmp frame, which holds no C++ objects that
// need destroying.
struct DecodeState {
    jpeg_decompress_struct info;
    ErrorManager error;
    jpeg_progress_mgr progress;
    PieceSource source;
    QList<Piece> pieces;
    int orientation = 1;
    // Where the rows go: the first row and the distance between rows; or a picture of its own.
    uchar* rows = nullptr;
    qsizetype bytesPerLine = 0;
    QImage* out = nullptr;
    QSize cover;
    int forcedScale = 0; // n of n/8 when set, instead of the one `cover` asks for
    bool headerOnly = false;
    bool created = false;
    bool cmyk = false;
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

void convertCmyk(uchar* rows, qsizetype bytesPerLine, int width, int height, bool inverted) {
    for (int y = 0; y < height; ++y) {
        uchar* line = rows + y * bytesPerLine;
        for (int x = 0; x < width; ++x) {
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

// Returns 0 on success, else the libjpeg message code or one of ours. Everything that must be
// released lives in the state, so nothing is skipped when libjpeg jumps back here.
int runDecode(DecodeState& s) {
    s.info.err = jpeg_std_error(&s.error.pub);
    s.error.pub.error_exit = errorExit;
    s.error.pub.emit_message = emitMessage;
    s.error.pub.output_message = outputMessage;
    s.error.code = 0;
    if (setjmp(s.error.jump))
        return s.error.code ? s.error.code : JERR_INPUT_EOF;
    jpeg_create_decompress(&s.info);
    s.created = true;
    s.info.mem->max_memory_to_use = MaxDecoderMemory;
    s.progress.progress_monitor = watchProgress;
    s.info.progress = &s.progress;
    s.source.pub.init_source = initSource;
    s.source.pub.fill_input_buffer = fillInput;
    s.source.pub.skip_input_data = skipInput;
    s.source.pub.resync_to_restart = jpeg_resync_to_restart;
    s.source.pub.term_source = termSource;
    s.source.pub.bytes_in_buffer = 0;
    s.source.pub.next_input_byte = nullptr;
    s.source.pieces = &s.pieces;
    s.info.src = &s.source.pub;
    jpeg_save_markers(&s.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&s.info, TRUE);
    findOrientation(s);
    // Before anything is decoded: the decoder's work and memory grow with the stored size,
    // whatever scale is asked for.
    if (qint64(s.info.image_width) * s.info.image_height > MaxDecodedPixels)
        return TooLarge;
    s.cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    if (s.headerOnly)
        return 0;
    s.info.out_color_space = s.cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    s.info.scale_num = chooseScale(s);
    s.info.scale_denom = 8;
    s.info.dct_method = JDCT_ISLOW;
    // A reduced picture gains nothing visible from smooth chroma upsampling.
    s.info.do_fancy_upsampling = s.info.scale_num < 8 ? FALSE : TRUE;
    jpeg_calc_output_dimensions(&s.info);
    if (!s.rows) {
        *s.out = QImage(int(s.info.output_width), int(s.info.output_height), QImage::Format_RGB32);
        if (s.out->isNull())
            return JERR_OUT_OF_MEMORY;
        s.rows = s.out->bits();
        s.bytesPerLine = s.out->bytesPerLine();
    }
    jpeg_start_decompress(&s.info);
    JSAMPROW rows[16];
    while (s.info.output_scanline < s.info.output_height) {
        const JDIMENSION first = s.info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(16, s.info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = s.rows + qsizetype(first + i) * s.bytesPerLine;
        jpeg_read_scanlines(&s.info, rows, count);
    }
    jpeg_finish_decompress(&s.info);
    if (s.cmyk)
        convertCmyk(s.rows, s.bytesPerLine, int(s.info.output_width), int(s.info.output_height),
                    s.info.saw_Adobe_marker);
    return 0;
}

void release(DecodeState& s) {
    if (s.created)
        jpeg_destroy_decompress(&s.info);
    s.created = false;
}

QList<Piece> wholeFile(const FileBytes& bytes) {
    return {Piece{QByteArray(), &bytes, 0, bytes.size()}};
}

} // namespace

QString errorText(int code) {
    QString what;
    switch (code) {
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EOF:
        what = QCoreApplication::translate("Picture", "the file ends early");
        break;
    case JWRN_HIT_MARKER:
        what = QCoreApplication::translate("Picture", "the picture's data ends early");
        break;
    case JERR_NO_SOI:
        what = QCoreApplication::translate("Picture", "not a JPEG file");
        break;
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
        what = QCoreApplication::translate("Picture", "too large to decode in memory");
        break;
    case JERR_SOF_UNSUPPORTED:
    case JERR_NOT_COMPILED:
    case JERR_ARITH_NOTIMPL:
        what = QCoreApplication::translate("Picture", "a kind of JPEG that cannot be read");
        break;
    case TooManyScans:
        what = QCoreApplication::translate("Picture", "more scans than any real picture has");
        break;
    default:
        what = QCoreApplication::translate("Picture", "the file is damaged");
        break;
    }
    if (code < 0)
        return QCoreApplication::translate("Picture", "JPEG error (%1)").arg(what);
    return QStringLiteral("JPEG error #%1 (%2)").arg(code).arg(what);
}

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

Header readHeader(const FileBytes& bytes) {
    DecodeState state;
    state.headerOnly = true;
    state.pieces = wholeFile(bytes);
    const int code = runDecode(state);
    const Header header{QSize(int(state.info.image_width), int(state.info.image_height)),
                        state.orientation};
    release(state);
    if (code == TooLarge)
        failTooLarge(header.size);
    if (code != 0)
        fail(code);
    return header;
}

Header readHeader(const QByteArray& data) {
    return readHeader(*FileBytes::inMemory(data));
}

std::optional<QImage> decodeInHalves(const FileBytes& bytes, QSize cover) {
    DecodeState header;
    header.headerOnly = true;
    header.cover = cover;
    header.pieces = wholeFile(bytes);
    const int headerCode = runDecode(header);
    const int scale = headerCode == 0 ? chooseScale(header) : 8;
    const int orientation = header.orientation;
    const bool cmyk = header.cmyk;
    const QSize stored(int(header.info.image_width), int(header.info.image_height));
    release(header);
    // Full-size decodes smooth their colours across rows, so only reduced ones are cut.
    if (headerCode != 0 || cmyk || scale >= 8)
        return std::nullopt;
    const std::optional<Split> split = findSplit(bytes);
    if (!split)
        return std::nullopt;

    // Both halves decode straight into their rows of one picture.
    const int width = (stored.width() * scale + 7) / 8;
    const int topRows = split->topHeight * scale / 8;
    const int bottomRows = ((stored.height() - split->topHeight) * scale + 7) / 8;
    QImage whole(width, topRows + bottomRows, QImage::Format_RGB32);
    if (whole.isNull())
        return std::nullopt;
    const QByteArray end(reinterpret_cast<const char*>(EndMarker), 2);
    DecodeState a, b;
    a.pieces = {Piece{split->topHeader, nullptr, 0, split->topHeader.size()},
                Piece{QByteArray(), &bytes, split->topStart, split->topEnd - split->topStart},
                Piece{end, nullptr, 0, 2}};
    b.pieces = {
        Piece{split->bottomHeader, nullptr, 0, split->bottomHeader.size()},
        Piece{QByteArray(), &bytes, split->bottomStart, split->bottomEnd - split->bottomStart},
        Piece{end, nullptr, 0, 2}};
    a.forcedScale = b.forcedScale = scale;
    a.bytesPerLine = b.bytesPerLine = whole.bytesPerLine();
    a.rows = whole.bits();
    b.rows = a.rows + qsizetype(topRows) * whole.bytesPerLine();
    int codeBottom = 0;
    std::thread worker;
    try {
        worker = std::thread([&] { codeBottom = runDecode(b); });
    } catch (const std::system_error&) {
        return std::nullopt; // no second thread to be had: decode it whole
    }
    const int codeTop = runDecode(a);
    worker.join();
    const bool fits = a.info.output_width == JDIMENSION(width) &&
                      b.info.output_width == JDIMENSION(width) &&
                      a.info.output_height == JDIMENSION(topRows) &&
                      b.info.output_height == JDIMENSION(bottomRows);
    release(a);
    release(b);
    if (codeTop != 0 || codeBottom != 0 || !fits)
        return std::nullopt; // the whole decode then says what is wrong
    return applyOrientation(whole, orientation);
}

std::optional<QImage> decodeInHalves(const QByteArray& data, QSize cover) {
    return decodeInHalves(*FileBytes::inMemory(data), cover);
}

QImage decode(const FileBytes& bytes, QSize cover, bool allowHalves) {
    if (allowHalves && !cover.isEmpty() && bytes.size() >= HalvesThreshold)
        if (std::optional<QImage> image = decodeInHalves(bytes, cover))
            return *image;
    QImage image;
    DecodeState state;
    state.out = &image;
    state.cover = cover;
    state.pieces = wholeFile(bytes);
    const int code = runDecode(state);
    const QSize stored(int(state.info.image_width), int(state.info.image_height));
    release(state);
    if (code == TooLarge)
        failTooLarge(stored);
    if (code != 0)
        fail(code);
    return applyOrientation(image, state.orientation);
}

QImage decode(const QByteArray& data, QSize cover, bool allowHalves) {
    return decode(*FileBytes::inMemory(data), cover, allowHalves);
}

} // namespace Jpeg
