#include "print/PrintGeometry.h"

#include <cmath>

namespace PrintGeometry {

int roundHalfEven(double value) {
    return int(std::nearbyint(value));
}

double screenScaleFor(double logicalDpi) {
    return logicalDpi > 0 ? logicalDpi / 96.0 : 1.0;
}

QSize creationClientSize(double screenScale) {
    return QSize(roundHalfEven(420 * screenScale), roundHalfEven(594 * screenScale) + PanelHeight);
}

QSize clientSize(double screenScale) {
    return previewSize(screenScale) + QSize(0, PanelHeight);
}

QSize previewSize(double screenScale) {
    return QSize(roundHalfEven(630 * screenScale), roundHalfEven(891 * screenScale));
}

PrintScale scaleFor(double printerDpiX, double printerDpiY, double windowDpiX, double windowDpiY,
                    double screenScale) {
    return PrintScale{printerDpiX / windowDpiX * screenScale,
                      printerDpiY / windowDpiY * screenScale};
}

QSize printedSize(QSize canvas, PrintScale scale) {
    return QSize(roundHalfEven(canvas.width() * scale.sx * WidthFactor),
                 roundHalfEven(canvas.height() * scale.sy * HeightFactor));
}

QSize standardPrintedSize(QSize canvas, double dpiX, double dpiY) {
    return QSize(roundHalfEven(canvas.width() * StandardMmPerPixel / 25.4 * dpiX),
                 roundHalfEven(canvas.height() * StandardMmPerPixel / 25.4 * dpiY));
}

QSize printedSizeOn(QSize canvas, double dpiX, double dpiY, double windowDpiX, double windowDpiY,
                    double screenScale, bool standardSizes) {
    if (standardSizes)
        return standardPrintedSize(canvas, dpiX, dpiY);
    return printedSize(canvas, scaleFor(dpiX, dpiY, windowDpiX, windowDpiY, screenScale));
}

QRect toPrinted(const QRect& layoutRect, QSize canvas, QSize printed) {
    if (canvas.isEmpty())
        return QRect();
    const double kx = double(printed.width()) / canvas.width();
    const double ky = double(printed.height()) / canvas.height();
    const int left = roundHalfEven(layoutRect.left() * kx);
    const int top = roundHalfEven(layoutRect.top() * ky);
    const int right = roundHalfEven((layoutRect.left() + layoutRect.width()) * kx);
    const int bottom = roundHalfEven((layoutRect.top() + layoutRect.height()) * ky);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace PrintGeometry
