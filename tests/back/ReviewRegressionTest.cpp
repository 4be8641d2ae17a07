#include "back/BackRules.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// On a screen scaled above 100 % the window's grab holds more pixels than the window has
// (1.5 or 2 per client pixel). The copy must still take the editor's area, not the upper-left
// part of the window, and fill the whole back picture.
class ReviewScaledCopy : public ::testing::TestWithParam<double> {};

TEST_P(ReviewScaledCopy, TakesTheEditorAreaOfAScaledGrab) {
    const double ratio = GetParam();
    const QRect editor(0, BackRules::Panel1Height, BackRules::EditorWidth, BackRules::EditorHeight);
    QImage window(qRound(556 * ratio), qRound(679 * ratio), QImage::Format_RGB32);
    window.fill(QColor(0, 255, 0)); // the panels around the editor
    const auto device = [ratio](const QRect& r) {
        return QRect(qRound(r.left() * ratio), qRound(r.top() * ratio), qRound(r.width() * ratio),
                     qRound(r.height() * ratio));
    };
    window.setDevicePixelRatio(ratio);
    {
        QImage& w = window;
        const QRect e = device(editor);
        for (int y = e.top(); y <= e.bottom(); ++y)
            for (int x = e.left(); x <= e.right(); ++x)
                w.setPixel(x, y, qRgb(255, 255, 255));
        // A mark at the editor's first copied pixel (5, 143).
        const QRect mark = device(QRect(5, 143, 4, 4));
        for (int y = mark.top(); y <= mark.bottom(); ++y)
            for (int x = mark.left(); x <= mark.right(); ++x)
                w.setPixel(x, y, qRgb(255, 0, 0));
    }
    QImage back(552, 472, QImage::Format_RGB32);
    back.fill(Qt::black);
    BackRules::CopyEditorPixels(window, back);

    EXPECT_EQ(back.size(), QSize(552, 472));
    EXPECT_EQ(back.pixel(1, 1), qRgb(255, 0, 0)) << "the editor's corner lands at (0, 0)";
    int green = 0, black = 0;
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x) {
            green += back.pixel(x, y) == qRgb(0, 255, 0);
            black += back.pixel(x, y) == qRgb(0, 0, 0);
        }
    EXPECT_EQ(green, 0) << "nothing from outside the editor";
    EXPECT_EQ(black, 0) << "the whole picture is covered";
    EXPECT_EQ(back.pixel(400, 300), qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(Ratios, ReviewScaledCopy, ::testing::Values(1.0, 1.5, 2.0));

} // namespace
