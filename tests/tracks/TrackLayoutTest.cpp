// The track list laid out on the back: it fits above the product name, titles wrap under
// themselves, durations line up against their right tab stop, and the RTF file keeps it all.
#include "tracks/TrackLayout.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// The editor's text area inside its border, and its document as the editor makes it.
const QSizeF TextArea(552, 468);

std::unique_ptr<QTextDocument> editorDocument() {
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    doc->setDefaultFont(font);
    doc->setPageSize(QSizeF(TextArea.width(), -1));
    return doc;
}

TrackList album(int tracks, int discs, bool longTitles, bool compilation) {
    TrackList list;
    list.albumArtist = QStringLiteral("The Band");
    list.album = QStringLiteral("Greatest");
    list.year = QStringLiteral("1999");
    for (int i = 0; i < tracks; ++i) {
        Track t;
        t.disc = discs > 1 ? 1 + i * discs / tracks : 0;
        t.number = QString::number(i + 1);
        t.title = longTitles && i % 3 == 0
                      ? QStringLiteral("A title so long that it cannot stay on one line of the "
                                       "back cover, number %1")
                            .arg(i + 1)
                      : QStringLiteral("Song %1").arg(i + 1);
        t.artist = compilation ? QStringLiteral("Artist %1").arg(i % 4) : QString();
        t.durationMs = 61'000 + i * 7'300;
        list.tracks << t;
    }
    return list;
}

struct LayoutCase {
    const char* name;
    TrackList list;
    int columns;
    bool largest; // still at the largest size
};

class TrackLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

// Where each tab-separated piece of a one-line paragraph starts and ends.
QList<QPair<double, double>> pieces(const QTextBlock& block) {
    const QTextLine line = block.layout()->lineAt(0);
    QList<QPair<double, double>> result;
    int start = 0;
    const QString text = block.text();
    for (int i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'\t') {
            result << qMakePair(line.cursorToX(start), line.cursorToX(i));
            start = i + 1;
        }
    }
    return result;
}

