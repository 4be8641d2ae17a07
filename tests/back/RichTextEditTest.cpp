// The rich-text control: loading RTF and plain-text files, refusing what is neither without
// losing the typed text, saving whole files, and the lines as the control displays them.
#include "back/RichTextEdit.h"
#include "common/TestEnv.h"
#include "platform/AppError.h"
#include "rtf/RtfTestUtil.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

struct Editor : ::testing::Test {
    Editor() {
        edit.resize(556, 472);
        edit.show();
        edit.setPlainText("typed before");
    }
    RichTextEdit edit;
    QString folder = testenv::freshFolder("richedit");
};

TEST_F(Editor, LoadsRtfReplacingTheContent) {
    const QString file = testenv::writeFile(
        folder + "/Back.rtf", R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;})"
                              R"(\f0\fs26\b Title\b0\par 1.\tab \cf1 Song\par})");
    edit.loadFromFile(file);
    EXPECT_EQ(edit.toPlainText(), "Title\n1.\tSong");
    EXPECT_EQ(rtftest::describe(*edit.document()).toStdString(),
              "left: [Title]{Arial,13.0pt,b}\nleft: [1.\t]{Arial,13.0pt} "
              "[Song]{Arial,13.0pt,fg#ff0000}");
    // The editor's own settings stay: Arial 17 px for new text, tab stops every 48 pixels.
    EXPECT_EQ(edit.document()->defaultFont().pixelSize(), 17);
    EXPECT_EQ(edit.document()->defaultTextOption().tabStopDistance(), 48);
    EXPECT_FALSE(edit.document()->isUndoAvailable());
}

struct PlainCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

class PlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainText, FileThatIsNotRtfIsReadAsText) {
    RichTextEdit edit;
    const QString file =
        testenv::writeFile(testenv::freshFolder("plain") + "/list.rtf", GetParam().bytes);
    edit.loadFromFile(file);
    EXPECT_EQ(edit.toPlainText().toStdU16String(), GetParam().text.toStdU16String());
}

const PlainCase plainCases[] = {
    {"Ascii", "1. Intro\n2. Outro\n", "1. Intro\n2. Outro\n"},
    {"Utf8", "Dvo\xc5\x99\xc3\xa1k\r\n", u"Dvo\u0159\u00e1k\n"_qs},
    {"Utf8WithMark", "\xef\xbb\xbf\xc3\xa9", u"\u00e9"_qs},
    {"Windows1252", "Caf\xe9 \x80", u"Caf\u00e9 \u20ac"_qs},
    {"Utf16",
     QByteArray("\xff\xfe"
                "a\0\x19\x20",
                6),
     u"a\u2019"_qs},
    {"Empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(RichTextEdit, PlainText, ::testing::ValuesIn(plainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Editor, FileThatIsNeitherRtfNorTextFailsAndKeepsTheTypedText) {
    QByteArray binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    const QString file = testenv::writeFile(folder + "/Back.rtf", binary);
    EXPECT_EQ(testenv::errorOf([&] { edit.loadFromFile(file); }), "Failed to Load Stream");
    EXPECT_EQ(edit.toPlainText(), "typed before");
}

TEST_F(Editor, MissingFileFailsAndKeepsTheTypedText) {
    const QString file = folder + "/none.rtf";
    EXPECT_EQ(testenv::errorOf([&] { edit.loadFromFile(file); }),
              "Cannot open file " + QDir::toNativeSeparators(file));
    EXPECT_EQ(edit.toPlainText(), "typed before");
}

TEST_F(Editor, SavesRtfThatLoadsBackTheSame) {
    QTextCursor c(edit.document());
    c.movePosition(QTextCursor::End);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText("\nTrack\t3:00 ", bold);
    const QString before = rtftest::describe(*edit.document());
    const QString file = folder + "/Back.rtf";
    edit.saveToFile(file);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("{\\rtf1\\ansi\\ansicpg1252"));

    RichTextEdit other;
    other.loadFromFile(file);
    EXPECT_EQ(other.toPlainText(), "typed before\nTrack\t3:00 ");
    EXPECT_TRUE(rtftest::describe(*other.document()).contains("[Track\t3:00 ]{Arial,13.0pt,b}"))
        << qPrintable(rtftest::describe(*other.document())) << "\nwas\n"
        << qPrintable(before);
}

TEST_F(Editor, SaveIntoMissingFolderFailsAndWritesNothing) {
    const QString file = folder + "/missing/Back.rtf";
    EXPECT_EQ(testenv::errorOf([&] { edit.saveToFile(file); }),
              "Cannot create file " + QDir::toNativeSeparators(file) +
                  "\nThe file or folder does not exist.");
    EXPECT_FALSE(QFileInfo::exists(folder + "/missing"));
}

TEST_F(Editor, SaveReplacesAnExistingFileWhole) {
    const QString file = testenv::writeFile(folder + "/Back.rtf", QByteArray(100000, 'x'));
    edit.saveToFile(file);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_FALSE(bytes.contains("xxx"));
    EXPECT_TRUE(bytes.trimmed().endsWith("}"));
}

