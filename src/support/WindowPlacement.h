// Keeps windows on the screen: a remembered place from another screen set-up (a monitor that is
// gone, a smaller one, a hand-edited value) must not put a window, or part of it, where nobody
// can reach it.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window goes whose place was stored as `stored` and whose outer frame has frameSize:
// on the area it overlaps most, moved as little as needed to lie wholly inside it (top-left
// inside when it is larger than the area). A place that overlaps no area gives the fallback,
// kept inside in the same way.
QPoint keepOnScreen(QPoint stored, QSize frameSize, const QList<QRect>& areas, QPoint fallback);

// The available areas of the screens: without the task bars and docks.
QList<QRect> availableScreenAreas();

// The main window's outer height, title bar included: the available height less 50 pixels.
int mainWindowOuterHeight(int availableHeight);
