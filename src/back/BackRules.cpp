#include "back/BackRules.h"

#include "support/StringHelpers.h"

namespace BackRules {

QString trimLine(const QString& line) {
    return trimTrailingSpaces(trimLeadingSpaces(line));
}

QString nameFromLines(const QStringList& lines) {
    const QString first = lines.isEmpty() ? QString() : trimLine(lines[0]);
    if (first.size() >= 10)
        return first;
    return lines.size() > 1 ? trimLine(lines[1]) : QString();
}

} // namespace BackRules
