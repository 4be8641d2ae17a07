#include "platform/Picture.h"

#include "platform/AppError.h"
#include "platform/FileBytes.h"
#include "platform/JpegDecoder.h"
#include "platform/SaveWhole.h"
#include "platform/SystemReason.h"
#include "platform/WorkAside.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace {

bool looksLikeJpeg(const QByteArray& d) {
    return d.size() >= 3 && uchar(d[0]) == 0xFF && uchar(d[1]) == 0xD8 && uchar(d[2]) == 0xFF;
}

bool looksLikeBitmap(const QByteArray& d, qint64 size) {
    return size >= 14 && d.startsWith("BM");
}

quint32 le32(const QByteArray& d, int at) {
    return quint32(uchar(d[at])) | quint32(uchar(d[at + 1])) << 8 |
           quint32(uchar(d[at + 2])) << 16 | quint32(uchar(d[at + 3])) << 24;
}

// An uncompressed bitmap must hold all the rows its header promises; Qt's reader would fill a
// cut-off file with black instead of saying it is damaged. `head` is the file's start, `size`
// its whole size.
bool bitmapIsComplete(const QByteArray& head, qint64 size) {
    if (head.size() < 54)
        return false;
    const quint32 headerSize = le32(head, 14);
    if (headerSize < 40)
        return true; // an old OS/2 header: left to the reader
    const qint64 width = qint32(le32(head, 18));
    const qint64 height = std::abs(qint64(qint32(le32(head, 22))));
    const int bits = uchar(head[28]) | uchar(head[29]) << 8;
    const quint32 compression = le32(head, 30);
    if (compression != 0 && compression != 3)
        return true; // run-length encoded: the reader checks as it decodes
    if (width <= 0 || bits <= 0 || bits > 32)
        return false;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    const qint64 pixelBytes = size - qint64(le32(head, 10));
    // Divided rather than multiplied: a header may claim sizes whose product overflows.
    return pixelBytes >= 0 && (height == 0 || stride <= pixelBytes / height);
}

// The Qt reader's name for the format the content shows, or empty.
QByteArray sniffQtFormat(const QByteArray& head) {
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer);
}

bool isJpegExtension(const QString& ext) {
    return ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"jfif";
}

bool isQtExtension(const QString& ext) {
    return QImageReader::supportedImageFormats().contains(ext.toLatin1());
}

[[noreturn]] void failTooLarge(QSize size) {
    throw AppError(QCoreApplication::translate("Picture",
                                               "The picture is too large (%1 × %2 pixels).")
                       .arg(size.width())
                       .arg(size.height()));
}

// What the file is, from its first bytes (and its extension when they say nothing).
struct Kind {
    Picture::Format format = Picture::Format::None;
    QByteArray qtFormat; // the Qt reader's name, for Format::Other
};

Kind recognise(const QByteArray& head, qint64 size, const QString& extension) {
    const QString ext = extension.toLower();
    // The content decides when it is recognisable, so that a bitmap saved as ".jpg" loads.
    if (looksLikeJpeg(head))
        return {Picture::Format::Jpeg, {}};
    if (looksLikeBitmap(head, size))
        return {Picture::Format::Bitmap, "bmp"};
    if (const QByteArray sniffed = sniffQtFormat(head); !sniffed.isEmpty())
        return {sniffed == "jpeg"  ? Picture::Format::Jpeg
                : sniffed == "bmp" ? Picture::Format::Bitmap
                                   : Picture::Format::Other,
                sniffed};
    if (isJpegExtension(ext))
        return {Picture::Format::Jpeg, {}};
    if (ext == u"bmp" || ext == u"dib")
        return {Picture::Format::Bitmap, "bmp"};
    if (isQtExtension(ext))
        return {Picture::Format::Other, ext.toLatin1()};
    throw AppError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
}

// A reader over the bytes, wherever they are kept.
std::unique_ptr<QIODevice> deviceOver(const FileBytes& bytes) {
    if (const char* memory = bytes.memory()) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(QByteArray::fromRawData(memory, bytes.size()));
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(bytes.handle(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle) ||
        !file->seek(0))
        throw AppError(QStringLiteral("Bitmap image is not valid"));
    return file;
}

QImage readWithQt(const FileBytes& bytes, const QByteArray& format, QSize* fullSize) {
    const std::unique_ptr<QIODevice> device = deviceOver(bytes);
    QImageReader reader(device.get(), format);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > Jpeg::MaxDecodedPixels)
        failTooLarge(size);
    if (size.isValid())
        *fullSize = size;
    QImage image = reader.read();
    if (image.isNull())
        throw AppError(format == "bmp" ? QStringLiteral("Bitmap image is not valid")
                                       : QCoreApplication::translate(
                                             "Picture", "The picture file is damaged (%1).")
                                             .arg(QString::fromLatin1(format)));
    if (!size.isValid())
        *fullSize = image.size();
    return image;
}

// What is checked before a file is read beyond its header: a JPEG's size in pixels, a bitmap's
// rows being all there.
void checkHeader(const Kind& kind, const FileBytes& bytes, const QByteArray& head) {
    if (kind.format == Picture::Format::Jpeg) {
        (void)Jpeg::readHeader(bytes); // throws for a damaged or too large one
    } else if (kind.format == Picture::Format::Bitmap) {
        if (!head.startsWith("BM") || !bitmapIsComplete(head, bytes.size()))
            throw AppError(QStringLiteral("Bitmap image is not valid"));
    } else {
        QBuffer start;
        start.setData(head);
        start.open(QIODevice::ReadOnly);
        if (!QImageReader(&start, kind.qtFormat).canRead())
            throw AppError(QCoreApplication::translate("Picture", "The picture file is damaged (%1).")
                               .arg(QString::fromLatin1(kind.qtFormat)));
    }
}

