// A layout canvas made the way the main window makes it: the template, the front and back
// pictures stretched into their rectangles, the spine text on both spines.
#pragma once

#include "cover/CoverLayout.h"
#include "platform/Canvas.h"
#include "print/LayoutPrint.h"

#include <QBuffer>
#include <QImageWriter>

namespace fixture {

inline QByteArray jpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    writer.write(image);
    return bytes;
}

inline QImage solid(QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Black and white columns one pixel wide: as much detail across as a picture can carry.
inline QImage stripes(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = (x % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return image;
}

inline PrintSource layout(int width, const QImage& front, const QString& spineText,
                          const QImage& back = solid(QSize(552, 472), QColor(230, 240, 255))) {
    PrintSource source;
    source.canvas = Layout::newLayoutImage(width);
    Canvas canvas(&source.canvas);
    Layout::drawTemplate(canvas);
    if (!front.isNull()) {
        source.front.loadFromData(jpegBytes(front), QStringLiteral("jpg"),
                                  Layout::FrontRect.size());
        canvas.stretchDraw(Layout::FrontRect, source.front.image());
    }
    if (!back.isNull()) {
        QImage stamped = back;
        Layout::stampProductName(stamped, QStringLiteral("Sleevix"));
        source.back.setImage(stamped);
        canvas.stretchDraw(Layout::BackRect, stamped);
    }
    source.spineText = spineText;
    if (!spineText.isEmpty())
        Layout::drawSpineText(canvas, spineText, source.leftSpine, source.rightSpine);
    return source;
}

} // namespace fixture
