#include "platform/Picture.h"

#include "platform/AppError.h"
#include "platform/JpegDecoder.h"
#include "platform/SaveWhole.h"
#include "platform/SystemReason.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace {

bool looksLikeJpeg(const QByteArray& d) {
    return d.size() >= 3 && uchar(d[0]) == 0xFF && uchar(d[1]) == 0xD8 && uchar(d[2]) == 0xFF;
}

bool looksLikeBitmap(const QByteArray& d) {
    return d.size() >= 14 && d.startsWith("BM");
}

quint32 le32(const QByteArray& d, int at) {
    return quint32(uchar(d[at])) | quint32(uchar(d[at + 1])) << 8 |
           quint32(uchar(d[at + 2])) << 16 | quint32(uchar(d[at + 3])) << 24;
}

// An uncompressed bitmap must hold all the rows its header promises; Qt's reader would fill a
// cut-off file with black instead of saying it is damaged.
bool bitmapIsComplete(const QByteArray& d) {
    if (d.size() < 54)
        return false;
    const quint32 headerSize = le32(d, 14);
    if (headerSize < 40)
        return true; // an old OS/2 header: left to the reader
    const qint64 width = qint32(le32(d, 18));
    const qint64 height = std::abs(qint64(qint32(le32(d, 22))));
    const int bits = uchar(d[28]) | uchar(d[29]) << 8;
    const quint32 compression = le32(d, 30);
    if (compression != 0 && compression != 3)
        return true; // run-length encoded: the reader checks as it decodes
    if (width <= 0 || bits <= 0 || bits > 32)
        return false;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    const qint64 pixelBytes = d.size() - qint64(le32(d, 10));
    // Divided rather than multiplied: a header may claim sizes whose product overflows.
    return pixelBytes >= 0 && (height == 0 || stride <= pixelBytes / height);
}

// The Qt reader's name for the format the content shows, or empty.
QByteArray sniffQtFormat(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer);
}

bool isJpegExtension(const QString& ext) {
    return ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"jfif";
}

bool isQtExtension(const QString& ext) {
    return QImageReader::supportedImageFormats().contains(ext.toLatin1());
}

QImage readWithQt(const QByteArray& data, const QByteArray& format, QSize cover, QSize* fullSize) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > Jpeg::MaxDecodedPixels)
        throw AppError(QStringLiteral("The picture is too large (%1 × %2 pixels)")
                           .arg(size.width())
                           .arg(size.height()));
    if (size.isValid())
        *fullSize = size;
    Q_UNUSED(cover);
    QImage image = reader.read();
    if (image.isNull())
        throw AppError(format == "bmp" ? QStringLiteral("Bitmap image is not valid")
                                       : QStringLiteral("The picture file is damaged (%1)")
                                             .arg(QString::fromLatin1(format)));
    if (!size.isValid())
        *fullSize = image.size();
    return image;
}

} // namespace

void Picture::loadFromFile(const QString& fileName, QSize cover) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open file %1").arg(fileName));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("Cannot open file %1").arg(fileName));
    loadFromData(data, QFileInfo(fileName).suffix(), cover);
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
    const QString ext = extension.toLower();
    Format format = Format::None;
    QByteArray qtFormat;
    // The content decides when it is recognisable, so that a bitmap saved as ".jpg" loads.
    if (looksLikeJpeg(data)) {
        format = Format::Jpeg;
    } else if (looksLikeBitmap(data)) {
        format = Format::Bitmap;
    } else if (const QByteArray sniffed = sniffQtFormat(data); !sniffed.isEmpty()) {
        format = sniffed == "jpeg"  ? Format::Jpeg
                 : sniffed == "bmp" ? Format::Bitmap
                                    : Format::Other;
        qtFormat = sniffed;
    } else if (isJpegExtension(ext)) {
        format = Format::Jpeg;
    } else if (ext == u"bmp" || ext == u"dib") {
        format = Format::Bitmap;
    } else if (isQtExtension(ext)) {
        format = Format::Other;
        qtFormat = ext.toLatin1();
    } else {
        throw AppError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
    }

    if (format == Format::Bitmap && !bitmapIsComplete(data))
        throw AppError(QStringLiteral("Bitmap image is not valid"));

    QImage image;
    QSize fullSize;
    if (format == Format::Jpeg) {
        const Jpeg::Header header = Jpeg::readHeader(data);
        fullSize = header.orientation >= 5 ? header.size.transposed() : header.size;
        image = Jpeg::decode(data, cover);
    } else {
        image = readWithQt(data, format == Format::Bitmap ? QByteArray("bmp") : qtFormat, cover,
                           &fullSize);
    }
    image_ = image;
    original_ = data;
    format_ = format;
    qtFormat_ = format == Format::Bitmap ? QByteArray("bmp") : qtFormat;
    fullSize_ = fullSize;
    modified_ = false;
}

QImage Picture::decode(QSize cover) const {
    if (modified_ || format_ != Format::Jpeg)
        return image_;
    return Jpeg::decode(original_, cover);
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
    if (!modified_ && !original_.isEmpty())
        return original_;
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
