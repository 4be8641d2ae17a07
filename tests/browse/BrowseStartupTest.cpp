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

} // namespace
