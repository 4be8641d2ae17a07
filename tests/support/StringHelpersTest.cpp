#include "support/StringHelpers.h"

#include <gtest/gtest.h>

namespace {

struct CutCase {
    const char* name;
    QString (*helper)(QChar, const QString&);
    char delimiter;
    const char* text;
    const char* expected;
    friend void PrintTo(const CutCase& c, std::ostream* os) {
        *os << c.name << " '" << c.text << "'";
    }
};

class CutAtChar : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutAtChar, GivesThePartBesideTheDelimiter) {
    const CutCase& c = GetParam();
    EXPECT_EQ(c.helper(QChar::fromLatin1(c.delimiter), QString::fromUtf8(c.text)),
              QString::fromUtf8(c.expected))
        << c.name << " of '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CutAtChar,
    ::testing::Values(
        CutCase{"before first", copyBeforeChar, '.', "1.10", "1"},
        CutCase{"after first", copyAfterChar, '.', "1.10", "10"},
        CutCase{"before last", copyBeforeLastChar, '\\', "C:\\Data\\Covers", "C:\\Data"},
        CutCase{"after last", copyAfterLastChar, '\\', "C:\\Data\\Covers", "Covers"},
        CutCase{"after first, line break", copyAfterChar, '\r', "line one\rline two", "line two"},
        CutCase{"delimiter last", copyAfterChar, ':', "c:", ""},
        CutCase{"keeps the blank", copyAfterChar, ':', "a: [Floppy]", " [Floppy]"},
        CutCase{"after last of several", copyAfterLastChar, '=', "a=b=c", "c"},
        CutCase{"no delimiter, before last", copyBeforeLastChar, '\\', "Covers", ""},
        CutCase{"no delimiter, after", copyAfterChar, '.', "110", ""},
        CutCase{"delimiter first", copyBeforeChar, '.', ".10", ""},
        CutCase{"empty text", copyAfterLastChar, '.', "", ""}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(CutAtText, HandlesPositionOneMissingAndEmptyDelimiters) {
    EXPECT_EQ(copyBeforeText("ms", "ms"), "");
    EXPECT_EQ(copyBeforeText("ms", "120ms"), "120");
    EXPECT_EQ(copyAfterText("=", "a=b=c"), "b=c");
    EXPECT_EQ(copyAfterText("", "abc"), "");
    EXPECT_EQ(copyBeforeText("", "abc"), "");
    EXPECT_EQ(copyAfterText("xyz", "abc"), "");
}

TEST(FilterAndTrim, FollowTheirBlankAndDigitRules) {
    EXPECT_EQ(keepNumberChars("versie 1.10c"), "1.10");
    EXPECT_EQ(keepNumberChars("1,5 MB."), "1,5.");
    EXPECT_EQ(keepNumberChars(""), "");
    EXPECT_EQ(stripDigits("abc12d"), "abcd");
    EXPECT_EQ(removeSpaces(" a\tb c "), "a\tbc");
    EXPECT_EQ(trimLeadingSpaces("   "), "");
    EXPECT_EQ(trimTrailingSpaces("   "), "   ");
    EXPECT_EQ(trimTrailingSpaces("  a  "), "  a");
    EXPECT_EQ(trimLeadingSpaces("  a  "), "a  ");
    EXPECT_EQ(trimLeadingSpaces("\ta"), "\ta"); // only blanks are trimmed
}

} // namespace
