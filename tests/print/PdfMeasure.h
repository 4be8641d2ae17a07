// Measuring a printed page: a PDF rendered by pdftoppm at the printer's resolution, read back as
// grey pixels, and the places where the layout's front frame and front picture came out.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace pdfmeasure {

// True when pdftoppm and pdfinfo are installed.
bool toolsPresent();

// Page count and page size in points, from pdfinfo.
struct PdfInfo {
    int pages = 0;
    QSizeF pointSize;
};
std::optional<PdfInfo> info(const QString& pdf);

// True when pdftotext and pdfimages are installed too.
bool textToolsPresent();

// The text of the first page as pdftotext reads it (with the layout kept).
QString text(const QString& pdf);

// The pictures placed on the first page, as pdfimages -list names them: width x height each.
QList<QSize> images(const QString& pdf);

// A part of the first page rendered in grey at dpi (the page's top-left at 0, 0).
QImage render(const QString& pdf, int dpi, const QRect& part);

// Dark (below threshold) pixels along a line of grey values.
struct Span {
    int first = -1; // first pixel darker than the threshold
    int last = -1;  // last one
};

// The front frame and the front picture along one row or column through the front's middle.
struct FrontCut {
    int frameStart = -1;   // the frame's outer edge (left or top)
    int pictureStart = -1; // first pixel of the picture
    int pictureEnd = -1;   // one past its last pixel
    int frameEnd = -1;     // one past the opposite outline
};
struct FrontCutF {
    double frameStart, pictureStart, pictureEnd, frameEnd;
};
// line: grey values from the page's edge inwards; the picture must be darker than 200 and
// lighter than the frame's black.
FrontCut cutFront(const QList<int>& line);

QList<int> row(const QImage& grey, int y);
QList<int> column(const QImage& grey, int x);

// Light/dark changes (at mid grey) between first and last, plus one: the number of separately
// printed stripes.
int runs(const QList<int>& line, int first, int last);

// Checks a printed front, measured at four times the printer's resolution (so that the
// renderer's own rounding of an enlarged image stays well below one printer pixel): the frame's
// outline and the picture where the stretched canvas puts them, to one printer pixel, and the
// picture's printed size in millimetres (480 layout pixels: 119.10 x 118.71 mm).
// origin: the printable area's top-left in printer pixels; printed: the canvas's printed size.
void ExpectFrontPrinted(const QString& pdf, int dpi, QPoint origin, QSize printed, QSize canvas);

inline double toMm(double pixels, int dpi) {
    return pixels / dpi * 25.4;
}

} // namespace pdfmeasure
