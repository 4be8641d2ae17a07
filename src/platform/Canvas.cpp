#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <cstdlib>

Canvas::Canvas(QImage* image) : image_(image) {}

int Canvas::pointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

QFont Canvas::makeFont(const QString& family, int points, bool bold) {
    QFont font(family);
    font.setPixelSize(pointsToPixels(points));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void Canvas::limit(QPainter& painter) const {
    if (!clip.isEmpty())
        painter.setClipRegion(clip);
}

void Canvas::fillRect(const QRect& rect) {
    QPainter painter(image_);
    limit(painter);
    painter.fillRect(rect, brushColor);
}

void Canvas::rectangle(int left, int top, int right, int bottom) {
    if (right - left < 1 || bottom - top < 1)
        return;
    QPainter painter(image_);
    limit(painter);
    painter.fillRect(edgeRect(left, top, right, bottom), brushColor);
    painter.fillRect(edgeRect(left, top, right, top + 1), penColor);
    painter.fillRect(edgeRect(left, bottom - 1, right, bottom), penColor);
    painter.fillRect(edgeRect(left, top, left + 1, bottom), penColor);
    painter.fillRect(edgeRect(right - 1, top, right, bottom), penColor);
}

void Canvas::moveTo(int x, int y) {
    position_ = QPoint(x, y);
}

void Canvas::lineTo(int x, int y) {
    const QPoint from = position_;
    position_ = QPoint(x, y);
    QPainter painter(image_);
    limit(painter);
    if (from.y() == y) {
        const int a = std::min(from.x(), x), b = std::max(from.x(), x);
        // The end point is left out: it is the right end going right, the left going left.
        const int first = from.x() < x ? a : a + 1;
        const int last = from.x() < x ? b - 1 : b;
        if (last >= first)
            painter.fillRect(QRect(first, y, last - first + 1, 1), penColor);
        return;
    }
    if (from.x() == x) {
        const int a = std::min(from.y(), y), b = std::max(from.y(), y);
        const int first = from.y() < y ? a : a + 1;
        const int last = from.y() < y ? b - 1 : b;
        if (last >= first)
            painter.fillRect(QRect(x, first, 1, last - first + 1), penColor);
        return;
    }
    // Any other direction: Bresenham's steps, without the last point.
    int x0 = from.x(), y0 = from.y();
    const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
    const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    const QRgb pen = penColor.rgb();
    while (x0 != x || y0 != y) {
        if (image_->rect().contains(x0, y0))
            image_->setPixel(x0, y0, pen);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

int Canvas::textWidth(const QString& text) const {
    return QFontMetrics(Font, image_).horizontalAdvance(text);
}

int Canvas::textHeight(const QString& text) const {
    Q_UNUSED(text);
    return QFontMetrics(Font, image_).height();
}

void Canvas::textOut(int x, int y, const QString& text, int angleDegrees) {
    const QFontMetrics metrics(Font, image_);
    QPainter painter(image_);
    limit(painter);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(x, y);
    painter.rotate(-angleDegrees);
    painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()), brushColor);
    painter.setFont(Font);
    painter.setPen(fontColor);
    painter.drawText(0, metrics.ascent(), text);
}

void Canvas::stretchDraw(const QRect& rect, const QImage& picture) {
    if (picture.isNull() || rect.isEmpty())
        return;
    QPainter painter(image_);
    limit(painter);
    if (picture.size() == rect.size()) {
        painter.drawImage(rect.topLeft(), picture);
        return;
    }
    // Scaling first averages the source pixels, which drawing a scaled image does not.
    painter.drawImage(rect.topLeft(),
                      picture.scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
