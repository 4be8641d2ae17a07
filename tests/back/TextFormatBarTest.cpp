// The back-cover editor's format bar and ruler, worked as a user works them: each control
// formats the selection only, shows the format where the cursor is, is taken back by one undo,
// and survives Back.rtf written and read again; the ruler adds, moves and removes tab stops of
// the selected paragraphs, the text stands where the ruler shows the stop, and a dot leader is
// painted in the editor and on the back picture.
#include "back/TextFormatBar.h"
#include "back/BackTextEditor.h"
#include "back/EditorFixture.h"
#include "back/RichTextEdit.h"
#include "back/TabRuler.h"
#include "common/TestEnv.h"
#include "cover/BackText.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

class TextFormatBarTest : public EditorFixture {
protected:
    void SetUp() override {
        makeEditor(QStringLiteral("formatbar"));
        // Return in a box of the bar must not press the window's default button (Read).
        back_->runOpenDialog = [](QFileDialog*) {
            ADD_FAILURE() << "the Read button was pressed";
            return false;
        };
        back_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(back_.get()));
    }

    RichTextEdit& editor() { return *back_->editor; }
    TextFormatBar& bar() { return *back_->formatBar; }
    void putCursor(int position, int anchor = -1) {
        QTextCursor cursor(editor().document());
        cursor.setPosition(anchor < 0 ? position : anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        editor().setTextCursor(cursor);
    }
};

struct ControlRow {
    const char* name;
    std::function<void(TextFormatBar&)> use;
    // Whether a run or paragraph has what the control sets.
    std::function<bool(const QTextCharFormat&, const QTextBlockFormat&)> has;
    // Whether the bar shows it.
    std::function<bool(TextFormatBar&)> shows;
};

const ControlRow controlRows[] = {
    {"FontFamily",
     [](TextFormatBar& b) { b.fontBox->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"))); },
     [](const auto& c, const auto&) {
         return c.fontFamilies().toStringList().value(0) == QStringLiteral("DejaVu Serif");
     },
     [](TextFormatBar& b) { return b.fontBox->currentText() == QStringLiteral("DejaVu Serif"); }},
    {"TypedFontSize",
     [](TextFormatBar& b) {
         // Typed as the keyboard types it: into the box, which hands the keys on.
         b.sizeBox->lineEdit()->clear();
         QTest::keyClicks(b.sizeBox, QStringLiteral("20.5"));
         QTest::keyClick(b.sizeBox, Qt::Key_Return);
     },
     [](const auto& c, const auto&) { return c.fontPointSize() == 20.5; },
     [](TextFormatBar& b) { return b.sizeBox->currentText() == QStringLiteral("20.5"); }},
    {"Bold", [](TextFormatBar& b) { b.boldButton->click(); },
     [](const auto& c, const auto&) { return c.fontWeight() == QFont::Bold; },
     [](TextFormatBar& b) { return b.boldButton->isChecked(); }},
    {"Italic", [](TextFormatBar& b) { b.italicButton->click(); },
     [](const auto& c, const auto&) { return c.fontItalic(); },
     [](TextFormatBar& b) { return b.italicButton->isChecked(); }},
    {"Underline", [](TextFormatBar& b) { b.underlineButton->click(); },
     [](const auto& c, const auto&) {
         return c.underlineStyle() == QTextCharFormat::SingleUnderline;
     },
     [](TextFormatBar& b) { return b.underlineButton->isChecked(); }},
    {"Colour",
     [](TextFormatBar& b) {
         b.chooseColour = [](const QColor& current) {
             EXPECT_EQ(current, QColor(Qt::black)) << "the dialog starts at the text's colour";
             return QColor(200, 30, 40);
         };
         b.colourButton->click();
     },
     [](const auto& c, const auto&) {
         return c.hasProperty(QTextFormat::ForegroundBrush) &&
                c.foreground().color() == QColor(200, 30, 40);
     },
     [](TextFormatBar& b) { return b.shownColour() == QColor(200, 30, 40); }},
    {"Centre", [](TextFormatBar& b) { b.alignCentreButton->click(); },
     [](const auto&, const auto& p) { return p.alignment().testFlag(Qt::AlignHCenter); },
     [](TextFormatBar& b) {
         return b.alignCentreButton->isChecked() && !b.alignLeftButton->isChecked();
     }},
    {"Right", [](TextFormatBar& b) { b.alignRightButton->click(); },
     [](const auto&, const auto& p) { return p.alignment().testFlag(Qt::AlignRight); },
     [](TextFormatBar& b) {
         return b.alignRightButton->isChecked() && !b.alignLeftButton->isChecked();
     }},
    {"Justify", [](TextFormatBar& b) { b.alignJustifyButton->click(); },
     [](const auto&, const auto& p) { return p.alignment().testFlag(Qt::AlignJustify); },
     [](TextFormatBar& b) {
         return b.alignJustifyButton->isChecked() && !b.alignLeftButton->isChecked();
     }},
};

class FormatControl : public TextFormatBarTest, public ::testing::WithParamInterface<ControlRow> {};

TEST_P(FormatControl, FormatsTheSelectionFollowsTheCursorUndoesAndSurvivesTheFile) {
    const ControlRow& row = GetParam();
    editor().setPlainText(QStringLiteral("Heading\n1.\tPlain line"));
    const auto formatsOf = [](const QTextDocument& document, int block) {
        const QTextBlock b = document.findBlockByNumber(block);
        return std::pair(b.begin().fragment().charFormat(), b.blockFormat());
    };
    const auto has = [&](const QTextDocument& document, int block) {
        const auto [c, p] = formatsOf(document, block);
        return row.has(c, p);
    };
    putCursor(7, 0); // "Heading" selected
    row.use(bar());
    EXPECT_TRUE(has(*editor().document(), 0));
    EXPECT_FALSE(has(*editor().document(), 1)) << "the next paragraph is left as it was";

    putCursor(17);
    EXPECT_FALSE(row.shows(bar())) << "in the plain line";
    putCursor(3);
    EXPECT_TRUE(row.shows(bar())) << "in the heading";

    const QString file = QDir::current().filePath(QStringLiteral("Back.rtf"));
    editor().saveToFile(file);
    RichTextEdit reread;
    reread.loadFromFile(file);
    EXPECT_TRUE(has(*reread.document(), 0)) << "read back from Back.rtf";
    EXPECT_FALSE(has(*reread.document(), 1));

    editor().undo();
    EXPECT_FALSE(has(*editor().document(), 0)) << "one undo takes it back";
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("Heading\n1.\tPlain line"));
}

