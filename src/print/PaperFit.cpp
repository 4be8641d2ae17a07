#include "print/PaperFit.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPainter>
#include <algorithm>

namespace PaperFit {
namespace {

// The template along one direction, in layout pixels: where its marks end as it always printed
// (from the canvas's edge), the part that is never shortened (the covers and the marks between
// them, from the outer mark's inner end to the opposite one's), and an outer mark's full length.
struct Extent {
    double printedEnd; // one past the last marked pixel
    double innerStart; // where the outer marks of the near side end
    double innerEnd;   // where those of the far side begin
    double fullMark;
};
// Down: the front's upper cut marks end at 47, 10 pixels above its frame; the lower fold marks
// begin at 1098, 10 pixels below the back's frame, and end at 1148.
constexpr Extent Down{1148, 47, 1098, 50};
// Across: the back's crop marks run from 27 to 106 and from 734 to 813; the front's, further in
// (167 and 673), are shortened with them.
constexpr Extent Across{813, 106, 734, 79};

struct AxisFit {
    double shift = 0;
    double mark = 0;
    bool fits = true;
    bool moved = false;
};

AxisFit fitAxis(const Extent& e, double available, double minMark, double edge) {
    if (e.printedEnd <= available)
        return {0, e.fullMark, true, false};
    const double inner = e.innerEnd - e.innerStart;
    AxisFit fit;
    fit.moved = true;
    fit.mark = std::min(e.fullMark, (available - 2 * edge - inner) / 2);
    fit.fits = fit.mark >= minMark;
    // The covers in the middle of the printable area.
    fit.shift = (available - (inner + 2 * fit.mark)) / 2 - (e.innerStart - fit.mark);
    return fit;
}

} // namespace

Fit fitLayout(QSizeF printableMm, QSizeF mmPerPixel) {
    Fit fit;
    if (mmPerPixel.isEmpty())
        return fit;
    const double w = printableMm.width() / mmPerPixel.width();
    const double h = printableMm.height() / mmPerPixel.height();
    const AxisFit across =
        fitAxis(Across, w, MinMarkMm / mmPerPixel.width(), EdgeMm / mmPerPixel.width());
    const AxisFit down =
        fitAxis(Down, h, MinMarkMm / mmPerPixel.height(), EdgeMm / mmPerPixel.height());
    fit.fits = across.fits && down.fits;
    fit.moved = across.moved || down.moved;
    fit.shift = QPointF(across.shift, down.shift);
    const double ex = EdgeMm / mmPerPixel.width(), ey = EdgeMm / mmPerPixel.height();
    fit.cut = QRectF(-across.shift + ex, -down.shift + ey, w - 2 * ex, h - 2 * ey);
    fit.shortestMarkMm = std::min(across.mark * mmPerPixel.width(), down.mark * mmPerPixel.height());
    return fit;
}

QSizeF mmPerPixel(QSize canvas, QSize printed, double dpiX, double dpiY) {
    if (canvas.isEmpty() || dpiX <= 0 || dpiY <= 0)
        return QSizeF();
    return QSizeF(printed.width() / dpiX * 25.4 / canvas.width(),
                  printed.height() / dpiY * 25.4 / canvas.height());
}

void applyFit(QPainter& painter, const Fit& fit, QSize canvas, QSize printed) {
    if (!fit.moved || canvas.isEmpty())
        return;
    const double kx = double(printed.width()) / canvas.width();
    const double ky = double(printed.height()) / canvas.height();
    painter.translate(fit.shift.x() * kx, fit.shift.y() * ky);
    const QRectF& p = fit.cut;
    painter.setClipRect(QRectF(p.x() * kx, p.y() * ky, p.width() * kx, p.height() * ky),
                        Qt::IntersectClip);
}

QString tooSmallMessage(const QPageLayout& layout) {
    const QSizeF area = layout.paintRect(QPageLayout::Millimeter).size();
    return QCoreApplication::translate(
               "PaperFit",
               "The covers do not fit on the paper %1: its printable area is %2 × %3 mm. "
               "Choose a larger paper (A4 or US Letter) or smaller margins; nothing was printed.")
        .arg(layout.pageSize().name())
        .arg(area.width(), 0, 'f', 1)
        .arg(area.height(), 0, 'f', 1);
}

Paper paperOfLocale(const QString& localeName) {
    QString name = localeName.section(u'.', 0, 0).section(u'@', 0, 0);
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return Paper::A4;
    const QLocale::Territory territory = QLocale(name).territory();
    return territory == QLocale::UnitedStates || territory == QLocale::Canada ? Paper::Letter
                                                                              : Paper::A4;
}

QPageSize pageSizeOf(Paper paper) {
    return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

} // namespace PaperFit
