// The editor's rules without a window: the name (and spine text) from the first displayed lines.
// Which names can be folders: tests/cover/ProjectFilesTest.cpp; the copy of the list onto the
// back picture: tests/cover/BackTextTest.cpp.
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

} // namespace
