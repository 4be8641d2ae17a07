#include "StoreFixture.h"
#include "dialogs/ErrorGuard.h"
#include "settings/OptionsDialog.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class ReviewOptionsPlace : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ErrorGuard::setReporter(qApp, [](const QString&) {});
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        StoreTest::TearDown();
    }
};

// The options window is modal: opened where no screen is, it blocks the program out of the
// user's reach (a place stored while a second screen was attached). Such a place falls back to
// the default; a place on the screen is kept.
TEST_F(ReviewOptionsPlace, AStoredPlaceOffEveryScreenFallsBack) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const struct {
        int left, top;
        QPoint expected;
    } rows[] = {
        {screen.right() + 4000, 150, QPoint(100, 100)},
        {120, screen.bottom() + 4000, QPoint(100, 100)},
        {-30000, 150, QPoint(100, 150)}, // a negative place is 100 before anything else
        {130, 140, QPoint(130, 140)},
    };
    for (const auto& row : rows) {
        writeStore(QStringLiteral("[Defaults]\nOptionsLeft=%1\nOptionsTop=%2\n")
                       .arg(row.left)
                       .arg(row.top)
                       .toUtf8());
        OptionsDialog form(ws_);
        EXPECT_EQ(form.pos(), row.expected) << row.left << ", " << row.top;
    }
}

} // namespace
