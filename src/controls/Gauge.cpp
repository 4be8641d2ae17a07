#include "controls/Gauge.h"

#include "controls/GaugeMath.h"
#include "platform/AppError.h"

#include <QPainter>
#include <cmath>
#include <limits>

namespace {

// Drawing on an off-screen picture by the rules the gauge was designed with: rectangles include
// their left and top edges and exclude their right and bottom ones; a line stops before its end
// point; shapes are drawn without antialiasing.
class BlitBitmap {
public:
    explicit BlitBitmap(QSize size) : image_(size, QImage::Format_RGB32) { blacken(); }

    QImage& image() { return image_; }

    void blacken() { image_.fill(Qt::black); }

    void fillRect(int left, int top, int right, int bottom, const QColor& color) {
        const QRect r = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & image_.rect();
        if (left >= right || top >= bottom || r.isEmpty())
            return;
        QPainter p(&image_);
        p.fillRect(r, color);
    }

    // Outline in the pen colour, inside in the brush colour.
    void ellipse(int left, int top, int right, int bottom, const QColor& pen, const QColor& brush) {
        if (right - left < 1 || bottom - top < 1)
            return;
        QPainter p(&image_);
        prepare(p, pen, brush);
        p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    }

    // A wedge of the ellipse in the box, counter-clockwise from the radial through (x1, y1) to
    // the radial through (x2, y2); the whole ellipse when the two radials coincide.
    void pie(int left, int top, int right, int bottom, QPoint r1, QPoint r2, const QColor& pen,
             const QColor& brush) {
        if (right - left < 1 || bottom - top < 1)
            return;
        const QRect box(left, top, right - left - 1, bottom - top - 1);
        const double cx = (left + right) / 2.0;
        const double cy = (top + bottom) / 2.0;
        const double rx = (right - left) / 2.0;
        const double ry = (bottom - top) / 2.0;
        // The painter's angles are those of the ellipse's parametric form.
        auto angleOf = [&](QPoint pt) {
            const double a = std::atan2(-(pt.y() - cy) / ry, (pt.x() - cx) / rx);
            return a * 180.0 / M_PI;
        };
        const double start = angleOf(r1);
        double span = angleOf(r2) - start;
        while (span <= 1e-9)
            span += 360.0;
        if (span > 360.0 - 1e-9)
            span = 360.0;
        QPainter p(&image_);
        prepare(p, pen, brush);
        if (span >= 360.0)
            p.drawEllipse(box);
        else
            p.drawPie(box, qRound(start * 16), qRound(span * 16));
    }

    // A one-pixel line from `from` up to, not including, `to`.
    void Line(QPoint from, QPoint to, const QColor& color) {
        const QRgb rgb = color.rgb();
        int x = from.x(), y = from.y();
        const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
        const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
        int err = dx + dy;
        while (x != to.x() || y != to.y()) {
            if (image_.rect().contains(x, y))
                image_.setPixel(x, y, rgb);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    }

    // Each pixel of this picture becomes itself XOR the other's pixel at the same place.
    void xorWith(const QImage& other) {
        for (int y = 0; y < image_.height(); ++y) {
            auto* dst = reinterpret_cast<QRgb*>(image_.scanLine(y));
            const auto* src = reinterpret_cast<const QRgb*>(other.constScanLine(y));
            for (int x = 0; x < image_.width(); ++x)
                dst[x] = 0xFF000000u | ((dst[x] ^ src[x]) & 0x00FFFFFFu);
        }
    }

private:
    static void prepare(QPainter& p, const QColor& pen, const QColor& brush) {
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen outline(pen);
        outline.setWidth(1);
        outline.setCosmetic(true);
        p.setPen(outline);
        p.setBrush(brush);
    }

    QImage image_;
};

} // namespace

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
    resize(100, 100);
    // The gauge covers all of its rectangle: nothing needs painting beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor Gauge::color() const {
    return palette().color(QPalette::Window);
}

int Gauge::percentComplete() const {
    // Differences in 64 bits: a range as wide as the integers does not overflow.
    return GaugeMath::percentOfRange(qint64(progress_) - minValue_, qint64(maxValue_) - minValue_);
}

void Gauge::changed() {
    if (isVisible())
        repaint();
    else
        update();
}

void Gauge::setKind(GaugeKind kind) {
    if (kind == kind_)
        return;
    kind_ = kind;
    changed();
}

void Gauge::setShowText(bool show) {
    if (show == showText_)
        return;
    showText_ = show;
    changed();
}

void Gauge::setBorderStyle(BorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    changed();
}

void Gauge::setForeColor(const QColor& color) {
    if (color == foreColor_)
        return;
    foreColor_ = color;
    changed();
}

void Gauge::setBackColor(const QColor& color) {
    if (color == backColor_)
        return;
    backColor_ = color;
    changed();
}

