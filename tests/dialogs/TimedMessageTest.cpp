#include "dialogs/TimedMessage.h"

#include "DialogTestUtil.h"
#include "dialogs/DialogGeometry.h"

#include <QFontMetrics>
#include <QTextEdit>
#include <QTimer>
#include <climits>
#include <gtest/gtest.h>

using dialogtest::WaitUntil;

namespace {

int Width(const TimedMessage& form, const QString& text) {
    return QFontMetrics(form.messageText->font()).horizontalAdvance(text);
}

TEST(TimedMessage, BothLinesSizeAndTextFollowTheLongerLine) {
    TimedMessage form;
    const QString a = QStringLiteral("The project Demo");
    const QString b = QStringLiteral("saved.");
    form.showTimed(QRect(100, 100, 800, 600), a, b, 5000);
    EXPECT_EQ(form.messageText->toPlainText(), "\n" + a + "\n" + b);
    EXPECT_EQ(form.width(), Width(form, a) + 50);
    EXPECT_EQ(form.height(), 7 * 11) << "three lines plus four, at 11 points";
    EXPECT_EQ(form.messageText->geometry(), form.rect()) << "the text fills the window";
    // Centred over the 800 x 600 caller at (100, 100).
    const QRect outer = form.frameGeometry();
    EXPECT_EQ(outer.left(), (800 - outer.width()) / 2 + 100);
    EXPECT_EQ(outer.top(), (600 - outer.height()) / 2 + 100);
}

TEST(TimedMessage, EmptyFirstLineThenOnlyTheLinesGiven) {
    TimedMessage form;
    form.showTimed(QRect(0, 0, 800, 600), QString(), "No files found.", 5000);
    EXPECT_EQ(form.messageText->toPlainText(), "\nNo files found.");
    EXPECT_EQ(form.height(), 6 * 11);

    form.showTimed(QRect(0, 0, 800, 600), "Browser not opened.", QString(), 5000);
    EXPECT_EQ(form.messageText->toPlainText(), "\nBrowser not opened.");

    form.showTimed(QRect(0, 0, 800, 600), QString(), QString(), 5000);
    EXPECT_EQ(form.messageText->toPlainText(), "");
    EXPECT_EQ(form.width(), 50) << "an empty measured line";
    EXPECT_EQ(form.height(), 5 * 11);
}

TEST(TimedMessage, LongLinesWrapInAWindowFiveHundredWide) {
    TimedMessage form;
    const QString longLine = QStringLiteral(
        "Maak eerst de inhoudsopgave voor de achterzijde aan, en bewaar daarna het project. ");
    ASSERT_GT(Width(form, longLine), 500);
    form.showTimed(QRect(0, 0, 800, 600), longLine, QString(), 5000);
    EXPECT_EQ(form.width(), 500);
    EXPECT_GT(form.height(), 6 * 11) << "the wrapped line counts as two";

    // Several thousand characters: capped at the screen height less 200.
    const QString huge = longLine.repeated(120);
    form.showTimed(QRect(0, 0, 800, 600), huge, huge, 5000);
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    EXPECT_EQ(form.width(), 500);
    EXPECT_EQ(form.height(), screenHeight - 200);
}

TEST(TimedMessage, ClosesItselfAfterItsInterval) {
    TimedMessage form;
    form.showTimed(QRect(0, 0, 800, 600), "Saved.", QString(), 60);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(WaitUntil([&] { return !form.isVisible(); }, 5000));
    EXPECT_FALSE(form.closeTimer->isActive());

    // Shown again later, it counts again from the new showing.
    form.showTimed(QRect(0, 0, 800, 600), "Saved again.", QString(), 60);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(WaitUntil([&] { return !form.isVisible(); }, 5000));
}

TEST(TimedMessage, TheSameIntervalKeepsTheRunningCountAnotherRestartsIt) {
    TimedMessage form;
    form.showTimed(QRect(0, 0, 800, 600), "First", QString(), 5000);
    ASSERT_TRUE(WaitUntil([&] { return form.closeTimer->remainingTime() <= 4800; }, 5000));

    // Same interval: the second message closes when the first would have.
    form.showTimed(QRect(0, 0, 800, 600), "Second", QString(), 5000);
    EXPECT_EQ(form.messageText->toPlainText(), "\nSecond");
    EXPECT_LE(form.closeTimer->remainingTime(), 4800);

    // Another interval: the count starts again from this call.
    form.showTimed(QRect(0, 0, 800, 600), "Third", QString(), 10000);
    EXPECT_GT(form.closeTimer->remainingTime(), 9000);
    EXPECT_TRUE(form.isVisible());
}

TEST(TimedMessage, ZeroOrNegativeIntervalClosesAtOnce) {
    for (int interval : {0, -1, INT_MIN}) {
        TimedMessage form;
        form.showTimed(QRect(0, 0, 800, 600), "Gone", QString(), interval);
        EXPECT_TRUE(WaitUntil([&] { return !form.isVisible(); }, 2000)) << interval;
    }
}

TEST(TimedMessage, CallerFarOffScreenDoesNotHurt) {
    TimedMessage form;
    form.showTimed(QRect(QPoint(INT_MIN, INT_MAX), QPoint(INT_MAX, INT_MAX)), "Far", "away", 5000);
    EXPECT_TRUE(form.isVisible());
    form.showTimed(QRect(-100000, -100000, 10, 10), "Far", "away", 5000);
    EXPECT_EQ(form.frameGeometry().left(), (10 - form.frameGeometry().width()) / 2 - 100000);
}

TEST(TimedMessage, TakesTheMainWindowsColour) {
    QWidget main;
    QPalette pal = main.palette();
    pal.setColor(QPalette::Window, QColor(240, 250, 255));
    main.setPalette(pal);
    TimedMessage form(&main);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(240, 250, 255));

    TimedMessage plain;
    EXPECT_EQ(plain.palette().color(QPalette::Window), QColor(Qt::white));
    form.showTimed(QRect(0, 0, 800, 600), "Colour", QString(), 5000);
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(shot.width() / 2, 5)).rgb(), QColor(240, 250, 255).rgb());
}

} // namespace
