#include "controls/Gauge.h"
#include "controls/GaugeMath.h"

#include "platform/AppError.h"

#include <QApplication>
#include <climits>
#include <gtest/gtest.h>

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);
const QRgb Blue = qRgb(0, 0, 200);
const QRgb Around = qRgb(0, 160, 0); // the colour around pie and dial

struct ExtentCase {
    int percent, extent, expected;
};

class Extent : public ::testing::TestWithParam<ExtentCase> {};

TEST_P(Extent, ComesOutAsTheExtendedPrecisionRuleGives) {
    EXPECT_EQ(GaugeMath::extentForPercent(GetParam().percent, GetParam().extent),
              GetParam().expected)
        << GetParam().percent << "% of " << GetParam().extent;
}

INSTANTIATE_TEST_SUITE_P(Cases, Extent,
                         ::testing::Values(ExtentCase{5, 20, 0}, ExtentCase{5, 400, 19},
                                           ExtentCase{10, 400, 39}, ExtentCase{10, 10, 0},
                                           ExtentCase{50, 99, 49}, ExtentCase{50, 400, 200},
                                           ExtentCase{100, 98, 98}, ExtentCase{100, 400, 400},
                                           ExtentCase{0, 400, 0}, ExtentCase{33, 99, 32}));

TEST(GaugeMath, PercentOfRangeTruncatesAndSurvivesAnEmptyRange) {
    EXPECT_EQ(GaugeMath::percentOfRange(0, 0), 0);
    EXPECT_EQ(GaugeMath::percentOfRange(1, 3), 33);
    EXPECT_EQ(GaugeMath::percentOfRange(2, 3), 66);
    EXPECT_EQ(GaugeMath::percentOfRange(-1, 3), -33);
    EXPECT_EQ(GaugeMath::percentOfRange(4294967295LL, 4294967295LL), 100);
    EXPECT_EQ(GaugeMath::nearest(2.5L), 2);
    EXPECT_EQ(GaugeMath::nearest(3.5L), 4);
    EXPECT_EQ(GaugeMath::needleEnd(50, 50, 98), QPoint(50, 0)) << "straight up";
    EXPECT_EQ(GaugeMath::needleEnd(0, 50, 98), QPoint(0, 98)) << "pointing left";
    EXPECT_EQ(GaugeMath::pieStartPoint(25, 49, 49), QPoint(98, 49)) << "three o'clock";
    EXPECT_EQ(GaugeMath::pieStartPoint(100, 49, 49), QPoint(49, 0)) << "back at twelve";
}

// A gauge with a fixed font and distinct colours, painted without being shown.
struct Fixture {
    Gauge gauge;
    explicit Fixture(int width, int height, GaugeKind kind, bool text = false) {
        gauge.resize(width, height);
        gauge.setKind(kind);
        gauge.setShowText(text);
        gauge.setForeColor(QColor(Blue));
        gauge.setBackColor(QColor(White));
        gauge.setColor(QColor(Around));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        gauge.setFont(font);
    }
    QImage Shot() const { return gauge.renderImage(); }
};

QRgb At(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xFF000000u;
}

TEST(Gauge, HorizontalBarEdgeStandsAtFillSize) {
    Fixture f(401, 20, gkHorizontalBar); // single border: W = 400
    f.gauge.setProgress(10);
    QImage img = f.Shot();
    EXPECT_EQ(At(img, 1, 10), Blue);
    EXPECT_EQ(At(img, 38, 10), Blue) << "FillSize is 39: the last filled column is 38";
    EXPECT_EQ(At(img, 39, 10), White) << "not 40";
    EXPECT_EQ(At(img, 0, 10), Black) << "single border";
    EXPECT_EQ(At(img, 38, 0), Black);

    f.gauge.setProgress(100);
    img = f.Shot();
    for (int x = 1; x < 400; ++x) {
        ASSERT_EQ(At(img, x, 1), Blue) << x;
        ASSERT_EQ(At(img, x, 18), Blue) << x;
    }
    EXPECT_EQ(At(img, 400, 10), Black) << "exactly the paint rectangle";
    EXPECT_EQ(At(img, 10, 19), Black);

    f.gauge.setProgress(0);
    img = f.Shot();
    for (int x = 1; x < 400; ++x)
        ASSERT_EQ(At(img, x, 10), White) << x;
}

