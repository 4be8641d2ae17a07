// A new user's whole road through the program, without a screen: start, New Project, a front
// photo chosen in the browse dialog, a track list written and copied to the back, the spine
// text typed and applied, Save Project; quit; start again and find the project as saved; Read
// Project back to the sample and forth again.
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "browse/BrowseDialog.h"
#include "browse/FileListModel.h"
#include "browse/FolderTree.h"
#include "controls/ColourButton.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/DialogTestUtil.h"
#include "dialogs/ErrorGuard.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString storedProjectName() {
    return RegistryStore().readString(SettingsSection, QStringLiteral("Project Name"), {});
}

bool waitFor(const std::function<bool()>& condition) {
    return dialogtest::WaitUntil(condition, 20000);
}

// Once the browse dialog stands, opens the tree at folder, clicks the file (when one is named)
// and OK, as a user would.
void chooseInBrowseDialog(BrowseDialog& browse, const QString& folder, const QString& file) {
    auto* poll = new QTimer(&browse);
    QObject::connect(poll, &QTimer::timeout, &browse, [&browse, poll, folder, file] {
        if (!browse.isVisible() || browse.folderTree->isBusy())
            return;
        poll->stop();
        poll->deleteLater();
        browse.folderTree->openPath(folder);
        ASSERT_TRUE(waitFor([&] {
            return !browse.folderTree->isBusy() && browse.folderTree->directory() == folder;
        }));
        if (!file.isEmpty()) {
            const auto rowOf = [&] {
                for (int row = 0; row < browse.files->count(); ++row)
                    if (browse.files->nameAt(row) == file)
                        return row;
                return -1;
            };
            ASSERT_TRUE(waitFor([&] { return rowOf() >= 0; }));
            QTest::mouseClick(browse.fileList->viewport(), Qt::LeftButton, {},
                              browse.fileList->visualRect(browse.files->index(rowOf())).center());
        }
        browse.okButton->click();
    });
    poll->start(20);
}

void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

