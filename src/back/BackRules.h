// The rules of the back-cover editor that need no window: its fixed layout, and the name and spine
// text taken from the list's first displayed lines. The copy of the list onto the back picture is
// cover/BackText.h.
#pragma once

#include <QString>
#include <QStringList>

namespace BackRules {

// The editor's fixed layout, in client pixels.
inline constexpr int EditorWidth = 556;
inline constexpr int EditorHeight = 472;
inline constexpr int TopPanelHeight = 140;
// Below the top panel: the format bar, then the ruler right above the text.
inline constexpr int FormatBarHeight = 28;
inline constexpr int RulerHeight = 20;
inline constexpr int EditorTop = TopPanelHeight + FormatBarHeight + RulerHeight;
inline constexpr int BottomPanelHeight = 67;
inline constexpr int ButtonLeft = 68;

// Leading and trailing blanks removed (only the blank, not tabs); blanks only give "".
QString trimLine(const QString& line);

// Line 1 of the list, trimmed; when that has fewer than 10 characters, line 2, trimmed, whatever
// its length (empty when there is none). Names the project folder and gives the spine text.
QString nameFromLines(const QStringList& lines);

} // namespace BackRules
