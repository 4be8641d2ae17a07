#include "dialogs/DialogGeometry.h"

#include <QFont>
#include <QFontMetrics>
#include <climits>
#include <gtest/gtest.h>

using namespace DialogGeometry;

namespace {

TEST(DialogGeometry, RoundingGoesHalfToEvenAndPointSizesFollowTheSystem) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(17.6), 18);
    EXPECT_EQ(fontPointSize(14), 11) << "10.5 points rounds up";
    EXPECT_EQ(fontPointSize(15), 11);
    EXPECT_EQ(fontPointSize(16), 12);
}

struct CentreCase {
    int callerTop, callerLeft, callerBottom, callerRight, ownHeight, ownWidth;
    int top, left;
};

class Centring : public ::testing::TestWithParam<CentreCase> {};

TEST_P(Centring, PlacesTheWindowOverTheCaller) {
    const CentreCase& c = GetParam();
    const QRect caller(QPoint(c.callerLeft, c.callerTop), QPoint(c.callerRight, c.callerBottom));
    const Place p = centreOver(caller, QSize(c.ownWidth, c.ownHeight));
    EXPECT_EQ(p.top, c.top);
    EXPECT_EQ(p.left, c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Centring,
    ::testing::Values(
        // Question over a 1000 x 800 main window at the screen's corner.
        CentreCase{0, 0, 799, 999, 160, 400, 320, 300},
        // Timed message of 550 x 100 over an 800 x 600 caller at (100, 100).
        CentreCase{100, 100, 699, 899, 100, 550, 350, 225},
        // Caller smaller than the window: negative offsets, division toward zero (-89 / 2 = -44).
        CentreCase{10, 10, 59, 69, 139, 319, -34, -119}, CentreCase{0, 0, -1, -1, 1, 1, 0, 0},
        // A caller as wide and high as the integers: its size does not fit an int.
        CentreCase{INT_MIN, INT_MIN, INT_MAX, INT_MAX, 10, 10, -5, -5},
        // A caller far off screen stays far off screen; the sum is pinned to the integer range.
        CentreCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX, 10, 10, INT_MAX - 4, INT_MAX - 4}));

TEST(DialogGeometry, CarriageReturnsSplitTheMessage) {
    EXPECT_EQ(splitAtCarriageReturns(QStringLiteral("first\rsecond")),
              QStringList({"first", "second"}));
    EXPECT_EQ(splitAtCarriageReturns(QString()), QStringList({""}));
    EXPECT_EQ(splitAtCarriageReturns(QStringLiteral("a\r\nb")), QStringList({"a", "\nb"}));
    EXPECT_EQ(splitAtCarriageReturns(QStringLiteral("a\r")), QStringList({"a", ""}));
    EXPECT_EQ(splitAtCarriageReturns(QStringLiteral("\r\r")), QStringList({"", "", ""}));
}

TEST(DialogGeometry, QuestionWidthFollowsTheSquareRootAndNeverShrinks) {
    // A short question on the first call: the No button at its design place sets the width.
    auto w = questionWidthLayout(280, 274 + 110, 110, 111);
    EXPECT_EQ(w.panelWidth, 368);
    EXPECT_EQ(w.panelLeft, 16);
    EXPECT_EQ(w.memoLeft, 8);
    EXPECT_EQ(w.memoWidth, 352);
    EXPECT_EQ(w.clientWidth, 400);
    EXPECT_EQ(w.yesLeft, 16);
    EXPECT_EQ(w.noLeft, 274);
    EXPECT_EQ(w.cancelLeft, 144);

    // A 2500-pixel line: round(sqrt(2500) * 10) = 500.
    w = questionWidthLayout(2500, 274 + 110, 110, 111);
    EXPECT_EQ(w.panelWidth, 500);
    EXPECT_EQ(w.clientWidth, 532);
    EXPECT_EQ(w.noLeft, 406);
    EXPECT_EQ(w.cancelLeft, 210);

    // The next short question keeps that width: the No button now ends at 516.
    w = questionWidthLayout(280, 406 + 110, 110, 111);
    EXPECT_EQ(w.panelWidth, 500);

    // Nothing measured (an empty question) and a negative width do not shrink it either.
    EXPECT_EQ(questionWidthLayout(0, 384, 110, 111).panelWidth, 368);
    EXPECT_EQ(questionWidthLayout(-5, 384, 110, 111).panelWidth, 368);
}

TEST(DialogGeometry, QuestionHeightGrowsEighteenPixelsPerLineAtElevenPoints) {
    auto h = questionHeightLayout(1, 11, 30);
    EXPECT_EQ(h.memoHeight, 36);
    EXPECT_EQ(h.panelHeight, 51);
    EXPECT_EQ(h.buttonTop, 78);
    EXPECT_EQ(h.clientHeight, 128);
    h = questionHeightLayout(2, 11, 30);
    EXPECT_EQ(h.memoHeight, 54);
    EXPECT_EQ(h.clientHeight, 146);
}

TEST(DialogGeometry, TimedMessageSizeRules) {
    EXPECT_EQ(longerLine("abc", "de"), "abc");
    EXPECT_EQ(longerLine("abc", "def"), "def") << "line B wins a tie";
    EXPECT_EQ(messageLines("A", "B"), QStringList({"", "A", "B"}));
    EXPECT_EQ(messageLines("", "B"), QStringList({"", "B"}));
    EXPECT_EQ(messageLines("", ""), QStringList({""}));

    EXPECT_EQ(messageClientWidth(500), 550);
    EXPECT_EQ(messageClientWidth(501), 500);
    EXPECT_EQ(messageClientWidth(0), 50);

    EXPECT_EQ(messageClientHeight(3, 11, 1024), 77);
    EXPECT_EQ(messageClientHeight(2, 11, 1024), 66);
    EXPECT_EQ(messageClientHeight(500, 11, 1024), 824) << "never taller than the screen less 200";
}

TEST(DialogGeometry, InputLayoutGivesThirtyPixelsPerLabelWidthOfPrompt) {
    auto l = inputVerticalLayout(602, 8, 301, 25, 28);
    EXPECT_EQ(l.labelHeight, 60);
    EXPECT_EQ(l.editTop, 78);
    EXPECT_EQ(l.buttonTop, 113);
    EXPECT_EQ(l.clientHeight, 151);
    l = inputVerticalLayout(200, 8, 301, 25, 28);
    EXPECT_EQ(l.labelHeight, 19);
    EXPECT_EQ(inputVerticalLayout(0, 8, 301, 25, 28).clientHeight, 8 + 0 + 10 + 25 + 10 + 28 + 10);
    EXPECT_EQ(inputVerticalLayout(100, 8, 0, 25, 28).labelHeight, 0) << "no label, no division";
}

TEST(DialogGeometry, WrappedLinesCountWhatTheTextAreaShows) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(14);
    const QFontMetrics fm(font);
    EXPECT_EQ(wrappedLineCount({"short"}, font, 300), 1);
    EXPECT_EQ(wrappedLineCount({"", "a", "b"}, font, 300), 3);
    const QString words = QStringLiteral("word ").repeated(200);
    const int lines = wrappedLineCount({words}, font, 300);
    EXPECT_GE(lines, fm.horizontalAdvance(words) / 300);
    EXPECT_LE(lines, fm.horizontalAdvance(words) / 250 + 1)
        << "word wrap wastes less than a word a line";
    // A word longer than the width breaks anywhere.
    EXPECT_GE(wrappedLineCount({QString(400, QLatin1Char('x'))}, font, 300), 2);
}

} // namespace
