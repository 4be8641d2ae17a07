#include "platform/RegistryStore.h"
#include "print/Print.h"
#include "settings/Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

// The preview is modal: shown where no screen is, it blocks the program out of the user's
// reach. A stored place that no screen shows falls back to the default.
TEST(ReviewPrintForm, AStoredPlaceOffEveryScreenFallsBack) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const struct {
        int left, top;
        QPoint expected;
    } rows[] = {
        {-20000, 100, QPoint(200, 100)},
        {screen.right() + 5000, 140, QPoint(200, 100)},
        {150, screen.bottom() + 3000, QPoint(200, 100)},
        {250, 120, QPoint(250, 120)}, // on the screen: kept
    };
    for (const auto& row : rows) {
        {
            RegistryStore store;
            store.WriteInteger(SettingsSection, QStringLiteral("PrintLeft"), row.left);
            store.WriteInteger(SettingsSection, QStringLiteral("PrintTop"), row.top);
        }
        TPrintForm form;
        form.show();
        EXPECT_EQ(form.pos(), row.expected) << row.left << ", " << row.top;
        form.hide();
    }
}

} // namespace
