#include "platform/Canvas.h"

#include <gtest/gtest.h>

namespace {

QImage whiteImage(int w = 40, int h = 40) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool isBlack(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

TEST(Canvas, RectangleOutlinesAndFillsWithRightAndBottomExclusive) {
    QImage image = whiteImage();
    image.fill(Qt::blue);
    Canvas canvas(&image);
    canvas.rectangle(5, 6, 15, 12);
    // The outline's last column is right - 1 and its last row bottom - 1.
    EXPECT_TRUE(isBlack(image, 5, 6));
    EXPECT_TRUE(isBlack(image, 14, 11));
    EXPECT_TRUE(isBlack(image, 14, 6));
    EXPECT_TRUE(isBlack(image, 5, 11));
    EXPECT_EQ(image.pixel(15, 6), qRgb(0, 0, 255)) << "right edge is exclusive";
    EXPECT_EQ(image.pixel(5, 12), qRgb(0, 0, 255)) << "bottom edge is exclusive";
    EXPECT_EQ(image.pixel(10, 9), qRgb(255, 255, 255)) << "inside is the brush";
}

TEST(Canvas, LinesStopBeforeTheirEndPointInEveryDirection) {
    QImage image = whiteImage();
    Canvas canvas(&image);
    canvas.moveTo(2, 3);
    canvas.lineTo(10, 3); // right
    EXPECT_TRUE(isBlack(image, 2, 3));
    EXPECT_TRUE(isBlack(image, 9, 3));
    EXPECT_FALSE(isBlack(image, 10, 3));

    canvas.moveTo(30, 5);
    canvas.lineTo(22, 5); // left
    EXPECT_TRUE(isBlack(image, 30, 5));
    EXPECT_TRUE(isBlack(image, 23, 5));
    EXPECT_FALSE(isBlack(image, 22, 5));

    canvas.moveTo(4, 10);
    canvas.lineTo(4, 20); // down
    EXPECT_TRUE(isBlack(image, 4, 19));
    EXPECT_FALSE(isBlack(image, 4, 20));

    canvas.moveTo(6, 30);
    canvas.lineTo(12, 36); // diagonal
    EXPECT_TRUE(isBlack(image, 6, 30));
    EXPECT_TRUE(isBlack(image, 11, 35));
    EXPECT_FALSE(isBlack(image, 12, 36));

    // A line starting above the image draws only its visible part.
    canvas.moveTo(20, -3);
    canvas.lineTo(20, 4);
    EXPECT_TRUE(isBlack(image, 20, 0));
    EXPECT_TRUE(isBlack(image, 20, 3));
    EXPECT_FALSE(isBlack(image, 20, 4));
}

TEST(Canvas, TextCellsArePaintedOpaqueInTheBrushColourAlsoWhenTurned) {
    QImage image = whiteImage(200, 200);
    image.fill(Qt::blue);
    Canvas canvas(&image);
    canvas.Font = Canvas::makeFont(QStringLiteral("Verdana"), 10, true);
    canvas.brushColor = Qt::white;
    const int width = canvas.textWidth(QStringLiteral("Sleevix"));
    const int height = canvas.textHeight(QStringLiteral("Sleevix"));
    ASSERT_GT(width, 20);
    ASSERT_GE(height, 13);

    canvas.textOut(10, 10, QStringLiteral("Sleevix"));
    // The cell starts at the reference point: its top-left corner is background, not blue.
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(9, 10), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(10 + width, 10), qRgb(0, 0, 255));

    // Turned by 90 degrees the text reads upwards: its cell lies right of x and above y.
    canvas.textOut(100, 190, QStringLiteral("Sleevix"), 90);
    EXPECT_EQ(image.pixel(101, 189), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(101, 191), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(99, 180), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(100 + height - 1, 190 - width + 1), qRgb(255, 255, 255));
}

TEST(Canvas, FontSizesFollowPointsAtNinetySixDotsPerInch) {
    EXPECT_EQ(Canvas::pointsToPixels(10), 13);
    EXPECT_EQ(Canvas::pointsToPixels(8), 11);
    EXPECT_EQ(Canvas::makeFont(QStringLiteral("Verdana"), 10, true).pixelSize(), 13);
}

} // namespace
