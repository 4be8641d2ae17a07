// The editor's rules without a window: the name (and spine text) from the first displayed lines,
// and the copy of the editor's pixels onto the back picture. Which names can be folders:
// tests/cover/ProjectFilesTest.cpp.
#include "back/BackRules.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* name;
    QStringList lines;
    QString expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class NameFromLines : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameFromLines, TakesLineOneOrTwo) {
    EXPECT_EQ(BackRules::nameFromLines(GetParam().lines), GetParam().expected);
}

const NameCase nameCases[] = {
    {"LongFirstLine", {"  Velmora - Last Rose  ", "1. Track"}, "Velmora - Last Rose"},
    {"TenCharactersIsEnough", {"0123456789", "second"}, "0123456789"},
    {"ShortFirstLineTakesSecond", {"Velmora", "Last Rose Of Summer"}, "Last Rose Of Summer"},
    {"ShortFirstLineTakesShorterSecond", {"Velmora", " ab "}, "ab"},
    {"ShortFirstLineTakesEmptySecond", {"Velmora", "", "third line here"}, ""},
    {"TrimmedFirstLineIsShort", {"   Velmora        ", "Second Line Here"}, "Second Line Here"},
    {"OnlyBlanksCountAsTrimmed", {"\tVelmora", "x"}, "x"},
    {"TabsAreKept", {"\tVelmora - Best Of\t", "x"}, "\tVelmora - Best Of\t"},
    {"OneShortLine", {"Velmora"}, ""},
    {"Empty", {}, ""},
};

INSTANTIATE_TEST_SUITE_P(back, NameFromLines, ::testing::ValuesIn(nameCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The window's pixels from (5, 143) to (552, 612), 547 x 469, stretched onto 556 x 472.
TEST(BackRules, CopyStretchesTheEditorAreaOntoThePicture) {
    QImage window(556, 679, QImage::Format_RGB32);
    window.fill(QColor(128, 128, 128));
    // Marks at the corners of the source area, and just outside it.
    window.setPixel(5, 143, qRgb(255, 0, 0));     // first source pixel -> (0, 0)
    window.setPixel(551, 611, qRgb(0, 0, 255));   // last source pixel -> beyond 552, lost
    window.setPixel(4, 143, qRgb(0, 255, 0));     // left of the source: not copied
    window.setPixel(5, 142, qRgb(0, 255, 0));     // above the source: not copied
    window.setPixel(300, 612, qRgb(0, 255, 0));   // below the source: not copied
    window.setPixel(278, 376, qRgb(255, 255, 0)); // middle of the source
    QImage back(552, 472, QImage::Format_RGB32);
    back.fill(Qt::white);
    BackRules::copyEditorPixels(window, back);

    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(551, 471), qRgb(128, 128, 128)) << "the blue corner falls beyond 552";
    int yellow = 0, green = 0, blue = 0;
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x) {
            if (back.pixel(x, y) == qRgb(255, 255, 0)) {
                ++yellow;
                // The middle of the source lands near (278-5) * 556/547, (376-143) * 472/469.
                EXPECT_NEAR(x, 277.5, 1.5);
                EXPECT_NEAR(y, 234.5, 1.5);
            }
            green += back.pixel(x, y) == qRgb(0, 255, 0);
            blue += back.pixel(x, y) == qRgb(0, 0, 255);
        }
    EXPECT_EQ(green, 0);
    EXPECT_EQ(blue, 0);
    EXPECT_GE(yellow, 1);
}

} // namespace
