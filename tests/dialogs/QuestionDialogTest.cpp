#include "dialogs/QuestionDialog.h"

#include "DialogTestUtil.h"
#include "controls/ColourButton.h"
#include "dialogs/DialogGeometry.h"

#include <QFontMetrics>
#include <QFrame>
#include <QTextEdit>
#include <cmath>
#include <gtest/gtest.h>

using dialogtest::AskYesNo;
using dialogtest::WhenShown;

namespace {

const QString Question = QStringLiteral("Wilt u het huidige project bewaren?");

// What the dialog looked like while it was showing.
struct Seen {
    QRect window; // client size at the window's position
    QRect frame;  // outer rectangle
    QRect panel, memo, yes, no, cancel;
    bool cancelShown = false;
    QWidget* focus = nullptr;
    QString title, memoText;
};

Seen Look(QuestionDialog& dlg) {
    Seen s;
    s.window = QRect(dlg.pos(), dlg.size());
    s.frame = dlg.frameGeometry();
    s.panel = dlg.messagePanel->geometry();
    s.memo = dlg.messageText->geometry();
    s.yes = dlg.yesButton->geometry();
    s.no = dlg.noButton->geometry();
    s.cancel = dlg.cancelButton->geometry();
    s.cancelShown = dlg.cancelButton->isVisible();
    s.focus = dlg.focusWidget();
    s.title = dlg.windowTitle();
    s.memoText = dlg.messageText->toPlainText();
    return s;
}

// Asks over a 1000 x 800 caller at the screen's corner; presses `press` once the dialog shows.
bool AskAndPress(QuestionDialog& dlg, ColourButton* press, bool& cancel, Seen* seen = nullptr,
                 const QString& message = Question, bool defaultYes = true) {
    WhenShown(&dlg, [&] {
        if (seen)
            *seen = Look(dlg);
        press->click();
    });
    return AskYesNo(dlg, 0, 0, 800, 1000, QStringLiteral("Sleevix"), message, QStringLiteral("Ja"),
                    QStringLiteral("Nee"), QStringLiteral("Annuleren"), defaultYes, cancel);
}

TEST(QuestionDialog, OneLineQuestionLayoutAndPlace) {
    QuestionDialog dlg;
    bool cancel = true;
    Seen s;
    EXPECT_TRUE(AskAndPress(dlg, dlg.yesButton, cancel, &s));
    EXPECT_EQ(s.title, "Sleevix");
    EXPECT_EQ(s.memoText, Question);
    // 14-pixel Verdana is 11 points: memo 2 x 18, panel 51, buttons at 78, client 400 x 128.
    EXPECT_EQ(s.memo, QRect(8, 7, 352, 36));
    EXPECT_EQ(s.panel, QRect(16, 10, 368, 51));
    EXPECT_EQ(s.yes, QRect(16, 78, 111, 30));
    EXPECT_EQ(s.cancel, QRect(144, 78, 111, 30));
    EXPECT_EQ(s.no, QRect(274, 78, 110, 30));
    EXPECT_TRUE(s.cancelShown);
    EXPECT_EQ(s.window.size(), QSize(400, 128));
    // The outer window, final height included, centred over the 1000 x 800 caller.
    EXPECT_EQ(s.frame.top(), (800 - s.frame.height()) / 2);
    EXPECT_EQ(s.frame.left(), (1000 - s.frame.width()) / 2);
    EXPECT_LT(s.frame.height() - 128, 40) << "the frame is no more than a title bar";
    EXPECT_EQ(s.focus, dlg.yesButton);
    EXPECT_EQ(400 - s.no.right() - 1, 16) << "No keeps the same margin as Yes";
    EXPECT_FALSE(dlg.isVisible()) << "hidden again after the answer";
}

struct OutcomeCase {
    const char* name;
    int button; // 0 yes, 1 no, 2 cancel
    bool result;
    bool cancel;
};

class QuestionOutcome : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(QuestionOutcome, EachButtonGivesItsAnswer) {
    QuestionDialog dlg;
    ColourButton* buttons[] = {dlg.yesButton, dlg.noButton, dlg.cancelButton};
    // Twice, so that an answer from an earlier call cannot leak into the next.
    for (int round = 0; round < 2; ++round) {
        bool cancel = true;
        EXPECT_EQ(AskAndPress(dlg, buttons[GetParam().button], cancel), GetParam().result);
        EXPECT_EQ(cancel, GetParam().cancel);
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, QuestionOutcome,
                         ::testing::Values(OutcomeCase{"Yes", 0, true, false},
                                           OutcomeCase{"No", 1, false, false},
                                           OutcomeCase{"Cancel", 2, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuestionDialog, WithoutCancelOnlyYesAndNoEndIt) {
    QuestionDialog dlg;
    bool cancel = false;
    bool escapeIgnored = false;
    Seen s;
    WhenShown(&dlg, [&] {
        s = Look(dlg);
        dlg.reject(); // Escape: nothing to cancel, the question stays
        escapeIgnored = dlg.isVisible();
        dlg.noButton->click();
    });
    EXPECT_FALSE(
        AskYesNo(dlg, 0, 0, 800, 1000, "Sleevix", Question, "Yes", "No", "Cancel", false, cancel));
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(s.cancelShown);
    EXPECT_TRUE(escapeIgnored);
    EXPECT_EQ(s.focus, dlg.noButton) << "default No: No has the focus";
}

TEST(QuestionDialog, EscapeWithCancelShownIsCancel) {
    QuestionDialog dlg;
    bool cancel = true;
    WhenShown(&dlg, [&] { dlg.reject(); });
    EXPECT_FALSE(
        AskYesNo(dlg, 0, 0, 800, 1000, "Sleevix", Question, "Yes", "No", "Cancel", true, cancel));
    EXPECT_TRUE(cancel);
}

TEST(QuestionDialog, CarriageReturnStartsANewLine) {
    QuestionDialog dlg;
    bool cancel = true;
    Seen s;
    AskAndPress(dlg, dlg.noButton, cancel, &s, QStringLiteral("first\rsecond"));
    EXPECT_EQ(s.memoText, "first\nsecond");
    EXPECT_EQ(s.memo.height(), 54);
    EXPECT_EQ(s.yes.top(), 54 + 15 + 27);
    EXPECT_EQ(s.window.height(), 96 + 30 + 20);

    // A line feed after the carriage return does not add a line of its own.
    QuestionDialog dlg2;
    AskAndPress(dlg2, dlg2.noButton, cancel, &s, QStringLiteral("first\r\nsecond"));
    EXPECT_EQ(s.memoText, "first\nsecond");
    EXPECT_EQ(s.memo.height(), 54);
}

TEST(QuestionDialog, LongQuestionWidensWrapsAndNeverNarrowsAgain) {
    QuestionDialog dlg;
    const QString longQuestion =
        QStringLiteral("Het project bevat wijzigingen die nog niet zijn bewaard. ").repeated(6);
    const int measured = QFontMetrics(dlg.font()).horizontalAdvance(longQuestion);
    const int panel = DialogGeometry::roundHalfEven(std::sqrt(double(measured)) * 10);
    ASSERT_GT(panel, 368);
    bool cancel = true;
    Seen s;
    QSizeF textSize;
    WhenShown(&dlg, [&] {
        s = Look(dlg);
        textSize = dlg.messageText->document()->size();
        dlg.yesButton->click();
    });
    AskYesNo(dlg, 0, 0, 800, 1000, "Sleevix", longQuestion, "Ja", "Nee", "Annuleren", true, cancel);
    EXPECT_EQ(s.panel.width(), panel);
    EXPECT_EQ(s.window.width(), panel + 32);
    EXPECT_EQ(s.no.right() + 1, panel + 32 - 16) << "No keeps its margin on the right";
    EXPECT_EQ(s.cancel.left(), (panel + 32 - 111) / 2);
    EXPECT_GT(s.memo.height(), 36) << "wrapped over several lines";
    EXPECT_LE(textSize.height(), s.memo.height()) << "every wrapped line fits";
    EXPECT_LE(textSize.width(), s.memo.width() + 1);

    // A short question later in the run keeps the width.
    AskAndPress(dlg, dlg.yesButton, cancel, &s);
    EXPECT_EQ(s.panel.width(), panel);
}

TEST(QuestionDialog, EveryQuestionGetsItsOwnHeightPlaceAndFocus) {
    QuestionDialog dlg;
    bool cancel = true;
    Seen first, second;
    AskAndPress(dlg, dlg.yesButton, cancel, &first);
    WhenShown(&dlg, [&] {
        second = Look(dlg);
        dlg.noButton->click();
    });
    cancel = true;
    AskYesNo(dlg, 500, 500, 100, 100, "Sleevix", QStringLiteral("a\rb\rc"), "Ja", "Nee",
             "Annuleren", false, cancel);
    EXPECT_EQ(second.memo.height(), 4 * 18) << "three lines are not cut to the first one";
    EXPECT_EQ(second.window.width(), first.window.width());
    EXPECT_EQ(second.frame.top(), 500 + (100 - second.frame.height()) / 2) << "over the new caller";
    EXPECT_EQ(second.frame.left(), 500 + (100 - second.frame.width()) / 2);
    EXPECT_EQ(second.focus, dlg.noButton) << "the new default answer has the focus";
}

TEST(QuestionDialog, EmptyAndHugeMessagesFollowTheRules) {
    QuestionDialog dlg;
    bool cancel = true;
    Seen s;
    AskAndPress(dlg, dlg.yesButton, cancel, &s, QString());
    EXPECT_EQ(s.memoText, "");
    EXPECT_EQ(s.window.size(), QSize(400, 128)) << "one empty line";

    QuestionDialog big;
    const QString huge = QStringLiteral("Lorem ipsum dolor sit amet. ").repeated(200);
    const int measured = QFontMetrics(big.font()).horizontalAdvance(huge);
    AskAndPress(big, big.noButton, cancel, &s, huge);
    EXPECT_EQ(s.panel.width(), DialogGeometry::roundHalfEven(std::sqrt(double(measured)) * 10));
    EXPECT_GT(s.window.height(), 128);
}

} // namespace
