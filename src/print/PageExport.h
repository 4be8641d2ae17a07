// The printed page written to a file instead of a printer, for use without a window: a PDF made
// exactly as printing to a PDF file makes it, and a PNG picture of that same page at a chosen
// resolution. Both go through the sharp print (printLayoutOn, paintLayout) as if from a print
// preview on a 96-dpi screen, and both write the file whole or not at all: the page is made
// beside the file first and put in its place only when it is complete, so that a failure leaves
// an existing file as it was and never a part of a page behind.
#pragma once

#include "print/LayoutPrint.h"
#include "print/PaperFit.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace PageExport {

// Resolutions a PNG page may have. An A4 page at 1200 dpi is 9921 x 14031 pixels (about 560 MB
// while it is painted); more is refused rather than attempted.
inline constexpr int MinDpi = 1;
inline constexpr int MaxDpi = 1200;

// The paper and the covers' scale of an exported page.
struct PageChoice {
    PaperFit::Paper paper = PaperFit::Paper::A4;
    bool standardSizes = false; // the standard jewel-case sizes instead of the design's scale
};

// A page's size in pixels at dpi: 2480 x 3508 at 300 dpi on A4.
QSize pageSizeAt(int dpi, PaperFit::Paper paper = PaperFit::Paper::A4);

// The page at dpi as printing lays it out on a PDF page of the paper: white, the layout placed
// on the printable area as the print places it, at the size the print gives it. dpi must lie in
// [MinDpi, MaxDpi]. Throws AppError when the covers do not fit on the paper.
QImage pageImage(const PrintSource& source, int dpi, const PageChoice& choice = {});

// Writes the page as a one-page PDF. Throws AppError "Cannot create file <file>" when the file
// cannot be written.
void writePdf(const PrintSource& source, const QString& file, const PageChoice& choice = {});

// Writes the page as a PNG picture at dpi (its resolution recorded in the file). Throws AppError
// "Cannot create file <file>" when the file cannot be written.
void writePng(const PrintSource& source, const QString& file, int dpi,
              const PageChoice& choice = {});

} // namespace PageExport
