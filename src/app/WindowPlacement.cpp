#include "app/WindowPlacement.h"

QPoint KeepOnScreen(QPoint stored, QSize windowSize, const QList<QRect>& screens, QPoint fallback) {
    const QRect topEdge(stored, QSize(std::max(windowSize.width(), 1), 30));
    for (const QRect& screen : screens) {
        const QRect visible = topEdge.intersected(screen);
        if (visible.width() >= 50 && visible.height() >= 20)
            return stored;
    }
    return fallback;
}
