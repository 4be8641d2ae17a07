// What the editor's format bar and ruler set survives Back.rtf: each format is written by the
// writer into a file, read back by the reader, and found on the same run or paragraph, with the
// text around it unchanged.
#include "rtf/RtfReader.h"
#include "rtf/RtfTestUtil.h"
#include "rtf/RtfWriter.h"
#include "rtf/TabStops.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct FormatRow {
    const char* name;
    std::function<void(QTextCharFormat&, QTextBlockFormat&)> shape;
    const char* written;  // in the file
    const char* readBack; // in the description of the paragraph read back
};

QTextOption::Tab stop(double position, QTextOption::TabType type, bool leader = false) {
    return TabStops::withDotLeader(QTextOption::Tab(position, type), leader);
}

const FormatRow formatRows[] = {
    {"FontFamily", [](auto& c, auto&) { c.setFontFamilies({QStringLiteral("Courier New")}); },
     "Courier New;", "[Heading\tline]{Courier New,12.0pt}"},
    {"FontSize", [](auto& c, auto&) { c.setFontPointSize(20.5); }, "\\fs41 ", "20.5pt"},
    {"Bold", [](auto& c, auto&) { c.setFontWeight(QFont::Bold); }, "\\b ", "12.0pt,b}"},
    {"Italic", [](auto& c, auto&) { c.setFontItalic(true); }, "\\i ", "12.0pt,i}"},
    {"Underline",
     [](auto& c, auto&) { c.setUnderlineStyle(QTextCharFormat::SingleUnderline); }, "\\ul ",
     "12.0pt,u1}"},
    {"Colour", [](auto& c, auto&) { c.setForeground(QColor(0x12, 0x80, 0xc0)); },
     "\\red18\\green128\\blue192;", "12.0pt,fg#1280c0}"},
    {"AlignLeft", [](auto&, auto& b) { b.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute); },
     "\\pard\\plain", "left:"},
    {"AlignCentre", [](auto&, auto& b) { b.setAlignment(Qt::AlignHCenter); }, "\\pard\\qc",
     "center:"},
    {"AlignRight", [](auto&, auto& b) { b.setAlignment(Qt::AlignRight | Qt::AlignAbsolute); },
     "\\pard\\qr", "right:"},
    {"Justify", [](auto&, auto& b) { b.setAlignment(Qt::AlignJustify); }, "\\pard\\qj",
     "justify:"},
    {"LeftStop", [](auto&, auto& b) { b.setTabPositions({stop(100, QTextOption::LeftTab)}); },
     "\\tx1500\\plain", "left tab=100.0/0:"},
    {"CentreStop",
     [](auto&, auto& b) { b.setTabPositions({stop(150, QTextOption::CenterTab)}); },
     "\\tqc\\tx2250", "left tab=150.0/2:"},
    {"RightStopWithDotLeader",
     [](auto&, auto& b) { b.setTabPositions({stop(333, QTextOption::RightTab, true)}); },
     "\\tqr\\tldot\\tx4995", "left tab=333.0/1...:"},
    {"SeveralStops",
     [](auto&, auto& b) {
         b.setTabPositions({stop(40, QTextOption::LeftTab, true),
                            stop(300, QTextOption::CenterTab),
                            stop(520, QTextOption::RightTab)});
     },
     "\\tldot\\tx600\\tqc\\tx4500\\tqr\\tx7800",
     "left tab=40.0/0... tab=300.0/2 tab=520.0/1:"},
};

class RtfFormatRoundTrip : public ::testing::TestWithParam<FormatRow> {};

TEST_P(RtfFormatRoundTrip, ReadsBackWhatWasWritten) {
    const FormatRow& row = GetParam();
    QTextDocument original;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    original.setDefaultFont(font);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(12);
    QTextCharFormat shaped = plain;
    QTextBlockFormat block;
    row.shape(shaped, block);
    QTextCursor cursor(&original);
    cursor.setBlockFormat(block);
    cursor.insertText(QStringLiteral("Heading\tline"), shaped);
    cursor.insertText(QStringLiteral(" and the rest"), plain);
    cursor.insertBlock(QTextBlockFormat(), plain);
    cursor.insertText(QStringLiteral("1.\tPlain\t3:41"), plain);

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile file(folder.filePath(QStringLiteral("Back.rtf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    RtfWriter::write(&original, &file);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains(row.written)) << bytes.toStdString();
    ASSERT_TRUE(file.seek(0));
    QTextDocument readBack;
    RtfReader::read(&file, &readBack);

    const QString expected = rtftest::describe(original);
    const QString found = rtftest::describe(readBack);
    EXPECT_EQ(found.toStdString(), expected.toStdString());
    EXPECT_TRUE(found.section(u'\n', 0, 0).contains(QString::fromUtf8(row.readBack)))
        << found.toStdString();
    // The format stays where it was set: the next paragraph is plain and left aligned.
    EXPECT_EQ(found.section(u'\n', 1).toStdString(),
              "left: [1.\tPlain\t3:41]{Arial,12.0pt}");
}

INSTANTIATE_TEST_SUITE_P(Format, RtfFormatRoundTrip, ::testing::ValuesIn(formatRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A leader written by a word processor before or after the stop's kind, and one that belongs to
// no stop (\pard ends it), read as the editor shows them.
TEST(RtfFormatRoundTrip, DotLeaderBelongsToTheNextStopOnly) {
    const auto doc = rtftest::read(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
        "\\pard\\tldot\\tqr\\tx4500\\tx6000 a\\tab b\\par"
        "\\pard\\tldot\\par"
        "\\pard\\tqc\\tldot\\tx3000 c\\par}");
    const QString found = rtftest::describe(*doc);
    EXPECT_TRUE(found.section(u'\n', 0, 0).startsWith("left tab=300.0/1... tab=400.0/0:"))
        << found.toStdString();
    EXPECT_TRUE(found.section(u'\n', 1, 1).startsWith("left:")) << found.toStdString();
    EXPECT_TRUE(found.section(u'\n', 2, 2).startsWith("left tab=200.0/2...:"))
        << found.toStdString();
}

} // namespace
