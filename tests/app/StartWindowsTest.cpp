// The start makes only the windows its first showing needs; the others are made, wired, once,
// when first used.
#include "TestEnv.h"
#include "about/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "browse/BrowseDialog.h"
#include "dialogs/TextInputDialog.h"
#include "print/CalibrationDialog.h"
#include "print/PrintPreview.h"
#include "update/UpdateDialog.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(StartWindows, WindowsTheStartDoesNotShowAreMadeWiredAtTheirFirstUse) {
    const QString saved = QDir::currentPath();
    QDir::setCurrent(testenv::freshFolder(QStringLiteral("start-windows")));
    testenv::useLanguage(QStringLiteral("ENU"));
    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        MainWindow& main = windows.mainWindow();
        const auto count = [&main]<typename W>(W*) { return main.findChildren<W*>().size(); };
        EXPECT_EQ(count((PrintPreview*)nullptr), 0);
        EXPECT_EQ(count((CalibrationDialog*)nullptr), 0);
        EXPECT_EQ(count((BrowseDialog*)nullptr), 0);
        EXPECT_EQ(count((TextInputDialog*)nullptr), 0);
        EXPECT_EQ(count((AboutDialog*)nullptr), 0);
        EXPECT_EQ(count((UpdateDialog*)nullptr), 0);

        // Each is made once, as a child of the main window, with its callbacks in place.
        PrintPreview& preview = windows.printPreview();
        EXPECT_EQ(&windows.printPreview(), &preview);
        EXPECT_EQ(preview.parent(), &main);
        EXPECT_TRUE(preview.calibrate);
        EXPECT_TRUE(windows.calibrationDialog().printTestPage);
        UpdateDialog& update = windows.updateDialog();
        EXPECT_TRUE(update.actions.offerToSave);
        EXPECT_TRUE(update.actions.endProgram);
        windows.browseDialog();
        windows.aboutDialog();
        EXPECT_EQ(count((PrintPreview*)nullptr), 1);
        EXPECT_EQ(count((CalibrationDialog*)nullptr), 1);
        EXPECT_EQ(count((BrowseDialog*)nullptr), 1);
        EXPECT_EQ(count((TextInputDialog*)nullptr), 1) << "the browse dialog's input dialog";
        EXPECT_EQ(count((AboutDialog*)nullptr), 1);
        EXPECT_EQ(count((UpdateDialog*)nullptr), 1);
    }
    QDir::setCurrent(saved);
}
