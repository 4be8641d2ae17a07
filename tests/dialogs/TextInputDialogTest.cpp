#include "dialogs/TextInputDialog.h"

#include "DialogTestUtil.h"
#include "controls/ColourButton.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <climits>
#include <gtest/gtest.h>

using dialogtest::AskText;
using dialogtest::WhenShown;

namespace {

const QString Prompt = QStringLiteral("Enter Name of new Folder:");

struct Seen {
    QString title, edit;
    QRect frame, label, editBox, ok, cancel;
    QSize client;
    QWidget* focus = nullptr;
    bool selected = true;
};

Seen Look(TextInputDialog& dlg) {
    Seen s;
    s.title = dlg.windowTitle();
    s.edit = dlg.answerEdit->text();
    s.frame = dlg.frameGeometry();
    s.client = dlg.size();
    s.label = dlg.promptLabel->geometry();
    s.editBox = dlg.answerEdit->geometry();
    s.ok = dlg.okButton->geometry();
    s.cancel = dlg.cancelButton->geometry();
    s.focus = dlg.focusWidget();
    s.selected = dlg.answerEdit->hasSelectedText();
    return s;
}

TEST(TextInputDialog, OkWithTheDefaultTextGivesItBack) {
    TextInputDialog dlg;
    QString answer = QStringLiteral("Covers");
    Seen s;
    WhenShown(&dlg, [&] {
        s = Look(dlg);
        dlg.okButton->click();
    });
    EXPECT_TRUE(AskText(dlg, 0, 0, 600, 800, QString(), Prompt, answer));
    EXPECT_EQ(answer, "Covers");
    EXPECT_EQ(s.title, "Sleevix - ") << "an empty suffix leaves the dash";
    EXPECT_EQ(s.edit, "Covers");
    EXPECT_EQ(s.focus, dlg.answerEdit);
    EXPECT_FALSE(s.selected) << "the offered text is not selected";
    EXPECT_FALSE(dlg.isVisible());
}

TEST(TextInputDialog, CancelAfterTypingGivesTheTypedTextAndFalse) {
    TextInputDialog dlg;
    QString answer;
    WhenShown(&dlg, [&] {
        dlg.answerEdit->setText(QStringLiteral("Nieuwe map"));
        dlg.cancelButton->click();
    });
    EXPECT_FALSE(AskText(dlg, 0, 0, 600, 800, QStringLiteral("Map"), Prompt, answer));
    EXPECT_EQ(answer, "Nieuwe map");
    EXPECT_EQ(dlg.windowTitle(), "Sleevix - Map");

    // Empty answer with OK is an empty text and true.
    answer.clear();
    WhenShown(&dlg, [&] { dlg.okButton->click(); });
    EXPECT_TRUE(AskText(dlg, 0, 0, 600, 800, QString(), Prompt, answer));
    EXPECT_EQ(answer, "");
}

TEST(TextInputDialog, EscapeCountsAsCancelEvenAfterAnEarlierOk) {
    TextInputDialog dlg;
    QString answer;
    WhenShown(&dlg, [&] { dlg.okButton->click(); });
    ASSERT_TRUE(AskText(dlg, 0, 0, 600, 800, QString(), Prompt, answer));
    WhenShown(&dlg, [&] { dlg.reject(); });
    EXPECT_FALSE(AskText(dlg, 0, 0, 600, 800, QString(), Prompt, answer));
}

TEST(TextInputDialog, LabelGrowsThirtyPixelsPerLabelWidthOfPromptAndTheRestFollows) {
    TextInputDialog dlg;
    const QString longPrompt = Prompt.repeated(8);
    const int promptWidth = QFontMetrics(dlg.font()).horizontalAdvance(longPrompt);
    const int labelHeight = promptWidth * 30 / 301;
    ASSERT_GT(labelHeight, 60);
    QString answer;
    Seen s;
    WhenShown(&dlg, [&] {
        s = Look(dlg);
        dlg.okButton->click();
    });
    AskText(dlg, 0, 0, 600, 800, QString(), longPrompt, answer);
    EXPECT_EQ(s.label, QRect(9, 8, 301, labelHeight));
    EXPECT_EQ(s.editBox, QRect(13, 8 + labelHeight + 10, 291, 25));
    EXPECT_EQ(s.ok.top(), s.editBox.bottom() + 1 + 10);
    EXPECT_EQ(s.cancel.top(), s.ok.top()) << "buttons stay level";
    EXPECT_EQ(s.ok.left(), 45);
    EXPECT_EQ(s.cancel.left(), 166);
    EXPECT_EQ(s.client, QSize(319, s.ok.bottom() + 1 + 10));
    EXPECT_GE(dlg.promptLabel->heightForWidth(301), 0);
    EXPECT_LE(dlg.promptLabel->heightForWidth(301), labelHeight + 30) << "the wrapped prompt fits";
}

TEST(TextInputDialog, CentresOverTheCallerKeepingNegativeOffsets) {
    TextInputDialog dlg;
    QString answer;
    Seen big, small;
    WhenShown(&dlg, [&] {
        big = Look(dlg);
        dlg.okButton->click();
    });
    AskText(dlg, 100, 200, 600, 800, QString(), Prompt, answer);
    EXPECT_EQ(big.frame.top(), 100 + (600 - big.frame.height()) / 2);
    EXPECT_EQ(big.frame.left(), 200 + (800 - big.frame.width()) / 2);

    // A caller smaller than the dialog: the dialog stands above and left of it.
    WhenShown(&dlg, [&] {
        small = Look(dlg);
        dlg.okButton->click();
    });
    AskText(dlg, 50, 60, 40, 30, QString(), Prompt, answer);
    EXPECT_EQ(small.frame.top(), 50 + (40 - small.frame.height()) / 2);
    EXPECT_EQ(small.frame.left(), 60 + (30 - small.frame.width()) / 2);
    EXPECT_LT(small.frame.top(), 50);
}

} // namespace

namespace {

TEST(TextInputDialog, CallerFarOffScreenDoesNotHurt) {
    TextInputDialog dlg;
    QString answer;
    WhenShown(&dlg, [&] { dlg.okButton->click(); });
    EXPECT_TRUE(dlg.ask(QRect(QPoint(INT_MIN, INT_MAX), QPoint(INT_MAX, INT_MAX)), QString(),
                        QString(), answer)
                    .accepted);
}

} // namespace
