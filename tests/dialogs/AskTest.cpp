#include "dialogs/Ask.h"

#include "DialogTestUtil.h"
#include "controls/ClrBtn.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <climits>
#include <gtest/gtest.h>

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

Seen Look(TAskDlg& dlg) {
    Seen s;
    s.title = dlg.windowTitle();
    s.edit = dlg.AskEdit->text();
    s.frame = dlg.frameGeometry();
    s.client = dlg.size();
    s.label = dlg.AskLabel->geometry();
    s.editBox = dlg.AskEdit->geometry();
    s.ok = dlg.BtnOK->geometry();
    s.cancel = dlg.BtnCancel->geometry();
    s.focus = dlg.focusWidget();
    s.selected = dlg.AskEdit->hasSelectedText();
    return s;
}

TEST(AskDlg, OkWithTheDefaultTextGivesItBack) {
    TAskDlg dlg;
    QString answer = QStringLiteral("Covers");
    Seen s;
    WhenShown(&dlg, [&] {
        s = Look(dlg);
        dlg.BtnOK->click();
    });
    EXPECT_TRUE(dlg.Ask(0, 0, 600, 800, QString(), Prompt, answer));
    EXPECT_EQ(answer, "Covers");
    EXPECT_EQ(s.title, "Sleevix - ") << "an empty suffix leaves the dash";
    EXPECT_EQ(s.edit, "Covers");
    EXPECT_EQ(s.focus, dlg.AskEdit);
    EXPECT_FALSE(s.selected) << "the offered text is not selected";
    EXPECT_FALSE(dlg.isVisible());
}

TEST(AskDlg, CancelAfterTypingGivesTheTypedTextAndFalse) {
    TAskDlg dlg;
    QString answer;
    WhenShown(&dlg, [&] {
        dlg.AskEdit->setText(QStringLiteral("Nieuwe map"));
        dlg.BtnCancel->click();
    });
    EXPECT_FALSE(dlg.Ask(0, 0, 600, 800, QStringLiteral("Map"), Prompt, answer));
    EXPECT_EQ(answer, "Nieuwe map");
    EXPECT_EQ(dlg.windowTitle(), "Sleevix - Map");

    // Empty answer with OK is an empty text and true.
    answer.clear();
    WhenShown(&dlg, [&] { dlg.BtnOK->click(); });
    EXPECT_TRUE(dlg.Ask(0, 0, 600, 800, QString(), Prompt, answer));
    EXPECT_EQ(answer, "");
}

TEST(AskDlg, EscapeCountsAsCancelEvenAfterAnEarlierOk) {
    TAskDlg dlg;
    QString answer;
    WhenShown(&dlg, [&] { dlg.BtnOK->click(); });
    ASSERT_TRUE(dlg.Ask(0, 0, 600, 800, QString(), Prompt, answer));
    WhenShown(&dlg, [&] { dlg.reject(); });
    EXPECT_FALSE(dlg.Ask(0, 0, 600, 800, QString(), Prompt, answer));
}

TEST(AskDlg, LabelGrowsThirtyPixelsPerLabelWidthOfPromptAndTheRestFollows) {
    TAskDlg dlg;
    const QString longPrompt = Prompt.repeated(8);
    const int promptWidth = QFontMetrics(dlg.font()).horizontalAdvance(longPrompt);
    const int labelHeight = promptWidth * 30 / 301;
    ASSERT_GT(labelHeight, 60);
    QString answer;
    Seen s;
    WhenShown(&dlg, [&] {
        s = Look(dlg);
        dlg.BtnOK->click();
    });
    dlg.Ask(0, 0, 600, 800, QString(), longPrompt, answer);
    EXPECT_EQ(s.label, QRect(9, 8, 301, labelHeight));
    EXPECT_EQ(s.editBox, QRect(13, 8 + labelHeight + 10, 291, 25));
    EXPECT_EQ(s.ok.top(), s.editBox.bottom() + 1 + 10);
    EXPECT_EQ(s.cancel.top(), s.ok.top()) << "buttons stay level";
    EXPECT_EQ(s.ok.left(), 45);
    EXPECT_EQ(s.cancel.left(), 166);
    EXPECT_EQ(s.client, QSize(319, s.ok.bottom() + 1 + 10));
    EXPECT_GE(dlg.AskLabel->heightForWidth(301), 0);
    EXPECT_LE(dlg.AskLabel->heightForWidth(301), labelHeight + 30) << "the wrapped prompt fits";
}

TEST(AskDlg, CentresOverTheCallerKeepingNegativeOffsets) {
    TAskDlg dlg;
    QString answer;
    Seen big, small;
    WhenShown(&dlg, [&] {
        big = Look(dlg);
        dlg.BtnOK->click();
    });
    dlg.Ask(100, 200, 600, 800, QString(), Prompt, answer);
    EXPECT_EQ(big.frame.top(), 100 + (600 - big.frame.height()) / 2);
    EXPECT_EQ(big.frame.left(), 200 + (800 - big.frame.width()) / 2);

    // A caller smaller than the dialog: the dialog stands above and left of it.
    WhenShown(&dlg, [&] {
        small = Look(dlg);
        dlg.BtnOK->click();
    });
    dlg.Ask(50, 60, 40, 30, QString(), Prompt, answer);
    EXPECT_EQ(small.frame.top(), 50 + (40 - small.frame.height()) / 2);
    EXPECT_EQ(small.frame.left(), 60 + (30 - small.frame.width()) / 2);
    EXPECT_LT(small.frame.top(), 50);
}

TEST(AskDlg, FreeFunctionUsesTheStartUpInstance) {
    TAskDlg dlg;
    ASSERT_EQ(AskDlg, &dlg);
    QString answer = QStringLiteral("x");
    WhenShown(&dlg, [&] { dlg.BtnOK->click(); });
    EXPECT_TRUE(Ask(0, 0, 600, 800, QString(), Prompt, answer));
    EXPECT_EQ(answer, "x");
}

} // namespace

namespace {

TEST(AskDlg, CallerFarOffScreenDoesNotHurt) {
    TAskDlg dlg;
    QString answer;
    WhenShown(&dlg, [&] { dlg.BtnOK->click(); });
    EXPECT_TRUE(dlg.Ask(INT_MAX, INT_MIN, INT_MAX, INT_MAX, QString(), QString(), answer));
}

} // namespace
