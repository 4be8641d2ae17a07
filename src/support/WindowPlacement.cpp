#include "support/WindowPlacement.h"

#include <algorithm>

QPoint keepOnScreen(QPoint stored, QSize windowSize, const QList<QRect>& screens, QPoint fallback) {
    // In 64 bits: a stored value near the ends of the integers (a hand-edited settings file) must
    // not wrap round onto a screen.
    const qint64 left = stored.x();
    const qint64 top = stored.y();
    const qint64 right = left + std::max(windowSize.width(), 1);
    const qint64 bottom = top + 30;
    for (const QRect& screen : screens) {
        const qint64 screenLeft = screen.x();
        const qint64 screenTop = screen.y();
        const qint64 visibleWidth =
            std::min(right, screenLeft + screen.width()) - std::max(left, screenLeft);
        const qint64 visibleHeight =
            std::min(bottom, screenTop + screen.height()) - std::max(top, screenTop);
        if (visibleWidth >= 50 && visibleHeight >= 20)
            return stored;
    }
    return fallback;
}
