// The test page of a printer's calibration: a horizontal and a vertical line of 100 mm with a
// tick every millimetre (longer ones every 5 and 10 mm, numbered every 10), the corners of the
// front's frame where the cover print puts them (solid) and where the other size would put them
// (dashed: the standard jewel-case sizes or the design's scale), and a few lines that say where the lines should
// come out and how to turn what was measured into new values. The whole page is drawn with the
// calibration applied, as a cover would be, so a test page printed with good values measures
// true.
#pragma once

#include "print/PrinterCalibration.h"

#include <QPointF>
#include <QSize>
#include <QString>

class QPainter;

struct CalibrationPage {
    QString printerName;
    PrinterCalibration calibration;
    double dpiX = 600;
    double dpiY = 600;
    // The printable area's top-left, where the page's origin lies, in millimetres from the
    // paper's top-left corner.
    QPointF paperOrigin;
    // The layout canvas and its printed size in device pixels (PrintGeometry::printedSize), to
    // put the front frame's corners where the cover print puts the frame.
    QSize canvas;
    QSize printed;
    // Where the print moves the layout on a paper too short for it (PaperFit), in device pixels.
    QPointF layoutShift;
};

// Where the lines start, in millimetres from the page's origin before calibration.
inline constexpr double RulerLeft = 20;    // the horizontal line: its 0 mark's x, running right
inline constexpr double RulerTop = 150;    // the horizontal line's y, and the vertical's 0 mark
inline constexpr double RulerColumn = 150; // the vertical line's x, running down
inline constexpr double RulerLength = 100;

// Paints the page in the painter's device pixels, the page's origin at (0, 0).
void paintCalibrationPage(QPainter& painter, const CalibrationPage& page);
