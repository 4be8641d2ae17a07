// The layout on the printer's paper. The insert's marks reach 287 mm down the page at the
// design's scale, more than a US Letter sheet's printable area holds. When the layout as it
// always printed (from the printable area's top-left corner) does not lie wholly inside the
// printable area, it is moved so that the covers lie in its middle, at their true size and whole,
// and the outer marks are shortened at their outer ends to what the area leaves them (the
// horizontal crop marks beside the covers, the front's upper cut marks and the spines' lower
// fold marks). A layout that fits prints exactly as before. When the marks would be shorter than
// MinMarkMm, the paper is too small and nothing is printed.
#pragma once

#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

class QPainter;

namespace PaperFit {

// The shortest mark that still shows where to cut or fold.
inline constexpr double MinMarkMm = 2.0;
// Room kept between a shortened mark's end and the printable area's edge.
inline constexpr double EdgeMm = 0.5;

struct Fit {
    bool fits = true;     // false: the paper's printable area is too small for the covers
    bool moved = false;   // the layout was moved and its marks shortened
    QPointF shift;        // layout pixels added to every layout coordinate
    QRectF cut;           // what prints of a moved layout: the printable area less EdgeMm all
                          // round, in layout pixels before the shift
    double shortestMarkMm = 0; // the shortest outer mark that prints, in millimetres
};

// printableMm: the printable area's size; mmPerPixel: the printed size of one layout pixel
// across and down.
Fit fitLayout(QSizeF printableMm, QSizeF mmPerPixel);

// Millimetres per layout pixel for a canvas printed at `printed` device pixels of dpi.
QSizeF mmPerPixel(QSize canvas, QSize printed, double dpiX, double dpiY);

// Moves the painter's coordinates by the fit and clips them to the printable area, so that
// painting the layout into (0, 0, printed) afterwards puts it where the fit says.
void applyFit(QPainter& painter, const Fit& fit, QSize canvas, QSize printed);

// The message for a paper on which the covers cannot be printed whole.
QString tooSmallMessage(const QPageLayout& layout);

enum class Paper { A4, Letter };
// The paper of the user's country: US Letter in the United States and Canada, A4 elsewhere. The
// locale's name is that of LC_ALL, LC_PAPER or LANG, the first one set ("en_US.UTF-8").
Paper paperOfLocale(const QString& localeName);
QPageSize pageSizeOf(Paper paper);

} // namespace PaperFit
