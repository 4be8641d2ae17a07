#include "cover/CoverLayout.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

using Pixel = std::pair<int, int>;

// The template's black pixels, worked out from the shapes independently of the drawing code.
QSet<Pixel> expectedTemplatePixels(int width) {
    QSet<Pixel> pixels;
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < Layout::CanvasHeight)
            pixels.insert({x, y});
    };
    auto rect = [&](int l, int t, int r, int b) {
        for (int x = l; x < r; ++x) {
            put(x, t);
            put(x, b - 1);
        }
        for (int y = t; y < b; ++y) {
            put(l, y);
            put(r - 1, y);
        }
    };
    auto hline = [&](int y, int x1, int x2) {
        for (int x = x1; x < x2; ++x)
            put(x, y);
    };
    auto vline = [&](int x, int y1, int y2) {
        for (int y = y1; y < y2; ++y)
            put(x, y);
    };
    rect(177, 57, 663, 543);
    for (int y : {57, 542}) {
        hline(y, 27, 167);
        hline(y, 673, 813);
    }
    for (int x : {177, 662}) {
        vline(x, -3, 47);
        vline(x, 553, 603);
    }
    rect(141, 610, 699, 1088);
    for (int y : {610, 1087}) {
        hline(y, 27, 106);
        hline(y, 734, 813);
    }
    for (int x : {116, 723}) {
        vline(x, 553, 600);
        vline(x, 1098, 1148);
    }
    rect(116, 610, 142, 1088);
    rect(698, 610, 724, 1088);
    return pixels;
}

TEST(CoverLayout, TemplateIsPixelExact) {
    QImage image = Layout::newLayoutImage(845);
    Canvas canvas(&image);
    Layout::drawTemplate(canvas);
    const QSet<Pixel> expected = expectedTemplatePixels(845);
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool black = image.pixel(x, y) == qRgb(0, 0, 0);
            const bool white = image.pixel(x, y) == qRgb(255, 255, 255);
            if (!(black || white) || black != expected.contains({x, y})) {
                if (++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
            }
        }
    EXPECT_EQ(wrong, 0);
    // Crop marks stop ten pixels short of the frame; the spines overlap the back outline.
    EXPECT_EQ(image.pixel(166, 57), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(167, 57), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(177, 46), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(177, 47), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(141, 700), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(142, 700), qRgb(255, 255, 255));
}

TEST(CoverLayout, TemplateOnANarrowCanvasKeepsWhatFits) {
    QImage image = Layout::newLayoutImage(400);
    Canvas canvas(&image);
    Layout::drawTemplate(canvas);
    EXPECT_EQ(image.width(), 400);
    EXPECT_EQ(image.pixel(177, 300), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(399, 57), qRgb(0, 0, 0));
}

// Dark pixels (text) inside a rectangle of the canvas.
int darkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++count;
    return count;
}

TEST(CoverLayout, SpineTextReadsUpOnTheLeftAndDownOnTheRight) {
    QImage image = Layout::newLayoutImage(845);
    Canvas canvas(&image);
    Layout::drawTemplate(canvas);
    const QImage empty = image;
    Layout::drawSpineText(canvas, QStringLiteral("Velmora"), Layout::LeftSpineBounds,
                          Layout::RightSpineBounds);
    // Left spine: text from (118, 1074) upwards, cell right of x = 118.
    EXPECT_GT(darkPixels(image, QRect(119, 980, 20, 94)), 40);
    EXPECT_EQ(darkPixels(image, QRect(119, 620, 20, 300)),
              darkPixels(empty, QRect(119, 620, 20, 300)));
    // Right spine: text from (722, 622) downwards, cell left of x = 722.
    EXPECT_GT(darkPixels(image, QRect(702, 622, 20, 94)), 40);
    EXPECT_EQ(darkPixels(image, QRect(702, 800, 20, 280)),
              darkPixels(empty, QRect(702, 800, 20, 280)));
    // The cells are opaque white: the template is untouched outside them.
    EXPECT_EQ(image.pixel(116, 1000), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(723, 700), qRgb(0, 0, 0));
}

TEST(CoverLayout, AShorterSpineTextLeavesTheEndOfTheLongerOne) {
    QImage image = Layout::newLayoutImage(845);
    Canvas canvas(&image);
    Layout::drawSpineText(canvas, QStringLiteral("A much longer spine text here"),
                          Layout::LeftSpineBounds, Layout::RightSpineBounds);
    const int longTail = darkPixels(image, QRect(119, 700, 20, 250));
    ASSERT_GT(longTail, 0);
    Layout::drawSpineText(canvas, QStringLiteral("Short"), Layout::LeftSpineBounds,
                          Layout::RightSpineBounds);
    EXPECT_EQ(darkPixels(image, QRect(119, 700, 20, 250)), longTail);
}

TEST(CoverLayout, ProductNameIsStampedCentredNearTheBottomAndOnlyOnce) {
    QImage back(552, 472, QImage::Format_RGB32);
    back.fill(Qt::white);
    Layout::stampProductName(back, QStringLiteral("Sleevix"));
    int left = 552, right = -1, top = 472, bottom = -1;
    for (int y = 0; y < 472; ++y)
        for (int x = 0; x < 552; ++x)
            if (qGray(back.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_GE(top, 452);
    EXPECT_LT(bottom, 472);
    EXPECT_NEAR((left + right) / 2.0, 276, 4);
    QImage twice = back;
    Layout::stampProductName(twice, QStringLiteral("Sleevix"));
    EXPECT_EQ(twice, back);
}

} // namespace
