// The arithmetic of the print preview window and of the printed page: the window's sizes from the
// screen's scale, and the size at which the layout canvas prints. Square brackets in the comments
// mean the nearest integer, halves going to the even neighbour.
#pragma once

#include <QRect>
#include <QSize>

namespace PrintGeometry {

// Height of the button panel above the preview, in pixels at any screen scale.
inline constexpr int PanelHeight = 54;
// Height of the line under the preview that warns of a front picture that prints soft; the window
// grows by it while the line shows, and the preview keeps its size.
inline constexpr int NoteHeight = 26;

// One layout pixel prints 0.93781/96 inch wide and 0.93474/96 inch high.
inline constexpr double WidthFactor = 0.93781;
inline constexpr double HeightFactor = 0.93474;

// The nearest integer, halves to the even neighbour (787.5 -> 788, 788.5 -> 788).
int roundHalfEven(double value);

// The screen's pixels per inch divided by 96.
double screenScaleFor(double logicalDpi);

// Client area at creation: [420 x scale] by [594 x scale] + the panel.
QSize creationClientSize(double screenScale);
// Client area once shown, kept at every resize: an A4 page at 3 pixels per millimetre at 96
// pixels per inch, [630 x scale] by [891 x scale] + the panel.
QSize clientSize(double screenScale);
// The preview image below the panel: [630 x scale] by [891 x scale].
QSize previewSize(double screenScale);

// Printer pixels per layout pixel before the page factors: the printer's pixels per inch over the
// window's, times the screen scale (the printer's resolution over 96 when the window is on a
// 96-dpi screen).
struct PrintScale {
    double sx = 1;
    double sy = 1;
};
PrintScale scaleFor(double printerDpiX, double printerDpiY, double windowDpiX, double windowDpiY,
                    double screenScale);

// [width x sx x 0.93781] by [height x sy x 0.93474]: the printed size of the canvas, in printer
// pixels from the top-left corner of the printable area.
QSize printedSize(QSize canvas, PrintScale scale);

// At the standard jewel-case sizes one layout pixel prints a quarter of a millimetre each way:
// the front 120 x 120 mm, the tray card 150 x 118 mm with its spines.
inline constexpr double StandardMmPerPixel = 0.25;
QSize standardPrintedSize(QSize canvas, double dpiX, double dpiY);

// The printed size on a device of dpiX by dpiY: at the design's scale as seen from the preview's
// window (printedSize), or at the standard sizes.
QSize printedSizeOn(QSize canvas, double dpiX, double dpiY, double windowDpiX, double windowDpiY,
                    double screenScale, bool standardSizes);

// A rectangle of layout pixels (right and bottom exclusive) on the printed page, each edge placed
// where the stretched canvas puts it and rounded to the nearest printer pixel.
QRect toPrinted(const QRect& layoutRect, QSize canvas, QSize printed);

} // namespace PrintGeometry
