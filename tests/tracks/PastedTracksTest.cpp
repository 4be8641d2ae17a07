// Track lists from pasted text and text files: each way people write a list, one row each.
#include "tracks/PastedTracks.h"

#include <gtest/gtest.h>

namespace {

struct PastedCase {
    const char* name;
    const char* text;
    // Expected entries: number|title|artist|duration ("" for none); "=line" for a kept line.
    std::vector<const char*> entries;
};

class PastedTracksTest : public ::testing::TestWithParam<PastedCase> {};

TEST_P(PastedTracksTest, ReadsEveryLine) {
    const PastedCase& c = GetParam();
    const TrackList list = PastedTracks::read(QString::fromUtf8(c.text));
    ASSERT_EQ(list.tracks.size(), qsizetype(c.entries.size()));
    for (size_t i = 0; i < c.entries.size(); ++i) {
        const Track& t = list.tracks[qsizetype(i)];
        const QString expected = QString::fromUtf8(c.entries[i]);
        if (expected.startsWith(u'=')) {
            EXPECT_TRUE(t.plainLine) << i;
            EXPECT_EQ(t.title, expected.mid(1)) << i;
            continue;
        }
        const QStringList parts = expected.split(u'|');
        EXPECT_FALSE(t.plainLine) << i;
        EXPECT_EQ(t.number, parts[0]) << i;
        EXPECT_EQ(t.title, parts[1]) << i;
        EXPECT_EQ(t.artist, parts[2]) << i;
        EXPECT_EQ(durationText(t.durationMs), parts[3]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PastedTracksTest,
    ::testing::Values(
        PastedCase{"dotted",
                   "01. Intro 1:05\n02. Hello, Goodbye 3:41\r\n\n10. The End 12:00",
                   {"1|Intro||1:05", "2|Hello, Goodbye||3:41", "10|The End||12:00"}},
        PastedCase{"dashedBrackets",
                   "1 - Come Together (4:20)\n2 – Something [3:03]\n3) Maxwell's Silver Hammer",
                   {"1|Come Together||4:20", "2|Something||3:03", "3|Maxwell's Silver Hammer||"}},
        PastedCase{"tabbedWithoutNumbers",
                   "Speak to Me\t1:13\nBreathe\t2:43\n",
                   {"1|Speak to Me||1:13", "2|Breathe||2:43"}},
        PastedCase{"vinylSides",
                   "Side A\nA1 So What 9:22\nA2 Freddie Freeloader 9:46\nB1 "
                   "Blue in Green 5:37",
                   {"=Side A", "A1|So What||9:22", "A2|Freddie Freeloader||9:46",
                    "B1|Blue in Green||5:37"}},
        PastedCase{"spreadsheetTsv",
                   "No\tTitle\tArtist\tTime\n1\tOne\tU2\t4:36\n2\t\"Two\"\tAir\t1:02:03",
                   {"=No\tTitle\tArtist\tTime", "1|One|U2|4:36", "2|Two|Air|1:02:03"}},
        PastedCase{"spreadsheetCsv",
                   "Track,Title,Time\n1,\"Hello, Goodbye\",3:27\n2,Penny Lane,3:00\n",
                   {"=Track,Title,Time", "1|Hello, Goodbye||3:27", "2|Penny Lane||3:00"}},
        PastedCase{"unreadableKept",
                   "The Beatles - Abbey Road\n1. Come Together 4:20\n"
                   "bonus material follows\n2. Something 3:03",
                   {"=The Beatles - Abbey Road", "1|Come Together||4:20", "=bonus material follows",
                    "2|Something||3:03"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
