// The browse dialog in the program: made once at start, and the options' Browse button choosing
// the data folder with it, which the next start still uses.
#include "BrowseFixture.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "browse/BrowseDialog.h"
#include "browse/FolderTree.h"
#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "platform/RegistryStore.h"
#include "settings/OptionsDialog.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(BrowseStartup, OptionsBrowseChoosesTheDataFolderForThisRunAndTheNext) {
    const QString saved = QDir::currentPath();
    const QString home = testenv::prepareWorkspace(QStringLiteral("browse-start"));
    const QString chosen = browsetest::makeFolders(home, {QStringLiteral("Covers/2024")}) +
                           QStringLiteral("Covers/2024/");
    QStringList errors;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { errors.append(text); });
    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        BrowseDialog& browse = windows.browseDialog();
        OptionsDialog& options = windows.optionsDialog();
        EXPECT_EQ(browse.parent(), static_cast<QObject*>(&windows.mainWindow()));
        const QString before = windows.workspace().dataFolder;

        QString openedAt;
        bool small = false;
        auto* poll = new QTimer(&browse);
        QObject::connect(poll, &QTimer::timeout, &browse, [&] {
            if (!browse.isVisible() || browse.folderTree->isBusy())
                return;
            poll->stop();
            openedAt = browse.folderTree->directory();
            small = !browse.showFiles();
            browse.folderTree->openPath(chosen);
            ASSERT_TRUE(browsetest::waitFor([&] { return !browse.folderTree->isBusy(); }));
            browse.okButton->click();
        });
        poll->start(20);
        options.browseButton->click();
        EXPECT_EQ(openedAt, before) << "opens at the data folder";
        EXPECT_TRUE(small) << "folders only";
        EXPECT_EQ(browse.windowTitle(), QStringLiteral("Sleevix - Path for files"));
        EXPECT_EQ(options.dataFolderEdit->text(), chosen);
        EXPECT_EQ(windows.workspace().dataFolder, chosen);
        options.okButton->click();
    }
    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        EXPECT_EQ(windows.workspace().dataFolder, chosen);
        EXPECT_EQ(windows.optionsDialog().dataFolderEdit->text(), chosen);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::setReporter(qApp, nullptr);
    QDir::setCurrent(saved);
}

// Escape while the dialog still reads a folder of 20 000 folders ends it at once; a click on
// Read Project handled in the same batch of window events (before the ended showing has
// returned) once opened the data folder as a project ("QDialog::exec: Recursive call detected",
// its -1 taken for a choice). The click now opens the dialog again as soon as it can.
TEST(BrowseStartup, EscapeWhileABigFolderIsReadEndsTheDialogAndTheNextClickWorks) {
    const QString saved = QDir::currentPath();
    const QString home = testenv::prepareWorkspace(QStringLiteral("browse-escape"));
    const QString big = home + QStringLiteral("/Big Data/");
    for (int i = 0; i < 20000; ++i)
        QDir().mkpath(big + QStringLiteral("folder %1").arg(i, 5, 10, QLatin1Char('0')));
    QStringList errors;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { errors.append(text); });
    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        BrowseDialog& browse = windows.browseDialog();
        MainWindow& main = windows.mainWindow();
        windows.workspace().dataFolder = big;
        const QString project = windows.workspace().projectFolder;

        int showings = 0;
        bool escapedWhileBusy = false, endedAtOnce = false;
        auto* poll = new QTimer(&main);
        QObject::connect(poll, &QTimer::timeout, &main, [&] {
            if (!browse.isVisible())
                return;
            if (++showings == 1) {
                escapedWhileBusy = browse.folderTree->isBusy();
                QTest::keyClick(&browse, Qt::Key_Escape);
                endedAtOnce = !browse.isVisible();
                main.readProjectButton->click(); // the quick click, in the same batch
            } else {
                browse.cancelButton->click();
                poll->stop();
            }
        });
        poll->start(1);
        main.readProjectButton->click();
        EXPECT_TRUE(browsetest::waitFor([&] { return showings == 2 && !browse.isVisible(); }))
            << "the second click opened the dialog";
        EXPECT_TRUE(escapedWhileBusy);
        EXPECT_TRUE(endedAtOnce);
        EXPECT_EQ(windows.workspace().projectFolder, project) << "no project opened";
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::setReporter(qApp, nullptr);
    QDir::setCurrent(saved);
}

} // namespace
