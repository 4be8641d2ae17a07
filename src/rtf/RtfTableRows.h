// Table rows as the RTF reader shows them: one line per row, the cells separated by tabs, with a
// tab stop where each cell's text starts (left-aligned cells), ends (right-aligned) or is centred.
// So a track list typed as a table in a word processor reads as aligned columns, survives the
// editor's own RTF writer as `\tx` tab stops, and paints and prints like any other line.
//
// A row's cells are defined by `\trowd … \clmgf/\clmrg … \cellxN` before or after its text; the
// text of each cell ends with `\cell`, the row with `\row`. Cells merged into the one before
// (`\clmrg`) add no column. Cells beyond the definition continue at the width of the last one.
#pragma once

#include <QList>
#include <QTextOption>

struct RtfTableCell {
    int right = 0;       // \cellx: the cell's right edge in twips
    bool merged = false; // \clmrg: part of the cell before it
};

struct RtfTableRowDefinition {
    // A row defines at most this many cells; Word allows 63.
    static constexpr int MaxCells = 64;

    int left = 0;                // \trleft: where the first cell starts, in twips
    int gap = 0;                 // \trgaph: half the space between cells' texts
    int paddingLeft = -1;        // \trpaddl; -1 when not given
    int paddingRight = -1;       // \trpaddr
    int paddingLeftUnit = 0;     // \trpaddfl: 3 for twips, 0 to ignore \trpaddl
    int paddingRightUnit = 0;    // \trpaddfr
    bool nextCellMerged = false; // \clmrg seen for the cell being defined
    QList<RtfTableCell> cells;

    // True when the row's cell `index` is merged into the one before it.
    bool continuesCell(qsizetype index) const {
        return index > 0 && index < cells.size() && cells[index].merged;
    }
};

// Where the cells of one row stand on its line.
struct RtfTableRowStops {
    QList<QTextOption::Tab> tabs; // in pixels, one per column after the first, in order
    bool leadingTab = false;      // the first column is right-aligned or centred: its text comes
                                  // after a tab too, and the first tab stop is its
};

// The tab stops of a row whose cells were read with these paragraph alignments (0 left,
// 1 centre, 2 right, 3 justified; one per `\cell`, merged ones included), in pixels. A row wider
// than `fitWidth` pixels (when that is above 0) is narrowed to fit it, the columns keeping their
// proportions. Hostile edges (huge, negative, decreasing) give stops that still increase.
RtfTableRowStops rtfTableRowStops(const RtfTableRowDefinition& row, const QList<int>& alignments,
                                  double fitWidth);
