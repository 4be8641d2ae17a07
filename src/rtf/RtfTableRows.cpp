#include "rtf/RtfTableRows.h"

#include "rtf/RtfGroupState.h"

#include <algorithm>
#include <cmath>

namespace {

// Edges beyond 22 inches either way are cut to that.
constexpr int MaxTwips = 31680;
// A cell beyond the row's definition, in a row with no definition at all: one inch.
constexpr int DefaultCellWidth = 1440;

int padding(int value, int unit, int gap) {
    return std::clamp(unit == 3 && value >= 0 ? value : gap, 0, MaxTwips);
}

} // namespace

RtfTableRowStops rtfTableRowStops(const RtfTableRowDefinition& row, const QList<int>& alignments,
                                  double fitWidth) {
    RtfTableRowStops stops;
    const qsizetype count = std::min<qsizetype>(alignments.size(), RtfTableRowDefinition::MaxCells);
    if (count == 0)
        return stops;

    // The right edge of each cell read, extrapolated beyond the definition, never decreasing.
    const int left = std::clamp(row.left, -MaxTwips, MaxTwips);
    QList<int> rights;
    rights.reserve(count);
    int previous = left;
    int width = DefaultCellWidth;
    for (qsizetype i = 0; i < count; ++i) {
        int right = i < row.cells.size() ? std::clamp(row.cells[i].right, -MaxTwips, MaxTwips)
                                         : std::min(previous + width, MaxTwips);
        right = std::max(right, previous);
        if (right > previous)
            width = right - previous;
        rights.append(right);
        previous = right;
    }

    const double padLeft = padding(row.paddingLeft, row.paddingLeftUnit, row.gap);
    const double padRight = padding(row.paddingRight, row.paddingRightUnit, row.gap);
    // The whole row in pixels, narrowed to the width it is shown at (a pixel short of it, so that
    // a right-aligned last column does not touch the edge and wrap).
    double scale = 1.0 / RtfTwipsPerPixel;
    const double rowRight = rights.last() / RtfTwipsPerPixel;
    if (fitWidth > 1 && rowRight > fitWidth - 1)
        scale *= (fitWidth - 1) / rowRight;

    double lastStop = 0;
    for (qsizetype first = 0; first < count;) {
        qsizetype last = first;
        while (last + 1 < count && row.continuesCell(last + 1))
            ++last;
        const double cellLeft = first == 0 ? left : rights[first - 1];
        const double spanLeft = std::min(cellLeft + padLeft, double(rights[last]));
        const double spanRight = std::max(spanLeft, rights[last] - padRight);
        QTextOption::Tab tab;
        switch (alignments[first]) {
        case 1:
            tab = QTextOption::Tab((spanLeft + spanRight) / 2 * scale, QTextOption::CenterTab);
            break;
        case 2:
            tab = QTextOption::Tab(spanRight * scale, QTextOption::RightTab);
            break;
        default:
            tab = QTextOption::Tab(spanLeft * scale, QTextOption::LeftTab);
            break;
        }
        // On whole twips, as RTF writes it: the line saved and read again is the same line.
        tab.position =
            std::max(std::round(tab.position * RtfTwipsPerPixel) / RtfTwipsPerPixel, lastStop);
        if (first > 0 || tab.type != QTextOption::LeftTab) {
            stops.leadingTab = stops.leadingTab || first == 0;
            stops.tabs.append(tab);
            lastStop = tab.position;
        }
        first = last + 1;
    }
    return stops;
}
