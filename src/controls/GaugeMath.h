// The arithmetic of the progress gauge: the percentage of a range, the pixel extent of a
// percentage, the points that steer the pie and the needle, and the text of a range error.
// Both integer rules compute in extended precision (long double, 64-bit mantissa on x86-64) and
// truncate toward zero, so their results match the gauge the program was designed with to the
// pixel, including the places where the extent comes out one short.
#pragma once

#include <QPoint>
#include <QString>
#include <QtGlobal>

namespace GaugeMath {

// trunc((part * 100.0) / whole); 0 when whole is 0.
int percentOfRange(qint64 part, qint64 whole);

// trunc(extent * (percent * 0.01)), with 0.01 held in extended precision (a hair below one
// hundredth): 5 % of 20 gives 0, 5 % of 400 gives 19, 10 % of 400 gives 39; 50 % and 100 % are
// exact.
int extentForPercent(int percent, int extent);

// The nearest integer, halves to the even neighbour.
int nearest(long double value);

// The point through which the pie's filled wedge starts for a percentage, in a box whose middle
// is (middleX, middleY): the wedge runs from there counter-clockwise to twelve o'clock.
QPoint pieStartPoint(int percent, int middleX, int middleY);

// The needle's free end for a percentage: pointing left at 0 %, up at 50 %, right at 100 %.
QPoint needleEnd(int percent, int middleX, int baseY);

// "Value must be between %d and %d" with the two numbers.
QString rangeErrorText(qint64 low, qint64 high);

} // namespace GaugeMath
