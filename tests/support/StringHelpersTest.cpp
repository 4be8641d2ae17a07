#include "support/StringHelpers.h"

#include <gtest/gtest.h>

namespace {

struct CutCase {
    const char* name;
    QString (*helper)(QChar, const QString&);
    char delimiter;
    const char* text;
    const char* expected;
    friend void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name << " '" << c.text << "'"; }
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
    ::testing::Values(CutCase{"before first", CopyBeforeChar, '.', "1.10", "1"},
                      CutCase{"after first", CopyAfterChar, '.', "1.10", "10"},
                      CutCase{"before last", CopyBeforeLastChar, '\\', "C:\\Data\\Covers", "C:\\Data"},
                      CutCase{"after last", CopyAfterLastChar, '\\', "C:\\Data\\Covers", "Covers"},
                      CutCase{"after first, line break", CopyAfterChar, '\r', "line one\rline two", "line two"},
                      CutCase{"delimiter last", CopyAfterChar, ':', "c:", ""},
                      CutCase{"keeps the blank", CopyAfterChar, ':', "a: [Floppy]", " [Floppy]"},
                      CutCase{"after last of several", CopyAfterLastChar, '=', "a=b=c", "c"},
                      CutCase{"no delimiter, before last", CopyBeforeLastChar, '\\', "Covers", ""},
                      CutCase{"no delimiter, after", CopyAfterChar, '.', "110", ""},
                      CutCase{"delimiter first", CopyBeforeChar, '.', ".10", ""},
                      CutCase{"empty text", CopyAfterLastChar, '.', "", ""}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(CutAtText, HandlesPositionOneMissingAndEmptyDelimiters) {
    EXPECT_EQ(CopyBeforeText("ms", "ms"), "");
    EXPECT_EQ(CopyBeforeText("ms", "120ms"), "120");
    EXPECT_EQ(CopyAfterText("=", "a=b=c"), "b=c");
    EXPECT_EQ(CopyAfterText("", "abc"), "");
    EXPECT_EQ(CopyBeforeText("", "abc"), "");
    EXPECT_EQ(CopyAfterText("xyz", "abc"), "");
}

TEST(FilterAndTrim, FollowTheirBlankAndDigitRules) {
    EXPECT_EQ(KeepNumberChars("versie 1.10c"), "1.10");
    EXPECT_EQ(KeepNumberChars("1,5 MB."), "1,5.");
    EXPECT_EQ(KeepNumberChars(""), "");
    EXPECT_EQ(StripDigits("abc12d"), "abcd");
    EXPECT_EQ(RemoveSpaces(" a\tb c "), "a\tbc");
    EXPECT_EQ(TrimLeadingSpaces("   "), "");
    EXPECT_EQ(TrimTrailingSpaces("   "), "   ");
    EXPECT_EQ(TrimTrailingSpaces("  a  "), "  a");
    EXPECT_EQ(TrimLeadingSpaces("  a  "), "a  ");
    EXPECT_EQ(TrimLeadingSpaces("\ta"), "\ta"); // only blanks are trimmed
}

} // namespace
