#include "cover/CoverLayout.h"

#include <QFontMetrics>
#include <QPainter>

namespace Layout {
namespace {

void line(Canvas& c, int x1, int y1, int x2, int y2) {
    c.moveTo(x1, y1);
    c.lineTo(x2, y2);
}

} // namespace

QImage newLayoutImage(int width) {
    QImage image(std::max(width, 1), CanvasHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void drawTemplate(Canvas& c) {
    c.penColor = Qt::black;
    c.brushColor = Qt::white;

    c.rectangle(177, 57, 663, 543); // front frame
    for (int y : {57, 542}) {       // front crop marks, level with the frame's outline
        line(c, 27, y, 167, y);
        line(c, 673, y, 813, y);
    }
    for (int x : {177, 662}) { // front crop marks continuing the frame's sides
        line(c, x, -3, x, 47);
        line(c, x, 553, x, 603);
    }

    c.rectangle(141, 610, 699, 1088); // back frame
    for (int y : {610, 1087}) {
        line(c, 27, y, 106, y);
        line(c, 734, y, 813, y);
    }
    for (int x : {116, 723}) { // spine fold marks
        line(c, x, 553, x, 600);
        line(c, x, 1098, x, 1148);
    }
    c.rectangle(116, 610, 142, 1088); // left spine, overlapping the back frame's left outline
    c.rectangle(698, 610, 724, 1088); // right spine
}

void stampProductName(QImage& backPicture, const QString& productName) {
    QPainter painter(&backPicture);
    paintProductName(painter, productName);
}

void paintProductName(QPainter& painter, const QString& productName) {
    const QFont font = Canvas::makeFont(QStringLiteral("MS Sans Serif"), 8);
    const QImage picture(1, 1, QImage::Format_RGB32); // a picture's resolution
    const QFontMetrics metrics(font, &picture);
    const int width = metrics.horizontalAdvance(productName);
    // Written as the canvas writes text: its cell filled white, the letters in black.
    painter.save();
    painter.translate((BackPictureWidth - width) / 2, 452);
    painter.fillRect(QRect(0, 0, width, metrics.height()), Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(0, metrics.ascent(), productName);
    painter.restore();
}

void drawRotatedText(Canvas& canvas, int angle, int x, int y, const QString& text) {
    canvas.textOut(x, y, text, angle);
}

namespace {

QFont spineFont() {
    return Canvas::makeFont(QStringLiteral("Verdana"), 10, true);
}

} // namespace

void clearSpineText(Canvas& canvas, const QRect& leftSpine, const QRect& rightSpine) {
    QImage* image = canvas.image();
    QImage measure(1, 1, QImage::Format_RGB32);
    Canvas metrics(&measure);
    metrics.Font = spineFont();
    const int cell = metrics.textHeight(QStringLiteral("M"));
    // Turned upwards, the left text's cells lie right of its x; turned downwards, the right
    // text's cells lie left of its x. Each column also takes in the inside of its spine frame.
    const int leftX = leftSpine.left();
    const int rightX = rightSpine.left() + 22;
    const int leftEnd = std::max(leftX + cell, leftSpine.left() + leftSpine.width());
    const int rightStart = std::min(rightX - cell + 1, rightSpine.left());
    const QRect columns[] = {QRect(leftX - 1, 0, leftEnd - leftX + 1, image->height()),
                             QRect(rightStart - 1, 0, rightX - rightStart + 2, image->height())};
    // The template alone in the columns: white with the frames and marks that cross them.
    QRegion area;
    for (const QRect& column : columns)
        area += column;
    const QRegion before = canvas.clip;
    const QColor pen = canvas.penColor, brush = canvas.brushColor;
    canvas.clip = before.isEmpty() ? area : before.intersected(area);
    {
        QPainter painter(image);
        painter.setClipRegion(canvas.clip);
        painter.fillRect(area.boundingRect(), Qt::white);
    }
    drawTemplate(canvas);
    canvas.clip = before;
    canvas.penColor = pen;
    canvas.brushColor = brush;
}

void drawSpineText(Canvas& canvas, const QString& text, const QRect& leftSpine,
                   const QRect& rightSpine) {
    canvas.Font = spineFont();
    canvas.fontColor = Qt::black;
    canvas.brushColor = Qt::white;
    drawRotatedText(canvas, 90, leftSpine.left(), leftSpine.top() + leftSpine.height() - 10, text);
    drawRotatedText(canvas, 270, rightSpine.left() + 22, rightSpine.top() + 10, text);
}

} // namespace Layout
