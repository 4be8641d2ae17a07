// Tab stops with a dot leader. Qt lays out left, centre, right and decimal stops but knows no
// leaders, so a stop's leader travels in the stop itself: a left, centre or right stop whose
// delimiter is a full stop has a dot leader (Qt reads the delimiter of decimal stops only). The
// RTF reader and writer carry it as \tldot, the editor's ruler sets it, and the leader's dots are
// painted over the laid-out text (cover/TabLeaders.h).
#pragma once

#include <QList>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <optional>

namespace TabStops {

inline bool hasDotLeader(const QTextOption::Tab& tab) {
    return tab.type != QTextOption::DelimiterTab && tab.delimiter == QLatin1Char('.');
}

inline QTextOption::Tab withDotLeader(QTextOption::Tab tab, bool leader) {
    if (tab.type != QTextOption::DelimiterTab)
        tab.delimiter = leader ? QChar(QLatin1Char('.')) : QChar();
    return tab;
}

// A change to a paragraph's stops: the stop at `from` goes (none: a stop is added), `to` comes
// (none: the stop is removed). A stop already at the new place is replaced. The stops stay in
// order of their position.
struct Edit {
    std::optional<double> from;
    std::optional<QTextOption::Tab> to;
};

inline QList<QTextOption::Tab> applied(QList<QTextOption::Tab> tabs, const Edit& edit) {
    const auto near = [](double a, double b) { return std::abs(a - b) < 0.5; };
    if (edit.from)
        tabs.removeIf([&](const QTextOption::Tab& t) { return near(t.position, *edit.from); });
    if (edit.to) {
        tabs.removeIf([&](const QTextOption::Tab& t) { return near(t.position, edit.to->position); });
        const auto at = std::lower_bound(
            tabs.begin(), tabs.end(), edit.to->position,
            [](const QTextOption::Tab& t, double position) { return t.position < position; });
        tabs.insert(at, *edit.to);
    }
    return tabs;
}

} // namespace TabStops
