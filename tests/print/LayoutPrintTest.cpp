#include "print/LayoutPrint.h"
#include "LayoutFixture.h"
#include "print/PrintGeometry.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QString Spine = QStringLiteral("Velmora - Last Rose Of Summer 2002");

// The layout painted on a white image of printed size, as on a page.
QImage paint(const PrintSource& source, QSize printed, PrintMode mode) {
    QImage page(printed, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    paintLayout(painter, source, printed, mode);
    painter.end();
    return page;
}

bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

} // namespace

TEST(BlackRects, RowsOfEqualRunsMergeIntoRectangles) {
    QImage mask(20, 10, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.fillRect(QRect(2, 1, 5, 1), Qt::black);  // a horizontal line
    p.fillRect(QRect(10, 0, 1, 8), Qt::black); // a vertical line
    p.fillRect(QRect(13, 3, 3, 2), Qt::black); // a block
    p.fillRect(QRect(19, 9, 1, 1), Qt::black); // the last pixel
    p.end();
    EXPECT_EQ(blackRects(mask), (QList<QRect>{QRect(10, 0, 1, 8), QRect(2, 1, 5, 1),
                                              QRect(13, 3, 3, 2), QRect(19, 9, 1, 1)}));
}

TEST(SharpPlan, RedrawsWhatTheCanvasShowsAndNothingElse) {
    const PrintSource source =
        fixture::layout(845, fixture::solid(QSize(1200, 900), QColor(90, 90, 90)), Spine);
    const SharpPlan plan = planSharpPrint(source, QSize(4953, 6940));
    // Everything on the canvas is redrawn: nothing is left to stretch.
    EXPECT_TRUE(plan.residualBlank);
    EXPECT_TRUE(plan.spineText);
    // The front comes from the photo's own pixels, up to its printed size (2814 x 2804).
    EXPECT_EQ(plan.frontImage.size(), QSize(1200, 900));
    EXPECT_EQ(plan.backImage.size(), QSize(552, 472));
    // The front frame's top outline is one of the template's rectangles.
    EXPECT_TRUE(plan.templateRects.contains(QRect(177, 57, 486, 1)));

    // A photo larger than its printed rectangle is reduced to it.
    const PrintSource big =
        fixture::layout(845, fixture::solid(QSize(3000, 3000), QColor(90, 90, 90)), Spine);
    EXPECT_EQ(planSharpPrint(big, QSize(4953, 6940)).frontImage.size(), QSize(2814, 2804));
}

TEST(SharpPlan, KeepsFromTheCanvasWhatItCannotRedrawExactly) {
    PrintSource source =
        fixture::layout(845, fixture::solid(QSize(480, 480), QColor(90, 90, 90)), Spine);
    // The spine field was edited but not applied, and another front picture was drawn over the
    // one the window holds: the canvas shows neither the field's text nor the held picture.
    source.spineText = QStringLiteral("Not applied");
    Canvas canvas(&source.canvas);
    canvas.stretchDraw(Layout::FrontRect, fixture::solid(QSize(10, 10), Qt::red));
    const SharpPlan plan = planSharpPrint(source, QSize(4953, 6940));
    EXPECT_FALSE(plan.spineText);
    EXPECT_TRUE(plan.frontImage.isNull());
    EXPECT_FALSE(plan.residualBlank);
    EXPECT_EQ(QColor(plan.residual.pixel(420, 300)), QColor(Qt::red));
    // The applied text stays in the residual, on the left spine around (124, 1000).
    bool textLeft = false;
    for (int y = 700; y < 1074 && !textLeft; ++y)
        for (int x = 118; x < 131; ++x)
            textLeft = textLeft || qGray(plan.residual.pixel(x, y)) < 128;
    EXPECT_TRUE(textLeft);
}

TEST(SharpPlan, EndOfALongerSpineTextLeftBehindStillPrints) {
    PrintSource source =
        fixture::layout(845, QImage(), QStringLiteral("A much longer text for the spine"));
    Canvas canvas(&source.canvas);
    Layout::drawSpineText(canvas, QStringLiteral("Short"), source.leftSpine, source.rightSpine);
    source.spineText = QStringLiteral("Short");
    const SharpPlan plan = planSharpPrint(source, QSize(4953, 6940));
    EXPECT_TRUE(plan.spineText);
    // The end of the longer text, beyond "Short" on the right spine (reading downwards from
    // y = 622), is still on the canvas and so in what prints from it.
    bool tail = false;
    for (int y = 760; y < 900 && !tail; ++y)
        for (int x = 700; x < 723; ++x)
            tail = tail || qGray(plan.residual.pixel(x, y)) < 128;
    EXPECT_TRUE(tail);
}

class PaintModeTest : public ::testing::TestWithParam<PrintMode> {};

// Both prints put the frames at the same printer pixels (at 150 dpi: 1238 x 1735).
TEST_P(PaintModeTest, FramesLandOnTheSamePrinterPixels) {
    const PrintSource source =
        fixture::layout(845, fixture::solid(QSize(800, 800), QColor(90, 90, 90)), Spine);
    const QSize printed = PrintGeometry::printedSize(
        source.canvas.size(), PrintGeometry::scaleFor(150, 150, 96, 96, 1.0));
    ASSERT_EQ(printed, QSize(1238, 1735));
    const QImage page = paint(source, printed, GetParam());
    const double kx = 1238.0 / 845, ky = 1735.0 / 1188;
    // Front frame's left outline, x = 177, at the front's middle row y = 300.
    const int y = int(300 * ky);
    EXPECT_TRUE(dark(page, int(177.5 * kx), y));
    EXPECT_FALSE(dark(page, int(176 * kx) - 1, y));
    // Back frame's bottom outline, y = 1087, at x = 400.
    EXPECT_TRUE(dark(page, int(400 * kx), int(1087.5 * ky)));
    EXPECT_FALSE(dark(page, int(400 * kx), int(1089 * ky) + 1));
    // The crop mark at y = 57 runs from x = 27 to 166.
    EXPECT_TRUE(dark(page, int(27.5 * kx), int(57.5 * ky)));
    EXPECT_FALSE(dark(page, int(26 * kx) - 1, int(57.5 * ky)));
    // Nothing below the canvas's printed height.
    EXPECT_EQ(page.copy(0, printed.height() - 2, printed.width(), 2).allGray(), true);
}

// A small screen's narrower canvas prints at the same scale, cut where the canvas ends.
TEST_P(PaintModeTest, NarrowCanvasPrintsAtTheSameScale) {
    const PrintSource source =
        fixture::layout(400, fixture::solid(QSize(480, 480), QColor(90, 90, 90)), Spine);
    const QSize printed = PrintGeometry::printedSize(
        source.canvas.size(), PrintGeometry::scaleFor(150, 150, 96, 96, 1.0));
    ASSERT_EQ(printed, QSize(586, 1735));
    QImage page(700, 1800, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    paintLayout(painter, source, printed, GetParam());
    painter.end();
    const double kx = 586.0 / 400;
    EXPECT_TRUE(dark(page, int(177.5 * kx), int(300 * 1735.0 / 1188)));
    // The front picture stops at the canvas's edge; nothing prints beyond it.
    EXPECT_LT(qGray(page.pixel(580, int(300 * 1735.0 / 1188))), 128);
    for (int x = 590; x < 700; x += 10)
        EXPECT_EQ(qGray(page.pixel(x, int(300 * 1735.0 / 1188))), 255) << x;
}

INSTANTIATE_TEST_SUITE_P(Modes, PaintModeTest,
                         ::testing::Values(PrintMode::Stretch, PrintMode::Sharp),
                         [](const auto& info) {
                             return info.param == PrintMode::Stretch ? "Stretch" : "Sharp";
                         });
