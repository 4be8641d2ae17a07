#include "print/PrintGeometry.h"

#include <cmath>

namespace PrintGeometry {

int RoundHalfEven(double value) {
    return int(std::nearbyint(value));
}

double ScreenScaleFor(double logicalDpi) {
    return logicalDpi > 0 ? logicalDpi / 96.0 : 1.0;
}

QSize CreationClientSize(double screenScale) {
    return QSize(RoundHalfEven(420 * screenScale), RoundHalfEven(594 * screenScale) + PanelHeight);
}

QSize ClientSize(double screenScale) {
    return PreviewSize(screenScale) + QSize(0, PanelHeight);
}

QSize PreviewSize(double screenScale) {
    return QSize(RoundHalfEven(630 * screenScale), RoundHalfEven(891 * screenScale));
}

PrintScale ScaleFor(double printerDpiX, double printerDpiY, double windowDpiX, double windowDpiY,
                    double screenScale) {
    return PrintScale{printerDpiX / windowDpiX * screenScale,
                      printerDpiY / windowDpiY * screenScale};
}

QSize PrintedSize(QSize canvas, PrintScale scale) {
    return QSize(RoundHalfEven(canvas.width() * scale.sx * WidthFactor),
                 RoundHalfEven(canvas.height() * scale.sy * HeightFactor));
}

QRect ToPrinted(const QRect& layoutRect, QSize canvas, QSize printed) {
    if (canvas.isEmpty())
        return QRect();
    const double kx = double(printed.width()) / canvas.width();
    const double ky = double(printed.height()) / canvas.height();
    const int left = RoundHalfEven(layoutRect.left() * kx);
    const int top = RoundHalfEven(layoutRect.top() * ky);
    const int right = RoundHalfEven((layoutRect.left() + layoutRect.width()) * kx);
    const int bottom = RoundHalfEven((layoutRect.top() + layoutRect.height()) * ky);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace PrintGeometry
