#include "controls/GaugeMath.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace GaugeMath {
namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;

int ToInt(long double value) {
    if (!std::isfinite(value))
        return 0;
    if (value >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace

int PercentOfRange(qint64 part, qint64 whole) {
    if (whole == 0)
        return 0;
    return ToInt(std::trunc((static_cast<long double>(part) * 100.0L) / whole));
}

int ExtentForPercent(int percent, int extent) {
    const long double fraction = static_cast<long double>(percent) * 0.01L;
    return ToInt(std::trunc(static_cast<long double>(extent) * fraction));
}

int Nearest(long double value) {
    // nearbyint rounds to nearest with ties to even in the default rounding mode.
    return ToInt(std::nearbyint(value));
}

QPoint PieStartPoint(int percent, int middleX, int middleY) {
    const long double angle = Pi * (static_cast<long double>(percent) / 50 + 0.5L);
    return QPoint(Nearest(middleX * (1 - std::cos(angle))),
                  Nearest(middleY * (1 - std::sin(angle))));
}

QPoint NeedleEnd(int percent, int middleX, int baseY) {
    const long double angle = Pi * percent / 100;
    return QPoint(Nearest(middleX * (1 - std::cos(angle))), Nearest(baseY * (1 - std::sin(angle))));
}

QString RangeErrorText(qint64 low, qint64 high) {
    return QStringLiteral("Value must be between %1 and %2").arg(low).arg(high);
}

} // namespace GaugeMath
