#include "print/PrintGeometry.h"

#include <gtest/gtest.h>

using namespace PrintGeometry;

struct HalfCase {
    double value;
    int rounded;
};
class RoundHalfEvenTest : public ::testing::TestWithParam<HalfCase> {};

TEST_P(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(GetParam().value), GetParam().rounded);
}
INSTANTIATE_TEST_SUITE_P(Cases, RoundHalfEvenTest,
                         ::testing::Values(HalfCase{787.5, 788}, HalfCase{788.5, 788},
                                           HalfCase{1113.75, 1114}, HalfCase{0.5, 0},
                                           HalfCase{1.5, 2}, HalfCase{4952.9, 4953},
                                           HalfCase{-2.5, -2}, HalfCase{6940.4, 6940}));

struct WindowCase {
    double dpi;
    QSize creation; // client area at creation, panel included
    QSize shown;    // client area at every resize, panel included
};
class WindowSizeTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WindowSizeTest, ClientAreaFollowsTheScreenScale) {
    const double scale = screenScaleFor(GetParam().dpi);
    EXPECT_EQ(creationClientSize(scale), GetParam().creation);
    EXPECT_EQ(clientSize(scale), GetParam().shown);
    EXPECT_EQ(previewSize(scale), GetParam().shown - QSize(0, PanelHeight));
}
INSTANTIATE_TEST_SUITE_P(
    Screens, WindowSizeTest,
    ::testing::Values(WindowCase{96, QSize(420, 594 + 54), QSize(630, 891 + 54)},
                      // 787.5 goes to the even 788; 1113.75 to 1114.
                      WindowCase{120, QSize(525, 742 + 54), QSize(788, 1114 + 54)},
                      // 1336.5 goes to the even 1336.
                      WindowCase{144, QSize(630, 891 + 54), QSize(945, 1336 + 54)},
                      WindowCase{72, QSize(315, 446 + 54), QSize(472, 668 + 54)}));

struct PrintCase {
    QSize canvas;
    double printerDpi, windowDpi, screenScale;
    QSize printed;
};
class PrintedSizeTest : public ::testing::TestWithParam<PrintCase> {};

TEST_P(PrintedSizeTest, CanvasPrintsAtThePageFactors) {
    const PrintCase& c = GetParam();
    const PrintScale scale =
        scaleFor(c.printerDpi, c.printerDpi, c.windowDpi, c.windowDpi, c.screenScale);
    EXPECT_EQ(printedSize(c.canvas, scale), c.printed);
}
INSTANTIATE_TEST_SUITE_P(
    Printers, PrintedSizeTest,
    ::testing::Values(
        // [845 x 6.25 x 0.93781] = 4953 by [1188 x 6.25 x 0.93474] = 6940.
        PrintCase{QSize(845, 1188), 600, 96, 1.0, QSize(4953, 6940)},
        // A window on a 120-dpi screen prints the same page.
        PrintCase{QSize(845, 1188), 600, 120, 1.25, QSize(4953, 6940)},
        PrintCase{QSize(845, 1188), 1200, 96, 1.0, QSize(9906, 13881)},
        PrintCase{QSize(845, 1188), 300, 96, 1.0, QSize(2476, 3470)},
        // A narrower canvas on a small screen keeps the scale: only less of it prints.
        PrintCase{QSize(600, 1188), 600, 96, 1.0, QSize(3517, 6940)},
        PrintCase{QSize(1, 1188), 600, 96, 1.0, QSize(6, 6940)}));

TEST(PrintGeometry, PrinterWithDifferentResolutionsAcrossAndDown) {
    const PrintScale scale = scaleFor(600, 300, 96, 96, 1.0);
    EXPECT_EQ(printedSize(QSize(845, 1188), scale), QSize(4953, 3470));
}

TEST(PrintGeometry, LayoutRectanglesLandWhereTheStretchedCanvasPutsThem) {
    const QSize canvas(845, 1188), printed(4953, 6940);
    // The front picture (180, 60)-(660, 540): 480 layout pixels are 2813.5 printer pixels.
    const QRect front = toPrinted(QRect(180, 60, 480, 480), canvas, printed);
    EXPECT_EQ(front, QRect(1055, 351, 2814, 2804));
    // The frame's one-pixel outline at x = 177 is about six printer pixels wide.
    EXPECT_EQ(toPrinted(QRect(177, 57, 1, 486), canvas, printed), QRect(1037, 333, 6, 2839));
    // Adjacent layout pixels share their printed edge: no gap, no overlap.
    const QRect a = toPrinted(QRect(10, 10, 1, 1), canvas, printed);
    const QRect b = toPrinted(QRect(11, 10, 1, 1), canvas, printed);
    EXPECT_EQ(a.left() + a.width(), b.left());
    EXPECT_TRUE(toPrinted(QRect(0, 0, 10, 10), QSize(), printed).isEmpty());
}
