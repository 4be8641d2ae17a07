// Painting the layout onto a printed page, on any paint device (a printer, a PDF, an image).
//
// The plain print stretches the layout canvas into the printed rectangle. The sharp print keeps
// that page geometry exactly (the same rectangle, scale and page factors) but draws what it can
// at the device's own resolution: the template's frames and marks as printer-pixel rectangles,
// the front and back pictures from their original pixels, the spine text as text, and a back
// picture that is the copy of the editor's list as that list itself, in text. A piece is
// redrawn only where the canvas shows it unchanged (drawing it again onto the canvas would change
// nothing); everything else on the canvas, such as the end of a longer spine text left behind by
// a shorter one, prints stretched from the canvas as before.
#pragma once

#include "cover/BackText.h"
#include "cover/CoverOptions.h"
#include "cover/CoverLayout.h"
#include "platform/Picture.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// What the layout canvas was made from: the main window's canvas and pictures as they are when
// the print preview is opened.
class Cover;

struct PrintSource {
    QImage canvas; // the layout canvas
    Picture front;
    Picture back;
    BackTextView backText; // the list the back picture was copied from, if it was
    QString spineText;
    CoverOptions coverOptions; // how the front fills its square
    QRect leftSpine = Layout::LeftSpineBounds;
    QRect rightSpine = Layout::RightSpineBounds;
};

// What the preview and the print are made from: the cover as it is now.
PrintSource printSourceOf(const Cover& cover);

enum class PrintMode {
    Stretch, // the canvas stretched onto the page
    Sharp,   // the same page, drawn at the device's resolution where the canvas allows
};

// What the sharp print draws itself, worked out from the canvas.
struct SharpPlan {
    QImage residual;            // the canvas with the redrawn pieces made white
    bool residualBlank = true;  // nothing left to stretch from the canvas
    QList<QRect> templateRects; // template pixels still black on the canvas, in layout pixels
    QImage frontImage;          // null when the front is printed from the canvas
    QImage backImage;
    bool backText = false;  // the back is drawn from the list
    bool spineText = false; // the spine text is redrawn
};

// printed: the size of the printed canvas in device pixels (PrintGeometry::PrintedSize).
// reducePictures: pictures decoded larger than their printed rectangle are reduced to it (for a
// raster device); otherwise they keep their decoded pixels (for a PDF, which scales them).
// frontStandIn: when not null, what is drawn in the front picture's place if the front prints
// from its own pixels (the PDF export puts the JPEG's bytes in its place afterwards).
SharpPlan planSharpPrint(const PrintSource& source, QSize printed, bool reducePictures = true,
                         const QImage& frontStandIn = QImage());

// Paints the layout into (0, 0, printed) of the painter's device coordinates.
void paintLayout(QPainter& painter, const PrintSource& source, QSize printed, PrintMode mode);

// The sharp print from a plan made once, for a page painted in parts (bands of rows): what
// paintLayout paints in PrintMode::Sharp with planSharpPrint(source, printed).
void paintSharpPlan(QPainter& painter, const PrintSource& source, const SharpPlan& plan,
                    QSize printed);

// The black pixels of a mask as rectangles: runs along each row, runs of the same extent in
// consecutive rows merged.
QList<QRect> blackRects(const QImage& mask);