INSTANTIATE_TEST_SUITE_P(Bar, FormatControl, ::testing::ValuesIn(controlRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A drag as the ruler gets it while it holds the mouse, also where the pointer leaves it.
void drag(QWidget& ruler, QPoint from, QPoint over, QPoint to) {
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), ruler.mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&ruler, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, over, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

QList<QTextOption::Tab> stopsOf(const QTextDocument& document, int block) {
    return document.findBlockByNumber(block).blockFormat().tabPositions();
}

TEST_F(TextFormatBarTest, RulerAddsMovesAndRemovesStopsOfTheSelectedParagraphs) {
    editor().setPlainText(QStringLiteral("Song\t3:41\nOther song\t12:00\nnot selected"));
    putCursor(15, 2); // from the first paragraph into the second
    bar().rightTabAction->trigger();
    bar().dotLeaderAction->trigger();
    TabRuler& ruler = *back_->ruler;
    const int origin = ruler.origin();
    const QTextOption::Tab rightDots =
        TabStops::withDotLeader(QTextOption::Tab(300, QTextOption::RightTab), true);

    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(origin + 300, 10));
    EXPECT_EQ(stopsOf(*editor().document(), 0), QList{rightDots});
    EXPECT_EQ(stopsOf(*editor().document(), 1), QList{rightDots});
    EXPECT_TRUE(stopsOf(*editor().document(), 2).isEmpty());
    EXPECT_EQ(ruler.stops(), QList{rightDots});

    // The duration ends where the ruler shows the stop.
    QTextCursor end(editor().document()->findBlockByNumber(0));
    end.movePosition(QTextCursor::EndOfBlock);
    const QPoint textEnd =
        ruler.mapFromGlobal(editor().viewport()->mapToGlobal(editor().cursorRect(end).topLeft()));
    EXPECT_NEAR(textEnd.x(), origin + 300, 1.5);

    // The gap before the duration holds the leader's dots, in the editor and on the back.
    QTextCursor gapStart(editor().document()->findBlockByNumber(0));
    gapStart.setPosition(gapStart.position() + 4); // after "Song"
    const QRect song = editor().cursorRect(gapStart);
    const QRect gap(song.right() + 12, song.top(), origin + 300 - 60 - song.right() - 12,
                    song.height());
    const auto darkIn = [](const QImage& image, QRect area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    putCursor(editor().document()->characterCount() - 1); // no selection over the dots
    const QImage shown = editor().viewport()->grab().toImage();
    EXPECT_GT(darkIn(shown, gap), 10) << "dots in the editor";
    const BackTextView view = back_->displayedList();
    QImage painted(view.textArea().size() + QSize(20, 20), QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
        QPainter painter(&painted);
        BackText::paintShown(painter, view);
    }
    const QPoint viewportInEditor = editor().viewport()->pos();
    EXPECT_GT(darkIn(painted, gap.translated(viewportInEditor)), 10) << "dots on the back";

    // Dragged along the ruler: moved, one undo puts it back; a click on it changes nothing.
    putCursor(0);
    drag(ruler, QPoint(origin + 300, 10), QPoint(origin + 250, 12), QPoint(origin + 200, 12));
    QTextOption::Tab moved = rightDots;
    moved.position = 200;
    EXPECT_EQ(stopsOf(*editor().document(), 0), QList{moved});
    EXPECT_EQ(stopsOf(*editor().document(), 1), QList{rightDots}) << "not selected now";
    const int undoSteps = editor().document()->availableUndoSteps();
    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(origin + 202, 10));
    EXPECT_EQ(editor().document()->availableUndoSteps(), undoSteps);
    editor().undo();
    EXPECT_EQ(stopsOf(*editor().document(), 0), QList{rightDots});
    EXPECT_EQ(ruler.stops(), QList{rightDots}) << "the ruler follows the undo";

    // Dragged off the ruler: removed. A new stop dragged off at once is never added.
    putCursor(0);
    drag(ruler, QPoint(origin + 300, 10), QPoint(origin + 300, ruler.height() + 30),
         QPoint(origin + 300, ruler.height() + 30));
    EXPECT_TRUE(stopsOf(*editor().document(), 0).isEmpty());
    drag(ruler, QPoint(origin + 100, 10), QPoint(origin + 120, 10), QPoint(origin + 100, -40));
    EXPECT_TRUE(stopsOf(*editor().document(), 0).isEmpty());
    EXPECT_TRUE(ruler.stops().isEmpty());
}

} // namespace
