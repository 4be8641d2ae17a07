// Tables as LibreOffice Writer and Word write a track list: each row one line, its cells in
// columns at tab stops, through the editor's own writer and back unchanged; and damaged or hostile
// tables read without losing text.
#include "common/TestEnv.h"
#include "rtf/RtfTestUtil.h"
#include "rtf/RtfWriter.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <vector>

using rtftest::describe;
using rtftest::text;

namespace {

// The width the editor gives its text, less the document's margins.
constexpr double TextWidth = 540;

// Read as the editor reads: its font, its margins, its width.
std::unique_ptr<QTextDocument> readAtEditorWidth(const QByteArray& rtf) {
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    doc->setDefaultFont(font);
    doc->setDocumentMargin(4);
    doc->setTextWidth(TextWidth + 8);
    RtfReader::read(rtf, doc.get());
    return doc;
}

struct TableFile {
    const char* name;       // in tests/data/rtf
    QStringList paragraphs; // every paragraph; the table's rows with their cells joined by "|"
};

class RtfTableFile : public ::testing::TestWithParam<TableFile> {};

TEST_P(RtfTableFile, ReadsAsAlignedColumnsAndSurvivesTheWriter) {
    QFile file(testenv::sourcePath(QStringLiteral("tests/data/rtf/") + GetParam().name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    const auto doc = readAtEditorWidth(file.readAll());

    QStringList paragraphs;
    std::vector<std::vector<std::pair<double, double>>> columns; // where each row's cells stand
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        doc->documentLayout()->blockBoundingRect(block);
        const QTextLine shown = block.layout()->lineAt(0);
        ASSERT_EQ(block.layout()->lineCount(), 1) << "wraps: " << qPrintable(block.text());
        EXPECT_LE(shown.naturalTextWidth(), TextWidth) << qPrintable(block.text());
        const QStringList cells = block.text().split(u'\t');
        double previousEnd = -10;
        for (int c = 0, at = 0; c < cells.size(); at += int(cells[c++].size()) + 1) {
            if (cells[c].isEmpty())
                continue; // before a right-aligned first column, or a merged cell
            const std::pair<double, double> x{shown.cursorToX(at),
                                              shown.cursorToX(at + int(cells[c].size()))};
            EXPECT_GT(x.first, previousEnd + 3) << "run together: " << qPrintable(block.text());
            previousEnd = x.second;
            columns.resize(std::max<size_t>(columns.size(), c + 1));
            columns[c].push_back(x);
        }
        paragraphs << cells.filter(QRegularExpression(".")).join(u'|');
    }
    EXPECT_EQ(paragraphs.join(u'\n').toStdString(),
              GetParam().paragraphs.join(u'\n').toStdString());
    // Every column after the first is in line: its cells start (left-aligned) or end
    // (right-aligned) at one place.
    for (size_t c = 1; c < columns.size(); ++c) {
        bool sameStart = true, sameEnd = true;
        for (const auto& [from, to] : columns[c]) {
            sameStart = sameStart && std::abs(from - columns[c][0].first) < 0.5;
            sameEnd = sameEnd && std::abs(to - columns[c][0].second) < 0.5;
        }
        EXPECT_TRUE(sameStart || sameEnd) << "column " << c << " is not in line";
    }

    // Saved by the editor and read again: the same lines, tab stops and formatting, the stops
    // exactly where they were (else "Back.bmp" no longer matches the list and prints as a
    // picture instead of text).
    const auto again = readAtEditorWidth(RtfWriter::toRtf(doc.get()));
    EXPECT_EQ(describe(*again).toStdString(), describe(*doc).toStdString());
    for (QTextBlock a = doc->begin(), b = again->begin(); a.isValid() && b.isValid();
         a = a.next(), b = b.next())
        EXPECT_TRUE(a.blockFormat().tabPositions() == b.blockFormat().tabPositions())
            << qPrintable(a.text());
}

const TableFile tableFiles[] = {
    {"lo-table.rtf",
     {"Smetana – Má vlast", "1|Vyšehrad|14:52", "2|Vltava (Die Moldau)|12:10", "3|Šárka|9:37",
      "4|Z českých luhů a hájů|13:02", "Total 49:41"}},
    {"word-table.rtf",
     {"Dvořák – Symphony No. 9", "#|Movement|Time", "1|Adagio – Allegro molto|9:24",
      "2|Largo|12:01", "3|Scherzo: Molto vivace (bonus, no time given)", "Total 21:25"}},
};

INSTANTIATE_TEST_SUITE_P(DataFiles, RtfTableFile, ::testing::ValuesIn(tableFiles),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             n = n.substr(0, n.find('.'));
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

// ---------------------------------------------------------------------------------------------
// Damaged and hostile tables: the text is kept, and the tab stops still increase inside the width.

struct BadTable {
    std::string name;
    QByteArray rtf;
    QString expected;
};

class RtfBadTable : public ::testing::TestWithParam<BadTable> {};

TEST_P(RtfBadTable, KeepsTheTextInColumns) {
    const auto doc = readAtEditorWidth(GetParam().rtf);
    EXPECT_EQ(text(*doc).toStdU16String(), GetParam().expected.toStdU16String());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        double previous = 0;
        for (const QTextOption::Tab& tab : block.blockFormat().tabPositions()) {
            EXPECT_GE(tab.position, previous) << qPrintable(block.text());
            EXPECT_LE(tab.position, TextWidth) << qPrintable(block.text());
            previous = tab.position;
        }
    }
}

std::vector<BadTable> badTables() {
    std::vector<BadTable> cases = {
        {"NestedTable",
         R"({\rtf1\trowd\cellx2000\cellx6000\pard\intbl a\cell\pard\intbl\itap2 x\nestcell y)"
         R"(\nestcell{\*\nesttableprops\trowd\cellx3000\cellx5000\nestrow}{\nonesttables\par})"
         R"(\pard\intbl\itap1 b\cell\row\pard after\par})",
         "a\tx y b\nafter"},
        {"MergedCells",
         R"({\rtf1\trowd\cellx900\clmgf\cellx3000\clmrg\cellx6000\cellx7000\intbl 1\cell)"
         R"( Long title\cell\cell 3:00\cell\row})",
         "1\tLong title\t3:00"}, // the merged cell adds no column
        {"RowsWithDifferentCellCounts",
         R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\cell b\cell\row)"
         R"(\intbl c\cell d\cell e\cell f\cell\row})",
         "a\tb\nc\td\te\tf"},
        {"RowWithoutDefinition", R"({\rtf1\pard\intbl a\cell b\cell\row\pard c\par})", "a\tb\nc"},
        {"TableAtTheEndWithoutRow", R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\cell b\cell})",
         "a\tb"},
        {"LastCellWithoutCellOrRow", R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\cell b})", "a\tb"},
        {"TableEndedByAParagraph",
         R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\cell b\cell\pard\par after})", "a\tb\nafter"},
        {"ParagraphsInACell",
         R"({\rtf1\trowd\cellx1000\cellx5000\intbl 1\cell Title\par Subtitle\cell\row})",
         "1\tTitle Subtitle"},
        {"HiddenCellEnd", R"({\rtf1\trowd\cellx1000\cellx2000\intbl ab{\v\cell}\row})", "ab"},
        {"EmptyRow", R"({\rtf1\trowd\cellx1000\cellx2000\intbl\cell\cell\row\pard after})",
         "\nafter"},
        {"HugeAndBackwardEdges",
         R"({\rtf1\trowd\trleft-99999999\trgaph99999999\cellx2147483647\cellx-2147483648)"
         R"(\cellx99999999\intbl\qr a\cell\qc b\cell\qr c\cell\row})",
         "\ta\tb\tc"},
    };

    // A row of a thousand cells, and ten thousand rows.
    QByteArray wide = R"({\rtf1\trowd)", wideCells = "\\intbl ", many = R"({\rtf1)";
    QStringList wideText, manyText;
    for (int i = 1; i <= 10000; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i <= 1000) {
            wide += "\\cellx" + n + "00";
            wideCells += n + "\\cell ";
            wideText << QString::number(i);
        }
        many += "\\trowd\\cellx700\\cellx7000\\cellx9000\\pard\\intbl\\qr " + n +
                "\\cell\\ql Title " + n + "\\cell\\qr 3:41\\cell\\row\r\n";
        manyText << QStringLiteral("\t%1\tTitle %1\t3:41").arg(i);
    }
    cases.push_back({"AThousandCells", wide + wideCells + "\\row}", wideText.join(u'\t')});
    cases.push_back({"TenThousandRows", many + "}", manyText.join(u'\n')});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Reader, RtfBadTable, ::testing::ValuesIn(badTables()),
                         [](const auto& info) { return info.param.name; });

} // namespace