TEST_F(Editor, DisplayedLinesFollowTheWordWrap) {
    edit.setPlainText(QStringLiteral("Short\n") + QString("word ").repeated(40).trimmed() +
                      "\n\n  last  ");
    const QStringList lines = edit.displayedLines();
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "Short");
    EXPECT_TRUE(lines[1].startsWith("word word"));
    EXPECT_LT(lines[1].size(), 199); // wrapped: the paragraph is 199 characters long
    EXPECT_EQ(lines.mid(1, lines.size() - 3).join("").remove(' '), QString("word").repeated(40));
    EXPECT_EQ(lines[lines.size() - 2], "");
    EXPECT_EQ(lines.last(), "  last  ");
}

TEST_F(Editor, LineSeparatorEndsADisplayedLine) {
    edit.setPlainText("");
    QTextCursor(edit.document()).insertText(QString("one") + QChar(QChar::LineSeparator) + "two");
    EXPECT_EQ(edit.displayedLines(), QStringList({"one", "two"}));
}

} // namespace

namespace {

// A list read from a file must stay editable: typing over it shows the new text at the top,
// and the copy to the back cover (taken from what is displayed) shows it too.
TEST(EditorAfterLoading, TypingOverALoadedListLaysItOutAgain) {
    RichTextEdit editor;
    editor.resize(556, 472);
    editor.show();
    editor.loadFromFile(testenv::sourcePath(QStringLiteral("samples/Back.rtf")));
    editor.setFocus();
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&editor, QStringLiteral("Night Harbour"));
    QTextDocument* doc = editor.document();
    EXPECT_EQ(doc->blockCount(), 1);
    EXPECT_LT(doc->documentLayout()->blockBoundingRect(doc->begin()).top(), 10);
    const QImage shown = editor.grab().toImage();
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            ink += qGray(shown.pixel(x, y)) < 128;
    EXPECT_GT(ink, 50) << "the typed text is drawn at the top of the editor";
}

TEST(EditorAfterLoading, ControlKeysSwitchBoldItalicAndUnderline) {
    RichTextEdit editor;
    editor.show();
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("plain "));
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClicks(&editor, QStringLiteral("bold"));
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_U, Qt::ControlModifier);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    EXPECT_EQ(editor.toPlainText(), "plain boldx");
    QTextCursor at(editor.document());
    at.setPosition(3);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Normal);
    at.setPosition(8);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    EXPECT_FALSE(at.charFormat().fontItalic());
    at.setPosition(11);
    EXPECT_NE(at.charFormat().fontWeight(), QFont::Bold);
    EXPECT_TRUE(at.charFormat().fontItalic());
    EXPECT_TRUE(at.charFormat().fontUnderline());
}

// Bold switched on (or off) at the end of a line and then two Returns: the text typed after the
// empty line came out in the old style, unlike in any word processor.
TEST(EditorAfterLoading, StyleSwitchedBeforeEmptyLinesHolds) {
    for (const bool boldTitle : {false, true}) {
        RichTextEdit editor;
        editor.show();
        editor.setFocus();
        if (boldTitle)
            QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(&editor, QStringLiteral("Title"));
        QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, QStringLiteral("X"));
        EXPECT_EQ(editor.toPlainText(), "Title\n\nX");
        QTextCursor at(editor.document());
        at.movePosition(QTextCursor::End);
        EXPECT_EQ(at.charFormat().fontWeight(), boldTitle ? QFont::Normal : QFont::Bold)
            << "title bold: " << boldTitle;
        at.setPosition(3);
        EXPECT_EQ(at.charFormat().fontWeight(), boldTitle ? QFont::Bold : QFont::Normal);
    }
}

// A list read from a file has paragraphs with tab stops; every second Return typed in it was
// swallowed, so empty lines could not be made, and new lines lost the list's tab stops.
TEST(EditorAfterLoading, ReturnsInAListReadFromAFileAreKept) {
    RichTextEdit editor;
    editor.resize(556, 472);
    editor.show();
    const QString file = testenv::writeFile(
        testenv::freshFolder() + QStringLiteral("/list.rtf"),
        R"({\rtf1{\fonttbl{\f0 Arial;}}\pard\tx567\tx4820 1.\tab One\tab 3:00\par})");
    editor.loadFromFile(file);
    editor.setFocus();
    editor.moveCursor(QTextCursor::End);
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("2.\tTwo"));
    EXPECT_EQ(editor.toPlainText(), "1.\tOne\t3:00\n\n2.\tTwo");
    const QTextBlock last = editor.document()->lastBlock();
    ASSERT_EQ(last.blockFormat().tabPositions().size(), 2);
    EXPECT_EQ(last.blockFormat().tabPositions().at(0).position,
              editor.document()->firstBlock().blockFormat().tabPositions().at(0).position);
}

} // namespace