TEST_P(TrackLayoutTest, FitsTheBackWithAlignedColumns) {
    const LayoutCase& c = GetParam();
    auto doc = editorDocument();
    const TrackLayout::Choice choice = TrackLayout::layOut(c.list, *doc, TextArea);
    EXPECT_TRUE(choice.fits);
    EXPECT_EQ(choice.columns, c.columns);
    EXPECT_EQ(choice.pointSize == TrackLayout::LargestPointSize, c.largest) << choice.pointSize;
    EXPECT_GE(choice.pointSize, c.columns == 1 ? TrackLayout::SmallestOneColumnPointSize
                                               : TrackLayout::SmallestPointSize);
    EXPECT_LE(doc->size().height(), TextArea.height() - TrackLayout::ProductNameBand);

    QString allText;
    QMap<int, double> durationEnds; // per column: where every duration ends
    QMap<int, double> titleStarts;  // per column: where every title line starts
    QTextBlock block = doc->begin();
    EXPECT_EQ(block.text(), QStringLiteral("The Band \u2013 Greatest (1999)"));
    for (block = block.next(); block.isValid(); block = block.next()) {
        ASSERT_EQ(block.layout()->lineCount(), 1)
            << "wrapped by the editor: " << qPrintable(block.text());
        allText += block.text() + u'\n';
        if (!block.next().isValid())
            break; // the total
        const auto parts = pieces(block);
        for (int column = 0; column * 3 < parts.size(); ++column) {
            const auto& title = parts[column * 3 + 1];
            if (title.second > title.first) {
                if (!titleStarts.contains(column))
                    titleStarts[column] = title.first;
                EXPECT_NEAR(title.first, titleStarts[column], 0.5) << qPrintable(block.text());
            }
            if (column * 3 + 2 < parts.size() &&
                parts[column * 3 + 2].second > parts[column * 3 + 2].first) {
                if (!durationEnds.contains(column))
                    durationEnds[column] = parts[column * 3 + 2].second;
                EXPECT_NEAR(parts[column * 3 + 2].second, durationEnds[column], 0.5)
                    << qPrintable(block.text());
            }
        }
    }
    EXPECT_EQ(durationEnds.size(), c.columns);
    EXPECT_LE(durationEnds.last(), TextArea.width());
    // Every word of every title is on the back, and the total at the end.
    allText.replace(u'\t', u' ').replace(u'\n', u' ');
    for (const Track& t : c.list.tracks)
        for (const QString& word : t.title.split(u' '))
            EXPECT_TRUE(allText.contains(word)) << qPrintable(word);
    EXPECT_TRUE(doc->lastBlock().text().startsWith(QStringLiteral("Total time\t")));
    EXPECT_TRUE(doc->lastBlock().text().endsWith(durationText(c.list.totalMs())));
    if (c.list.isCompilation()) {
        EXPECT_TRUE(allText.contains(QStringLiteral("Song 2 \u2013 Artist 1")));
    }
    if (c.list.hasSeveralDiscs()) {
        EXPECT_TRUE(allText.contains(QStringLiteral("Disc 2")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TrackLayoutTest,
    ::testing::Values(LayoutCase{"twelve", album(12, 1, false, false), 1, true},
                      LayoutCase{"longTitles", album(22, 1, true, false), 1, false},
                      LayoutCase{"compilation", album(18, 1, true, true), 1, false},
                      LayoutCase{"twoDiscs", album(30, 2, false, false), 2, true},
                      LayoutCase{"many", album(45, 1, true, false), 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The laid-out list written as RTF and read back is the same list, and writes the same bytes.
TEST(TrackLayoutRtf, RoundTripsWithItsTabStops) {
    auto doc = editorDocument();
    TrackLayout::layOut(album(40, 2, true, true), *doc, TextArea);
    const QByteArray rtf = RtfWriter::toRtf(doc.get());
    EXPECT_TRUE(rtf.contains("\\tqr\\tx"));
    auto back = editorDocument();
    RtfReader::read(rtf, back.get());
    ASSERT_EQ(back->blockCount(), doc->blockCount());
    for (QTextBlock a = doc->begin(), b = back->begin(); a.isValid(); a = a.next(), b = b.next()) {
        EXPECT_EQ(a.text(), b.text());
        const auto ta = a.blockFormat().tabPositions(), tb = b.blockFormat().tabPositions();
        ASSERT_EQ(ta.size(), tb.size());
        for (qsizetype i = 0; i < ta.size(); ++i) {
            EXPECT_EQ(ta[i].position, tb[i].position);
            EXPECT_EQ(ta[i].type, tb[i].type);
        }
        EXPECT_EQ(a.charFormat().fontPointSize(),
                  b.begin().fragment().charFormat().fontPointSize());
    }
    EXPECT_EQ(RtfWriter::toRtf(back.get()), rtf);
}

// A list far too long for the back (a folder of thousands of files) still gives every track, in
// two columns at the smallest size, running on below the back.
TEST(TrackLayoutLong, RunsOnInTwoColumnsAtTheSmallestSize) {
    auto doc = editorDocument();
    const TrackList list = album(3000, 1, false, false);
    const TrackLayout::Choice choice = TrackLayout::layOut(list, *doc, TextArea);
    EXPECT_FALSE(choice.fits);
    EXPECT_EQ(choice.columns, 2);
    EXPECT_EQ(choice.pointSize, TrackLayout::SmallestPointSize);
    EXPECT_TRUE(doc->toPlainText().contains(QStringLiteral("Song 3000\t")));
    EXPECT_TRUE(doc->lastBlock().text().endsWith(durationText(list.totalMs())));
}

// One undo takes the whole list back to what was typed before.
TEST(TrackLayoutUndo, OneStep) {
    auto doc = editorDocument();
    QTextCursor(doc.get()).insertText(QStringLiteral("typed by hand"));
    TrackLayout::layOut(album(5, 1, false, false), *doc, TextArea);
    ASSERT_NE(doc->toPlainText(), QStringLiteral("typed by hand"));
    doc->undo();
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("typed by hand"));
}

} // namespace
