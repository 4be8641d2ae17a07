#include "print/CalibrationPage.h"

#include "cover/CoverLayout.h"
#include "print/PrintGeometry.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPen>

namespace {

// The page is drawn in tenths of a millimetre.
constexpr double Unit = 10;

QString mm(double value) {
    return QString::number(value, 'f', 1);
}

// Ticks of a ruler along its length, at right angles to it: length in tenths of a millimetre for
// a tick at a whole number of millimetres.
int tickLength(int millimetre) {
    if (millimetre % 10 == 0)
        return 50;
    if (millimetre % 5 == 0)
        return 35;
    return 20;
}

void drawRulers(QPainter& painter) {
    const QPointF h(RulerLeft * Unit, RulerTop * Unit);
    const QPointF v(RulerColumn * Unit, RulerTop * Unit);
    const double length = RulerLength * Unit;
    painter.drawLine(h, h + QPointF(length, 0));
    painter.drawLine(v, v + QPointF(0, length));
    QFont numbers(QStringLiteral("DejaVu Sans"));
    numbers.setPixelSize(25);
    painter.setFont(numbers);
    for (int i = 0; i <= int(RulerLength); ++i) {
        const double along = i * Unit;
        const int tick = tickLength(i);
        // Below the horizontal line and right of the vertical one.
        painter.drawLine(h + QPointF(along, 0), h + QPointF(along, tick));
        painter.drawLine(v + QPointF(0, along), v + QPointF(tick, along));
        if (i % 10 == 0) {
            const QString label = QString::number(i);
            painter.drawText(QRectF(h.x() + along - 50, h.y() + 55, 100, 30),
                             Qt::AlignHCenter | Qt::AlignTop, label);
            painter.drawText(QRectF(v.x() + 60, v.y() + along - 15, 100, 30),
                             Qt::AlignLeft | Qt::AlignVCenter, label);
        }
    }
}

// An L of 8 mm at each corner of the rectangle (in tenths of a millimetre), along its outline.
void drawCornerLines(QPainter& painter, const QRectF& r) {
    const double arm = 8 * Unit;
    const QPointF corners[] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    for (const QPointF& c : corners) {
        const double dx = c.x() == r.left() ? arm : -arm;
        const double dy = c.y() == r.top() ? arm : -arm;
        painter.drawLine(c, c + QPointF(dx, 0));
        painter.drawLine(c, c + QPointF(0, dy));
    }
}

void drawCorners(QPainter& painter, const QRectF& r) {
    drawCornerLines(painter, r);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    painter.setFont(font);
    painter.drawText(
        r, Qt::AlignCenter,
        QCoreApplication::translate("CalibrationPage", "Corners of the front's frame"));
}

} // namespace

void paintCalibrationPage(QPainter& painter, const CalibrationPage& page) {
    if (page.dpiX <= 0 || page.dpiY <= 0)
        return;
    painter.save();
    // Tenths of a millimetre to device pixels, then the calibration in device pixels.
    painter.setWorldTransform(QTransform::fromScale(page.dpiX / 254.0, page.dpiY / 254.0) *
                              page.calibration.transform(page.dpiX, page.dpiY));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap)); // 0.2 mm
    drawRulers(painter);

    if (!page.canvas.isEmpty() && !page.printed.isEmpty()) {
        const double kx = 254.0 / page.dpiX, ky = 254.0 / page.dpiY;
        const auto frameAt = [&](QSize printed) {
            const QRect frame = PrintGeometry::toPrinted(Layout::FrontFrame, page.canvas, printed);
            return QRectF((frame.left() + page.layoutShift.x()) * kx,
                          (frame.top() + page.layoutShift.y()) * ky, frame.width() * kx,
                          frame.height() * ky);
        };
        drawCorners(painter, frameAt(page.printed));
        // The other size: the standard sizes beside the design's scale, or the other way round.
        const QSize standard =
            PrintGeometry::standardPrintedSize(page.canvas, page.dpiX, page.dpiY);
        const QSize design = PrintGeometry::printedSize(
            page.canvas, PrintGeometry::scaleFor(page.dpiX, page.dpiY, 96, 96, 1));
        painter.save();
        painter.setPen(QPen(Qt::black, 2, Qt::DashLine, Qt::FlatCap));
        drawCornerLines(painter, frameAt(page.calibration.standardSizes ? design : standard));
        painter.restore();
    }

    const PrinterCalibration& c = page.calibration;
    const QString text =
        QCoreApplication::translate("CalibrationPage",
                                    "Sleevix calibration test page for the printer %1")
            .arg(page.printerName) +
        QStringLiteral("\n\n") +
        QCoreApplication::translate(
            "CalibrationPage",
            "Printed with the offsets %1 mm across and %2 mm down and the scales "
            "%3 % across and %4 % down.")
            .arg(formatCalibrationField(c.offsetX), formatCalibrationField(c.offsetY),
                 formatCalibrationField(c.scaleX), formatCalibrationField(c.scaleY)) +
        QStringLiteral("\n\n") +
        QCoreApplication::translate(
            "CalibrationPage",
            "Both lines should be 100 mm long. The 0 mark of the horizontal line should lie "
            "%1 mm from the left edge of the paper, that of the vertical line %2 mm from "
            "the top edge.")
            .arg(mm(page.paperOrigin.x() + RulerLeft), mm(page.paperOrigin.y() + RulerTop)) +
        QStringLiteral("\n\n") +
        QCoreApplication::translate(
            "CalibrationPage",
            "A line L mm long: new scale = scale in use × 100 / L. Correct the scales first and "
            "print this page again. Then a 0 mark that lies d mm too far right or down: new "
            "offset = offset in use − d.") +
        QStringLiteral("\n\n") +
        (c.standardSizes
             ? QCoreApplication::translate(
                   "CalibrationPage",
                   "Covers print at the standard jewel-case sizes: front 120.0 × 120.0 mm (solid "
                   "corners). Dashed: the design's scale, front 119.1 × 118.7 mm.")
             : QCoreApplication::translate(
                   "CalibrationPage",
                   "Covers print at the design's scale: front 119.1 × 118.7 mm (solid corners). "
                   "Dashed: the standard jewel-case sizes, front 120.0 × 120.0 mm."));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    painter.setFont(font);
    painter.drawText(QRectF(RulerLeft * Unit, (RulerTop + 22) * Unit, 120 * Unit, 110 * Unit),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    painter.restore();
}