void Gauge::setColor(const QColor& color) {
    if (color == this->color())
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    changed();
}

void Gauge::setMinValue(int value) {
    if (value == minValue_)
        return;
    if (value > maxValue_ && !loading_)
        throw AppError(GaugeMath::rangeErrorText(-qint64(std::numeric_limits<int>::max()),
                                                 qint64(maxValue_) - 1));
    minValue_ = value;
    if (progress_ < value)
        progress_ = value;
    changed();
}

void Gauge::setMaxValue(int value) {
    if (value == maxValue_)
        return;
    if (value < minValue_ && !loading_)
        throw AppError(
            GaugeMath::rangeErrorText(qint64(minValue_) + 1, std::numeric_limits<int>::max()));
    maxValue_ = value;
    if (progress_ > value)
        progress_ = value;
    changed();
}

void Gauge::setProgress(int value) {
    const int before = percentComplete();
    if (value < minValue_)
        value = minValue_;
    else if (value > maxValue_)
        value = maxValue_;
    if (value == progress_)
        return;
    progress_ = value;
    if (percentComplete() != before)
        changed();
}

QImage Gauge::renderImage() const {
    const int width = std::max(this->width(), 1);
    const int height = std::max(this->height(), 1);
    BlitBitmap work(QSize(width, height));

    int left = 0, top = 0, right = width, bottom = height;
    if (borderStyle_ == bsSingle) {
        ++left;
        ++top;
        --right;
        --bottom;
    }
    const int single = borderStyle_ == bsSingle ? 1 : 0;
    const int percent = percentComplete();

    BlitBitmap overlay(work.image().size());
    switch (kind_) {
    case gkText:
        overlay.fillRect(left, top, right, bottom, backColor_);
        break;
    case gkHorizontalBar: {
        const int w = right - left + 1;
        const int h = bottom - top + 1;
        overlay.fillRect(left, top, right, bottom, backColor_);
        // The bar's right edge is FillSize itself, counted from the picture's left edge.
        const int fillSize = std::min(GaugeMath::extentForPercent(percent, w), w);
        if (fillSize > 0)
            overlay.fillRect(left, top, fillSize, h, foreColor_);
        break;
    }
    case gkVerticalBar: {
        const int w = right - left + 1;
        const int h = bottom - top + 1;
        overlay.fillRect(left, top, right, bottom, backColor_);
        int fillSize = GaugeMath::extentForPercent(percent, h);
        if (fillSize >= h)
            fillSize = h - 1;
        overlay.fillRect(left, h - fillSize, w, h, foreColor_);
        break;
    }
    case gkPie: {
        const int w = right - left + single;
        const int h = bottom - top + single;
        overlay.fillRect(left, top, right, bottom, color());
        overlay.ellipse(left, top, w, h, foreColor_, backColor_);
        if (percent > 0) {
            const int middleX = w / 2;
            const int middleY = h / 2;
            overlay.pie(left, top, w, h, GaugeMath::pieStartPoint(percent, middleX, middleY),
                        QPoint(middleX, 0), foreColor_, foreColor_);
        }
        break;
    }
    case gkNeedle: {
        const int x = left, y = top;
        const int w = right - left + single;
        const int h = bottom - top + single;
        overlay.fillRect(left, top, right, bottom, color());
        // The dial: the upper half of an ellipse twice the gauge's height.
        overlay.pie(x, y, w, 2 * h - 1, QPoint(x + w, bottom - 1), QPoint(x, bottom - 1),
                    foreColor_, backColor_);
        overlay.Line(QPoint(x, bottom), QPoint(x + w, bottom), foreColor_);
        if (percent > 0) {
            const int middleX = width / 2;
            overlay.Line(QPoint(middleX, bottom - 1),
                         GaugeMath::needleEnd(percent, middleX, bottom - 1), foreColor_);
        }
        break;
    }
    default:
        break; // an unknown kind leaves the black background
    }
    work.xorWith(overlay.image());

    if (showText_) {
        BlitBitmap textBitmap(work.image().size());
        const QString text = QStringLiteral("%1%").arg(percent);
        // Plain pixels only: an antialiased edge would not invert cleanly.
        QFont textFont = font();
        textFont.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics fm(textFont);
        const int textX = (right - left + 1 - fm.horizontalAdvance(text)) / 2;
        const int textY = (bottom - top + 1 - fm.height()) / 2;
        if (right > left && bottom > top) {
            QPainter p(&textBitmap.image());
            p.setClipRect(QRect(left, top, right - left, bottom - top));
            p.setFont(textFont);
            p.setPen(Qt::white);
            p.drawText(QPoint(textX, textY + fm.ascent()), text);
        }
        work.xorWith(textBitmap.image());
    }
    return work.image();
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, renderImage());
}
