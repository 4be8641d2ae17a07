// Stored window places are kept inside the available screen area: one row per case.
#include "support/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

struct PlaceCase {
    const char* name;
    QPoint stored;
    QSize frame;
    QList<QRect> areas;
    QPoint expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

const QRect Main(0, 0, 1280, 1024);
const QRect Left(-1920, 0, 1920, 1080);
const QRect AboveTaskBar(0, 0, 1280, 984);

class KeepOnScreen : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(KeepOnScreen, PlacesTheWholeWindowOnOneScreen) {
    const PlaceCase& c = GetParam();
    const QPoint placed = keepOnScreen(c.stored, c.frame, c.areas, QPoint(200, 100));
    EXPECT_EQ(placed, c.expected);
    if (!c.areas.isEmpty() && c.frame.width() <= 1280 && c.frame.height() <= 984) {
        bool inside = false;
        for (const QRect& area : c.areas)
            inside = inside || area.contains(QRect(placed, c.frame));
        EXPECT_TRUE(inside);
    }
}

const PlaceCase placeCases[] = {
    {"InsideStays", {300, 50}, {866, 900}, {Main, Left}, {300, 50}},
    {"OnTheLeftScreenStays", {-1500, 40}, {866, 900}, {Main, Left}, {-1500, 40}},
    {"HangingOffTheBottomMovesUp", {300, 400}, {866, 900}, {Main}, {300, 124}},
    {"HangingOffTheRightMovesLeft", {1260, 500}, {866, 900}, {Main, Left}, {414, 124}},
    {"AboveTheTopMovesDown", {300, -10}, {866, 900}, {Main}, {300, 0}},
    {"NotBelowTheTaskBar", {200, 100}, {866, 900}, {AboveTaskBar}, {200, 84}},
    {"AcrossTwoScreensGoesToTheLargerPart", {-400, 100}, {866, 900}, {Main, Left}, {0, 100}},
    {"OnNoScreenTakesTheFallback", {-5000, 40}, {866, 900}, {Main, Left}, {200, 100}},
    {"TheFallbackIsKeptInsideToo", {5000, 5000}, {866, 980}, {Main}, {200, 44}},
    {"LargerThanTheScreenStartsAtItsCorner", {100, 100}, {2000, 1200}, {Main}, {0, 0}},
    {"NoScreensKnownKeepsTheStoredPlace", {10, 20}, {100, 100}, {}, {10, 20}},
};

INSTANTIATE_TEST_SUITE_P(support, KeepOnScreen, ::testing::ValuesIn(placeCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
