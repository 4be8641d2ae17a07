// The rules of the back-cover editor that need no window: the name and spine text taken from the
// list's first displayed lines, and the copy of the editor's pixels onto the back picture.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

namespace BackRules {

// The editor's fixed layout, in client pixels.
inline constexpr int EditorWidth = 556;
inline constexpr int EditorHeight = 472;
inline constexpr int TopPanelHeight = 140;
inline constexpr int BottomPanelHeight = 67;
inline constexpr int ButtonLeft = 68;

// What the copy to the back cover takes from the window and where it puts it on the back
// picture: from 5 pixels right of the editor's left edge and 3 below its top edge (inside its
// sunken border) to its bottom edge and 4 short of its right edge, stretched onto the editor's
// full size; what falls beyond the picture's right edge at 552 is lost.
inline const QRect CopySource =
    QRect(QPoint(5, TopPanelHeight + 3), QPoint(552 - 1, TopPanelHeight + EditorHeight - 1));
inline const QRect CopyTarget = QRect(0, 0, EditorWidth, EditorHeight);

// Leading and trailing blanks removed (only the blank, not tabs); blanks only give "".
QString trimLine(const QString& line);

// Line 1 of the list, trimmed; when that has fewer than 10 characters, line 2, trimmed, whatever
// its length (empty when there is none). Names the project folder and gives the spine text.
QString nameFromLines(const QStringList& lines);

// Stretches CopySource of the window's pixels onto CopyTarget of the back picture, without
// smoothing, as the screen copy does.
void copyEditorPixels(const QImage& windowPixels, QImage& backPicture);

} // namespace BackRules
