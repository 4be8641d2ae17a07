#include "controls/GaugeMath.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace GaugeMath {
namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;

int toInt(long double value) {
    if (!std::isfinite(value))
        return 0;
    if (value >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace

int percentOfRange(qint64 part, qint64 whole) {
    if (whole == 0)
        return 0;
    return toInt(std::trunc((static_cast<long double>(part) * 100.0L) / whole));
}

int extentForPercent(int percent, int extent) {
    const long double fraction = static_cast<long double>(percent) * 0.01L;
    return toInt(std::trunc(static_cast<long double>(extent) * fraction));
}

int nearest(long double value) {
    // nearbyint rounds to nearest with ties to even in the default rounding mode.
    return toInt(std::nearbyint(value));
}

QPoint pieStartPoint(int percent, int middleX, int middleY) {
    const long double angle = Pi * (static_cast<long double>(percent) / 50 + 0.5L);
    return QPoint(nearest(middleX * (1 - std::cos(angle))),
                  nearest(middleY * (1 - std::sin(angle))));
}

QPoint needleEnd(int percent, int middleX, int baseY) {
    const long double angle = Pi * percent / 100;
    return QPoint(nearest(middleX * (1 - std::cos(angle))), nearest(baseY * (1 - std::sin(angle))));
}

QString rangeErrorText(qint64 low, qint64 high) {
    return QStringLiteral("Value must be between %1 and %2").arg(low).arg(high);
}

} // namespace GaugeMath
