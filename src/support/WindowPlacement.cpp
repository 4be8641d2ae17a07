#include "support/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {

// In 64 bits: a stored value near the ends of the integers (a hand-edited settings file) must not
// wrap round onto a screen.
struct Span {
    qint64 left, top, right, bottom; // right and bottom exclusive
};

Span spanOf(QPoint at, QSize size) {
    return {at.x(), at.y(), qint64(at.x()) + std::max(size.width(), 1),
            qint64(at.y()) + std::max(size.height(), 1)};
}

qint64 overlap(const Span& w, const QRect& area) {
    const qint64 width =
        std::min(w.right, qint64(area.x()) + area.width()) - std::max(w.left, qint64(area.x()));
    const qint64 height =
        std::min(w.bottom, qint64(area.y()) + area.height()) - std::max(w.top, qint64(area.y()));
    return width > 0 && height > 0 ? width * height : 0;
}

// The area the window overlaps most; -1 when it overlaps none.
int bestArea(const Span& w, const QList<QRect>& areas) {
    int best = -1;
    qint64 most = 0;
    for (int i = 0; i < areas.size(); ++i)
        if (const qint64 o = overlap(w, areas[i]); o > most) {
            most = o;
            best = i;
        }
    return best;
}

qint64 keepInside(qint64 position, qint64 length, qint64 areaStart, qint64 areaLength) {
    if (length >= areaLength)
        return areaStart;
    return std::clamp(position, areaStart, areaStart + areaLength - length);
}

} // namespace

QPoint keepOnScreen(QPoint stored, QSize frameSize, const QList<QRect>& areas, QPoint fallback) {
    if (areas.isEmpty())
        return stored; // nothing known to judge by
    QPoint at = stored;
    int area = bestArea(spanOf(at, frameSize), areas);
    if (area < 0) {
        at = fallback;
        area = std::max(bestArea(spanOf(at, frameSize), areas), 0);
    }
    const QRect& a = areas[area];
    const qint64 x = keepInside(at.x(), std::max(frameSize.width(), 1), a.x(), a.width());
    const qint64 y = keepInside(at.y(), std::max(frameSize.height(), 1), a.y(), a.height());
    return QPoint(int(x), int(y));
}

QList<QRect> availableScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

int mainWindowOuterHeight(int availableHeight) {
    return availableHeight - 50;
}
