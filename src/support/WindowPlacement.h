// Keeps a remembered window position reachable: a position from another screen set-up (a
// monitor that is gone, a hand-edited value) would put the window where nobody can grab it.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The stored position when enough of the window's top edge (at least 50 x 20 pixels of its
// first 30 rows) lies on one of the screens; otherwise the fallback.
QPoint keepOnScreen(QPoint stored, QSize windowSize, const QList<QRect>& screens, QPoint fallback);
