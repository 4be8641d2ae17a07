// Where the browse dialog stands and how its controls share its room, computed without a
// window. The dialog keeps a place per mode (large: tree and file list; small: folders only)
// in the settings store, and lays out its controls again at every resize.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace BrowseGeometry {

// The narrowest the tree's side of the large dialog may be, and the narrowest the file list
// is left beside it.
inline constexpr int MinimumTreeWidth = 200;
inline constexpr int MinimumFileListWidth = 100;

// The smallest outer sizes of the two modes that still show every control.
inline constexpr QSize MinimumLarge{420, 300};
inline constexpr QSize MinimumSmall{250, 300};

// The tree side's width for a stored splitter place in a dialog with this client width: at
// least MinimumTreeWidth, and leaving MinimumFileListWidth to the file list where the dialog
// is wide enough for both.
int treeWidth(int stored, int clientWidth);

// The outer rectangle for a stored place: a negative top or left becomes 0; the size is at
// least the minimum and at most that of the screen nearest to the place; the window is moved as
// little as needed to lie wholly on the screen it overlaps most, or on the nearest screen when
// it overlaps none (a screen that is gone, a hand-edited value). With no screens known, only the
// first two rules apply.
QRect placeOnScreen(const QRect& stored, QSize minimum, const QList<QRect>& screens);

// The controls of the tree side, in a panel of the given size.
struct TreePanel {
    QRect newFolderButton;
    QRect driveList;
    QRect tree;
};
// The new-folder button stands 10 pixels from the panel's right edge, at the drive list's top;
// the drive list starts 5 pixels in and is 10 pixels narrower than the button's left edge, so
// it ends 5 pixels before the button; the tree fills the panel below them, 5 pixels under the
// drive list, 2 pixels narrower and 1 pixel shorter than the room left.
TreePanel layoutTreePanel(QSize panel, QSize newFolderButton, int driveListTop,
                          int driveListHeight);

// The left edges of OK and Cancel in the bottom panel: the free width is shared in three equal
// gaps (before OK, between the buttons, after Cancel); in the large mode the file count's label
// stands before the first gap. Divisions truncate toward zero.
struct Buttons {
    int okLeft;
    int cancelLeft;
};
Buttons layoutButtons(bool large, int clientWidth, int countWidth, int okWidth, int cancelWidth);

// The left edge of something centred in the client width.
int centredLeft(int clientWidth, int width);

} // namespace BrowseGeometry