TEST(CoverJourney, MakeSaveQuitStartAgainAndReadProjectsBackAndForth) {
    const QString saved = QDir::currentPath();
    const QString home = testenv::prepareWorkspace(QStringLiteral("journey"));
    QStringList errors;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { errors.append(text); });

    // A holiday photo of the user's own.
    const QString photos = home + QStringLiteral("/Photos/");
    QDir().mkpath(photos);
    QImage photo(900, 600, QImage::Format_RGB32);
    photo.fill(QColor(240, 140, 20));
    ASSERT_TRUE(photo.save(photos + "holiday.jpg", "JPEG"));
    const QByteArray photoBytes = contents(photos + "holiday.jpg");

    const QString name = QStringLiteral("Velmora - Summer Nights 2026");
    QString folder;
    QImage savedBack;
    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        MainWindow& main = windows.mainWindow();
        main.show();
        main.handleShow();
        const QString sample = windows.workspace().projectFolder;
        ASSERT_EQ(main.spineTextEdit->text(), DefaultProjectName);

        main.newProjectButton->click();
        EXPECT_TRUE(main.spineTextEdit->text().isEmpty());

        chooseInBrowseDialog(windows.browseDialog(), photos, QStringLiteral("holiday.jpg"));
        main.readFrontPictureButton->click();
        BrowseDialog& browse = windows.browseDialog();
        EXPECT_EQ(browse.windowTitle(), "Sleevix - Select the picture for the front");
        EXPECT_EQ(browse.headingLabel->text(), "Select the Path for the Files.\nand Click OK.");
        EXPECT_TRUE(browse.showFiles());
        EXPECT_EQ(windows.cover().frontPicture().originalBytes(), photoBytes);
        EXPECT_EQ(QColor(windows.cover().canvas().pixel(420, 300)).red(), 240);

        main.backTextButton->click();
        BackTextEditor& back = windows.backTextEditor();
        ASSERT_TRUE(back.isVisible());
        back.editor->setFocus();
        QTest::keyClicks(back.editor, name);
        QTest::keyClick(back.editor, Qt::Key_Return);
        QTest::keyClicks(back.editor, QStringLiteral("1. Harbour Lights"));
        back.copyButton->click();
        EXPECT_FALSE(back.isVisible());
        EXPECT_EQ(main.spineTextEdit->text(), name) << "the list's first line";

        typeInto(main.spineTextEdit, name);
        main.applySpineTextButton->click();
        main.saveProjectButton->click();
        folder = windows.workspace().dataFolder + name + u'/';
        EXPECT_EQ(windows.workspace().projectFolder, folder);
        EXPECT_FALSE(windows.workspace().hasUnsavedChanges());
        EXPECT_EQ(storedProjectName(), name) << "recorded at the save, for an export beside";
        savedBack = windows.cover().backPicture().image();

        EXPECT_TRUE(main.close()) << "nothing unsaved: no question";
        ASSERT_TRUE(sample.contains(DefaultProjectName));
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{"Back.bmp", "Back.rtf", "Front.jpg"}));
    EXPECT_EQ(contents(folder + "Front.jpg"), photoBytes) << "the photo's own bytes";

    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        MainWindow& main = windows.mainWindow();
        main.show();
        main.handleShow();
        EXPECT_EQ(windows.workspace().projectName, name);
        EXPECT_EQ(main.spineTextEdit->text(), name);
        EXPECT_EQ(windows.cover().frontPicture().originalBytes(), photoBytes);
        EXPECT_EQ(windows.cover().backPicture().image().convertToFormat(QImage::Format_RGB32),
                  savedBack.convertToFormat(QImage::Format_RGB32));
        EXPECT_TRUE(windows.backTextEditor().editor->toPlainText().contains("Harbour Lights"));
        EXPECT_FALSE(windows.workspace().hasUnsavedChanges());

        // Back to the sample, and forth again.
        const QString data = windows.workspace().dataFolder;
        chooseInBrowseDialog(windows.browseDialog(), data + DefaultProjectName + u'/', QString());
        main.readProjectButton->click();
        EXPECT_EQ(windows.browseDialog().windowTitle(), "Sleevix - Path for files");
        EXPECT_FALSE(windows.browseDialog().showFiles()) << "a folder is chosen";
        EXPECT_EQ(main.spineTextEdit->text(), DefaultProjectName);
        EXPECT_EQ(windows.workspace().projectFolder, data + DefaultProjectName + u'/');
        EXPECT_EQ(storedProjectName(), DefaultProjectName) << "recorded when read";
        EXPECT_NE(windows.cover().frontPicture().originalBytes(), photoBytes);
        EXPECT_FALSE(windows.workspace().hasUnsavedChanges());

        chooseInBrowseDialog(windows.browseDialog(), folder, QString());
        main.readProjectButton->click();
        EXPECT_EQ(main.spineTextEdit->text(), name);
        EXPECT_EQ(windows.cover().frontPicture().originalBytes(), photoBytes);
        EXPECT_TRUE(windows.backTextEditor().editor->toPlainText().contains("Harbour Lights"));
        EXPECT_TRUE(main.close());
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::setReporter(qApp, nullptr);
    QDir::setCurrent(saved);
}

// Quitting writes the settings file only when something in it changed: a start and a quit
// after a start that stored everything leave the file as it was, not even rewritten alike.
TEST(CoverJourney, QuitWithNothingChangedLeavesTheSettingsFileUntouched) {
    const QString saved = QDir::currentPath();
    testenv::prepareWorkspace(QStringLiteral("quiet-quit"));
    QStringList errors;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { errors.append(text); });
    const QByteArray file = QFile::encodeName(RegistryStore::defaultLocation());
    struct stat before {}, after {};
    for (int run = 0; run < 3; ++run) {
        {
            ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
            windows.mainWindow().show();
            windows.mainWindow().handleShow();
            EXPECT_TRUE(windows.mainWindow().close());
        }
        ASSERT_EQ(::stat(file.constData(), run == 0 ? &before : &after), 0) << run;
    }
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::setReporter(qApp, nullptr);
    QDir::setCurrent(saved);
}

} // namespace