TEST(Gauge, NarrowBarShowsNothingAtFivePercent) {
    Fixture f(21, 10, gkHorizontalBar); // W = 20
    f.gauge.setProgress(5);
    const QImage img = f.Shot();
    for (int x = 1; x < 20; ++x)
        EXPECT_EQ(At(img, x, 5), White) << x;
}

TEST(Gauge, VerticalBarAtFullKeepsTheTopRowWithoutBorder) {
    Fixture f(20, 100, gkVerticalBar);
    f.gauge.setProgress(100);
    QImage img = f.Shot();
    EXPECT_EQ(At(img, 10, 1), Blue) << "single border: fills the paint rectangle";
    EXPECT_EQ(At(img, 10, 98), Blue);
    EXPECT_EQ(At(img, 10, 0), Black);

    f.gauge.setBorderStyle(Gauge::bsNone);
    img = f.Shot();
    EXPECT_EQ(At(img, 10, 0), White) << "FillSize is capped at H - 1";
    EXPECT_EQ(At(img, 0, 0), White);
    EXPECT_EQ(At(img, 10, 1), Blue);
    EXPECT_EQ(At(img, 19, 99), Blue);

    f.gauge.setProgress(50);
    img = f.Shot();
    EXPECT_EQ(At(img, 10, 50), White) << "rows above H - FillSize";
    EXPECT_EQ(At(img, 10, 51), Blue);

    f.gauge.setProgress(0);
    img = f.Shot();
    EXPECT_EQ(At(img, 10, 99), White) << "nothing filled at 0 %";
}

TEST(Gauge, PieFillsClockwiseFromTwelve) {
    Fixture f(101, 101, gkPie);
    f.gauge.setProgress(25);
    QImage img = f.Shot();
    EXPECT_EQ(At(img, 3, 3), Around) << "corner outside the ellipse";
    EXPECT_EQ(At(img, 70, 30), Blue) << "upper right quarter";
    EXPECT_EQ(At(img, 30, 30), White) << "upper left quarter";
    EXPECT_EQ(At(img, 70, 70), White) << "lower right quarter";
    EXPECT_EQ(At(img, 30, 70), White) << "lower left quarter";

    f.gauge.setProgress(75);
    img = f.Shot();
    EXPECT_EQ(At(img, 70, 70), Blue);
    EXPECT_EQ(At(img, 30, 70), Blue);
    EXPECT_EQ(At(img, 30, 30), White);

    f.gauge.setProgress(100);
    img = f.Shot();
    for (QPoint p : {QPoint(30, 30), QPoint(70, 30), QPoint(70, 70), QPoint(30, 70)})
        EXPECT_EQ(At(img, p.x(), p.y()), Blue) << "full ellipse at " << p.x() << "," << p.y();
    EXPECT_EQ(At(img, 3, 3), Around);

    f.gauge.setProgress(0);
    img = f.Shot();
    EXPECT_EQ(At(img, 70, 30), White) << "no wedge at 0 %";
}

TEST(Gauge, NeedlePointsUpAtHalf) {
    Fixture f(101, 61, gkNeedle);
    f.gauge.setProgress(50);
    QImage img = f.Shot();
    const int middleX = 101 / 2;
    EXPECT_EQ(At(img, 3, 3), Around) << "outside the dial";
    for (int y = 10; y < 58; ++y)
        ASSERT_EQ(At(img, middleX, y), Blue) << "needle at row " << y;
    EXPECT_EQ(At(img, middleX - 12, 40), White) << "dial face beside the needle";

    f.gauge.setProgress(0);
    img = f.Shot();
    EXPECT_EQ(At(img, middleX, 30), White) << "no needle upward at 0 %";
}

