#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <cstdlib>

Canvas::Canvas(QImage* image) : image_(image) {}

int Canvas::PointsToPixels(int points) { return (points * 96 + 36) / 72; }

QFont Canvas::MakeFont(const QString& family, int points, bool bold) {
    QFont font(family);
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void Canvas::FillRect(const QRect& rect) {
    QPainter painter(image_);
    painter.fillRect(rect, BrushColor);
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    if (right - left < 1 || bottom - top < 1)
        return;
    QPainter painter(image_);
    painter.fillRect(EdgeRect(left, top, right, bottom), BrushColor);
    painter.fillRect(EdgeRect(left, top, right, top + 1), PenColor);
    painter.fillRect(EdgeRect(left, bottom - 1, right, bottom), PenColor);
    painter.fillRect(EdgeRect(left, top, left + 1, bottom), PenColor);
    painter.fillRect(EdgeRect(right - 1, top, right, bottom), PenColor);
}

void Canvas::MoveTo(int x, int y) { position_ = QPoint(x, y); }

void Canvas::LineTo(int x, int y) {
    const QPoint from = position_;
    position_ = QPoint(x, y);
    QPainter painter(image_);
    if (from.y() == y) {
        const int a = std::min(from.x(), x), b = std::max(from.x(), x);
        // The end point is left out: it is the right end going right, the left going left.
        const int first = from.x() < x ? a : a + 1;
        const int last = from.x() < x ? b - 1 : b;
        if (last >= first)
            painter.fillRect(QRect(first, y, last - first + 1, 1), PenColor);
        return;
    }
    if (from.x() == x) {
        const int a = std::min(from.y(), y), b = std::max(from.y(), y);
        const int first = from.y() < y ? a : a + 1;
        const int last = from.y() < y ? b - 1 : b;
        if (last >= first)
            painter.fillRect(QRect(x, first, 1, last - first + 1), PenColor);
        return;
    }
    // Any other direction: Bresenham's steps, without the last point.
    int x0 = from.x(), y0 = from.y();
    const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
    const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    const QRgb pen = PenColor.rgb();
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

int Canvas::TextWidth(const QString& text) const {
    return QFontMetrics(Font, image_).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString& text) const {
    Q_UNUSED(text);
    return QFontMetrics(Font, image_).height();
}

void Canvas::TextOut(int x, int y, const QString& text, int angleDegrees) {
    const QFontMetrics metrics(Font, image_);
    QPainter painter(image_);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(x, y);
    painter.rotate(-angleDegrees);
    painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()), BrushColor);
    painter.setFont(Font);
    painter.setPen(FontColor);
    painter.drawText(0, metrics.ascent(), text);
}

void Canvas::StretchDraw(const QRect& rect, const QImage& picture) {
    if (picture.isNull() || rect.isEmpty())
        return;
    QPainter painter(image_);
    if (picture.size() == rect.size()) {
        painter.drawImage(rect.topLeft(), picture);
        return;
    }
    // Scaling first averages the source pixels, which drawing a scaled image does not.
    painter.drawImage(rect.topLeft(), picture.scaled(rect.size(), Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation));
}
