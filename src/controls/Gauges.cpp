#include "controls/Gauges.h"

#include "controls/GaugeMath.h"
#include "platform/AppError.h"

#include <QPainter>
#include <cmath>
#include <limits>

namespace {

// Drawing on an off-screen picture by the rules the gauge was designed with: rectangles include
// their left and top edges and exclude their right and bottom ones; a line stops before its end
// point; shapes are drawn without antialiasing.
class TBltBitmap {
public:
    explicit TBltBitmap(QSize size) : image_(size, QImage::Format_RGB32) { Blacken(); }

    QImage& Image() { return image_; }

    void Blacken() { image_.fill(Qt::black); }

    void FillRect(int left, int top, int right, int bottom, const QColor& color) {
        const QRect r = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & image_.rect();
        if (left >= right || top >= bottom || r.isEmpty())
            return;
        QPainter p(&image_);
        p.fillRect(r, color);
    }

    // Outline in the pen colour, inside in the brush colour.
    void Ellipse(int left, int top, int right, int bottom, const QColor& pen, const QColor& brush) {
        if (right - left < 1 || bottom - top < 1)
            return;
        QPainter p(&image_);
        Prepare(p, pen, brush);
        p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    }

    // A wedge of the ellipse in the box, counter-clockwise from the radial through (x1, y1) to
    // the radial through (x2, y2); the whole ellipse when the two radials coincide.
    void Pie(int left, int top, int right, int bottom, QPoint r1, QPoint r2, const QColor& pen,
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
        Prepare(p, pen, brush);
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
    void XorWith(const QImage& other) {
        for (int y = 0; y < image_.height(); ++y) {
            auto* dst = reinterpret_cast<QRgb*>(image_.scanLine(y));
            const auto* src = reinterpret_cast<const QRgb*>(other.constScanLine(y));
            for (int x = 0; x < image_.width(); ++x)
                dst[x] = 0xFF000000u | ((dst[x] ^ src[x]) & 0x00FFFFFFu);
        }
    }

private:
    static void Prepare(QPainter& p, const QColor& pen, const QColor& brush) {
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

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
    resize(100, 100);
    // The gauge covers all of its rectangle: nothing needs painting beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor TGauge::Color() const {
    return palette().color(QPalette::Window);
}

int TGauge::PercentComplete() const {
    // Differences in 64 bits: a range as wide as the integers does not overflow.
    return GaugeMath::PercentOfRange(qint64(FProgress) - FMinValue, qint64(FMaxValue) - FMinValue);
}

void TGauge::Changed() {
    if (isVisible())
        repaint();
    else
        update();
}

void TGauge::setKind(TGaugeKind kind) {
    if (kind == FKind)
        return;
    FKind = kind;
    Changed();
}

void TGauge::setShowText(bool show) {
    if (show == FShowText)
        return;
    FShowText = show;
    Changed();
}

void TGauge::setBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle)
        return;
    FBorderStyle = style;
    Changed();
}

void TGauge::setForeColor(const QColor& color) {
    if (color == FForeColor)
        return;
    FForeColor = color;
    Changed();
}

void TGauge::setBackColor(const QColor& color) {
    if (color == FBackColor)
        return;
    FBackColor = color;
    Changed();
}

void TGauge::setColor(const QColor& color) {
    if (color == Color())
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    Changed();
}

void TGauge::setMinValue(int value) {
    if (value == FMinValue)
        return;
    if (value > FMaxValue && !FLoading)
        throw AppError(GaugeMath::RangeErrorText(-qint64(std::numeric_limits<int>::max()),
                                                 qint64(FMaxValue) - 1));
    FMinValue = value;
    if (FProgress < value)
        FProgress = value;
    Changed();
}

void TGauge::setMaxValue(int value) {
    if (value == FMaxValue)
        return;
    if (value < FMinValue && !FLoading)
        throw AppError(
            GaugeMath::RangeErrorText(qint64(FMinValue) + 1, std::numeric_limits<int>::max()));
    FMaxValue = value;
    if (FProgress > value)
        FProgress = value;
    Changed();
}

void TGauge::setProgress(int value) {
    const int before = PercentComplete();
    if (value < FMinValue)
        value = FMinValue;
    else if (value > FMaxValue)
        value = FMaxValue;
    if (value == FProgress)
        return;
    FProgress = value;
    if (PercentComplete() != before)
        Changed();
}

QImage TGauge::Render() const {
    const int width = std::max(this->width(), 1);
    const int height = std::max(this->height(), 1);
    TBltBitmap work(QSize(width, height));

    int left = 0, top = 0, right = width, bottom = height;
    if (FBorderStyle == bsSingle) {
        ++left;
        ++top;
        --right;
        --bottom;
    }
    const int single = FBorderStyle == bsSingle ? 1 : 0;
    const int percent = PercentComplete();

    TBltBitmap overlay(work.Image().size());
    switch (FKind) {
    case gkText:
        overlay.FillRect(left, top, right, bottom, FBackColor);
        break;
    case gkHorizontalBar: {
        const int w = right - left + 1;
        const int h = bottom - top + 1;
        overlay.FillRect(left, top, right, bottom, FBackColor);
        // The bar's right edge is FillSize itself, counted from the picture's left edge.
        const int fillSize = std::min(GaugeMath::ExtentForPercent(percent, w), w);
        if (fillSize > 0)
            overlay.FillRect(left, top, fillSize, h, FForeColor);
        break;
    }
    case gkVerticalBar: {
        const int w = right - left + 1;
        const int h = bottom - top + 1;
        overlay.FillRect(left, top, right, bottom, FBackColor);
        int fillSize = GaugeMath::ExtentForPercent(percent, h);
        if (fillSize >= h)
            fillSize = h - 1;
        overlay.FillRect(left, h - fillSize, w, h, FForeColor);
        break;
    }
    case gkPie: {
        const int w = right - left + single;
        const int h = bottom - top + single;
        overlay.FillRect(left, top, right, bottom, Color());
        overlay.Ellipse(left, top, w, h, FForeColor, FBackColor);
        if (percent > 0) {
            const int middleX = w / 2;
            const int middleY = h / 2;
            overlay.Pie(left, top, w, h, GaugeMath::PieStartPoint(percent, middleX, middleY),
                        QPoint(middleX, 0), FForeColor, FForeColor);
        }
        break;
    }
    case gkNeedle: {
        const int x = left, y = top;
        const int w = right - left + single;
        const int h = bottom - top + single;
        overlay.FillRect(left, top, right, bottom, Color());
        // The dial: the upper half of an ellipse twice the gauge's height.
        overlay.Pie(x, y, w, 2 * h - 1, QPoint(x + w, bottom - 1), QPoint(x, bottom - 1),
                    FForeColor, FBackColor);
        overlay.Line(QPoint(x, bottom), QPoint(x + w, bottom), FForeColor);
        if (percent > 0) {
            const int middleX = width / 2;
            overlay.Line(QPoint(middleX, bottom - 1),
                         GaugeMath::NeedleEnd(percent, middleX, bottom - 1), FForeColor);
        }
        break;
    }
    default:
        break; // an unknown kind leaves the black background
    }
    work.XorWith(overlay.Image());

    if (FShowText) {
        TBltBitmap textBitmap(work.Image().size());
        const QString text = QStringLiteral("%1%").arg(percent);
        // Plain pixels only: an antialiased edge would not invert cleanly.
        QFont textFont = font();
        textFont.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics fm(textFont);
        const int textX = (right - left + 1 - fm.horizontalAdvance(text)) / 2;
        const int textY = (bottom - top + 1 - fm.height()) / 2;
        if (right > left && bottom > top) {
            QPainter p(&textBitmap.Image());
            p.setClipRect(QRect(left, top, right - left, bottom - top));
            p.setFont(textFont);
            p.setPen(Qt::white);
            p.drawText(QPoint(textX, textY + fm.ascent()), text);
        }
        work.XorWith(textBitmap.Image());
    }
    return work.Image();
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Render());
}
