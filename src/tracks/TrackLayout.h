// Lays a TrackList out as the back cover's list of contents, into the back-cover editor's
// document: a heading (album artist – album, year), one line per track with its number, title
// (and artist on a compilation) and duration against a right-aligned tab stop, discs under a
// heading of their own, and the total time at the end.
//
// The list is made to fit the back: the largest font size at which every track fits the text
// area above the product name is chosen, down to a readable minimum; below that the tracks go
// into two columns. Titles are broken into lines here, each line a paragraph of its own with
// real tab stops, so that a long title wraps under itself (not under its number) and the columns
// stay where they are in the editor, on the back picture, in the print and in the RTF file.
// Sizes and tab positions are whole pixels and half points, which RTF carries exactly.
#pragma once

#include "tracks/TrackList.h"

#include <QSizeF>

class QTextDocument;

namespace TrackLayout {

inline constexpr double LargestPointSize = 12.0;
inline constexpr double SmallestOneColumnPointSize = 9.0;
inline constexpr double SmallestPointSize = 7.0;
// Kept free at the bottom of the text area: the product name is stamped there on the back.
inline constexpr int ProductNameBand = 24;
inline const QString FontFamily = QStringLiteral("Arial");

struct Choice {
    double pointSize = 0;
    int columns = 1;
    bool fits = true; // false: even two columns at the smallest size are too long for the back
};

// Replaces the document's content with the list, as one step that one undo takes back.
// textArea: the size of the editor's text area (the document's page width and the visible
// height).
Choice layOut(const TrackList& list, QTextDocument& document, QSizeF textArea);

} // namespace TrackLayout