struct Decoded {
    QImage image;
    QSize fullSize;
};

Decoded decodeKind(const Kind& kind, const FileBytes& bytes, QSize cover) {
    Decoded d;
    if (kind.format == Picture::Format::Jpeg) {
        const Jpeg::Header header = Jpeg::readHeader(bytes);
        d.fullSize = header.orientation >= 5 ? header.size.transposed() : header.size;
        d.image = Jpeg::decode(bytes, cover);
    } else {
        d.image = readWithQt(bytes, kind.qtFormat, &d.fullSize);
    }
    return d;
}

constexpr qint64 HeadBytes = 4096;

} // namespace

void Picture::loadFromFile(const QString& fileName, QSize cover) {
    const RegularFile file(fileName);
    if (file.size() > MaxFileBytes)
        throw AppError(QCoreApplication::translate(
                           "Picture", "%1 is too large for a picture (%2 MB; at most %3 MB).")
                           .arg(QDir::toNativeSeparators(fileName))
                           .arg(file.size() / (1024 * 1024))
                           .arg(MaxFileBytes / (1024 * 1024)));
    const QByteArray head = file.read(0, HeadBytes);
    const Kind kind = recognise(head, file.size(), QFileInfo(fileName).suffix());
    std::shared_ptr<const FileBytes> kept;
    Decoded decoded;
    runAside([&] {
        checkHeader(kind, *FileBytes::sharing(file), head);
        kept = FileBytes::copyOf(file);
        decoded = decodeKind(kind, *kept, cover);
    });
    image_ = decoded.image;
    original_ = kept;
    format_ = kind.format;
    qtFormat_ = kind.qtFormat;
    fullSize_ = decoded.fullSize;
    modified_ = false;
}

QStringList Picture::readableExtensions() {
    QStringList extensions{QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
                           QStringLiteral("jfif"), QStringLiteral("bmp"),  QStringLiteral("dib")};
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        extensions.append(QString::fromLatin1(format).toLower());
    extensions.removeDuplicates();
    return extensions;
}

void Picture::loadFromData(const QByteArray& data, const QString& extension, QSize cover) {
    const std::shared_ptr<const FileBytes> bytes = FileBytes::inMemory(data);
    const Kind kind = recognise(data.left(HeadBytes), data.size(), extension);
    checkHeader(kind, *bytes, data.left(HeadBytes));
    const Decoded decoded = decodeKind(kind, *bytes, cover);
    image_ = decoded.image;
    original_ = bytes;
    format_ = kind.format;
    qtFormat_ = kind.qtFormat;
    fullSize_ = decoded.fullSize;
    modified_ = false;
}

bool Picture::isUnchanged() const {
    return !modified_ && original_ && original_->size() > 0;
}

QByteArray Picture::originalBytes() const {
    return original_ ? original_->toByteArray() : QByteArray();
}

QImage Picture::decode(QSize cover) const {
    if (modified_ || format_ != Format::Jpeg || !original_)
        return image_;
    return Jpeg::decode(*original_, cover);
}

void Picture::setImage(const QImage& image, Format format) {
    image_ = image;
    format_ = format;
    if (format == Format::Bitmap)
        qtFormat_ = "bmp";
    fullSize_ = image.size();
    modified_ = true;
}

void Picture::clear() {
    *this = Picture();
}

QByteArray Picture::fileBytes(const QString& fileName) const {
    if (!modified_ && original_ && original_->size() > 0)
        return original_->toByteArray();
    const QByteArray format = format_ == Format::Jpeg ? QByteArray("jpeg")
                              : qtFormat_.isEmpty()   ? QByteArray("bmp")
                                                      : qtFormat_;
    if (format == "bmp")
        return windowsBitmap(image_);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (format == "jpeg")
        writer.setQuality(92);
    if (!writer.write(image_))
        throw AppError(QStringLiteral("Cannot create file %1").arg(fileName));
    return bytes;
}

void Picture::saveToFile(const QString& fileName) const {
    if (!saveFileWhole(fileName, fileBytes(fileName)))
        throw AppError(withReason(QStringLiteral("Cannot create file %1").arg(fileName),
                                  whyCannotWrite(fileName)));
}

QByteArray windowsBitmap(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const qint64 width = rgb.width();
    const qint64 height = rgb.height();
    const qint64 stride = (width * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = stride * height;
    constexpr int headerBytes = 14 + 40;
    QByteArray out(headerBytes + pixelBytes, '\0');
    auto put16 = [&](int at, quint16 v) {
        out[at] = char(v & 0xFF);
        out[at + 1] = char(v >> 8);
    };
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, quint32(out.size()));
    put32(10, headerBytes);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height)); // positive: the rows run from the bottom up
    put16(26, 1);               // planes
    put16(28, 24);              // bits a pixel
    put32(30, 0);               // no compression
    put32(34, quint32(pixelBytes));
    put32(38, 3780); // 96 dots an inch, in pixels a metre
    put32(42, 3780);
    char* pixels = out.data() + headerBytes;
    for (qint64 y = 0; y < height; ++y) {
        const uchar* from = rgb.constScanLine(int(height - 1 - y));
        char* to = pixels + y * stride;
        for (qint64 x = 0; x < width; ++x) {
            to[x * 3] = char(from[x * 3 + 2]);
            to[x * 3 + 1] = char(from[x * 3 + 1]);
            to[x * 3 + 2] = char(from[x * 3]);
        }
    }
    return out;
}
