#include "browse/BrowseGeometry.h"

#include "support/WindowPlacement.h"

#include <algorithm>
#include <limits>

namespace BrowseGeometry {

int treeWidth(int stored, int clientWidth) {
    const int widest = clientWidth - MinimumFileListWidth;
    return std::max(MinimumTreeWidth, std::min(stored, std::max(widest, MinimumTreeWidth)));
}

namespace {

// Squared distance from a point to a rectangle, 0 inside it (in doubles: points near the ends
// of the integers come from hand-edited settings).
double distanceSquared(QPoint p, const QRect& r) {
    const double dx = std::max({double(r.left()) - p.x(), 0.0, double(p.x()) - r.right()});
    const double dy = std::max({double(r.top()) - p.y(), 0.0, double(p.y()) - r.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

QRect placeOnScreen(const QRect& stored, QSize minimum, const QList<QRect>& screens) {
    QPoint topLeft(std::max(stored.left(), 0), std::max(stored.top(), 0));
    QSize size = stored.size().expandedTo(minimum);
    if (screens.isEmpty())
        return QRect(topLeft, size);

    const QRect* nearest = &screens.first();
    double best = std::numeric_limits<double>::max();
    for (const QRect& screen : screens) {
        const double d = distanceSquared(topLeft, screen);
        if (d < best) {
            best = d;
            nearest = &screen;
        }
    }
    size = size.boundedTo(nearest->size());
    // The whole window on the screen it overlaps most; off every screen, on the nearest one.
    const QPoint onNearest(
        std::clamp(topLeft.x(), nearest->left(), nearest->right() + 1 - size.width()),
        std::clamp(topLeft.y(), nearest->top(), nearest->bottom() + 1 - size.height()));
    return QRect(keepOnScreen(topLeft, size, screens, onNearest), size);
}

TreePanel layoutTreePanel(QSize panel, QSize newFolderButton, int driveListTop,
                          int driveListHeight) {
    TreePanel p;
    const int buttonLeft = panel.width() - newFolderButton.width() - 10;
    p.newFolderButton = QRect(QPoint(buttonLeft, driveListTop), newFolderButton);
    p.driveList = QRect(5, driveListTop, std::max(buttonLeft - 10, 0), driveListHeight);
    const int treeTop = driveListTop + driveListHeight + 5;
    p.tree = QRect(0, treeTop, std::max(panel.width() - 2, 0),
                   std::max(panel.height() - treeTop - 1, 0));
    return p;
}

Buttons layoutButtons(bool large, int clientWidth, int countWidth, int okWidth, int cancelWidth) {
    Buttons b;
    if (large) {
        const int gap = (clientWidth - countWidth - okWidth - cancelWidth) / 3;
        b.okLeft = countWidth + gap;
        b.cancelLeft = b.okLeft + okWidth + gap;
    } else {
        const int gap = (clientWidth - okWidth - cancelWidth) / 3;
        b.okLeft = gap;
        b.cancelLeft = b.okLeft + okWidth + gap;
    }
    return b;
}

int centredLeft(int clientWidth, int width) {
    return (clientWidth - width) / 2;
}

} // namespace BrowseGeometry