TEST(Gauge, TextIsInvertedOverBarAndBackground) {
    Fixture f(200, 30, gkHorizontalBar, true);
    f.gauge.setForeColor(Qt::black);
    f.gauge.setProgress(50); // bar up to column 99, text "50%" straddles it
    const QImage img = f.Shot();
    int whiteOverBar = 0, blackOverBackground = 0, other = 0;
    for (int y = 1; y < 29; ++y)
        for (int x = 1; x < 199; ++x) {
            const QRgb c = At(img, x, y);
            if (x < 100)
                whiteOverBar += c == White;
            else
                blackOverBackground += c == Black;
            other += c != White && c != Black;
        }
    EXPECT_GT(whiteOverBar, 10);
    EXPECT_GT(blackOverBackground, 10);
    EXPECT_EQ(other, 0) << "every text pixel is a clean inverse";

    // Without text the picture is bar and background only.
    f.gauge.setShowText(false);
    const QImage plain = f.Shot();
    EXPECT_EQ(At(plain, 60, 15), Black);
    EXPECT_EQ(At(plain, 140, 15), White);
}

TEST(Gauge, TextOnlyKindAndUnknownKind) {
    Fixture f(100, 30, gkText, true);
    f.gauge.setProgress(42);
    QImage img = f.Shot();
    EXPECT_EQ(At(img, 5, 5), White);
    int ink = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            ink += At(img, x, y) == Black && x > 0 && y > 0 && x < 99 && y < 29;
    EXPECT_GT(ink, 10) << "42% in black on the background";

    f.gauge.setShowText(false);
    f.gauge.setKind(static_cast<GaugeKind>(9));
    img = f.Shot();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(At(img, x, y), Black) << "an unknown kind draws only the black ground";
}

TEST(Gauge, RangeRulesAndTheirErrors) {
    Gauge g;
    EXPECT_EQ(g.kind(), gkHorizontalBar);
    EXPECT_EQ(g.size(), QSize(100, 100));
    g.setProgress(150);
    EXPECT_EQ(g.progress(), 100);
    EXPECT_EQ(g.percentComplete(), 100);
    g.setProgress(-5);
    EXPECT_EQ(g.progress(), 0);

    try {
        g.setMinValue(200);
        ADD_FAILURE() << "an inverted range was accepted";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), "Value must be between -2147483647 and 99");
    }
    EXPECT_EQ(g.minValue(), 0);
    try {
        g.setMaxValue(-5);
        ADD_FAILURE() << "an inverted range was accepted";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), "Value must be between 1 and 2147483647");
    }
    EXPECT_EQ(g.maxValue(), 100);

    g.setProgress(40);
    g.setMinValue(60);
    EXPECT_EQ(g.progress(), 60) << "raising the minimum pulls Progress up";
    g.setMaxValue(80);
    g.setProgress(80);
    g.setMaxValue(70);
    EXPECT_EQ(g.progress(), 70) << "lowering the maximum pulls Progress down";

    g.setMinValue(70);
    EXPECT_EQ(g.percentComplete(), 0) << "an empty range reads 0 %";

    // Stored ranges may be set in any order while loading.
    g.setLoading(true);
    g.setMinValue(500);
    EXPECT_EQ(g.minValue(), 500);
    g.setMaxValue(1000);
    g.setLoading(false);
    EXPECT_EQ(g.progress(), 500);

    // A range as wide as the integers does not overflow.
    Gauge wide;
    wide.setMinValue(INT_MIN);
    wide.setMaxValue(INT_MAX);
    wide.setProgress(0);
    EXPECT_EQ(wide.percentComplete(), 50);
    wide.setProgress(INT_MAX);
    EXPECT_EQ(wide.percentComplete(), 100);
}

class CountingGauge : public Gauge {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        Gauge::paintEvent(e);
    }
};

TEST(Gauge, RepaintsAtOnceOnlyWhenTheWholePercentageChanges) {
    CountingGauge g;
    g.setMaxValue(1000);
    g.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const int start = g.paints;
    for (int v = 1; v < 10; ++v)
        g.setProgress(v); // still 0 %
    EXPECT_EQ(g.paints, start);
    g.setProgress(10);
    EXPECT_EQ(g.paints, start + 1) << "painted at once, without waiting for the event loop";
    g.setKind(gkHorizontalBar);
    g.setShowText(true);
    g.setForeColor(Qt::black);
    g.setBackColor(Qt::white);
    EXPECT_EQ(g.paints, start + 1) << "equal values do not repaint";
    g.setKind(gkPie);
    EXPECT_EQ(g.paints, start + 2);
    // What the screen shows is the rendered picture.
    const QImage screen = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(screen, g.renderImage());
}

} // namespace
