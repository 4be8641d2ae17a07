// The browse dialog as a caller and a user meet it: where it opens, what OK, Cancel and a double
// click give, its two modes and their places in the store, the file list, the drive list and
// making a new folder.
#include "browse/BrowseDialog.h"
#include "BrowseFixture.h"
#include "browse/FileListModel.h"
#include "browse/FolderScanner.h"
#include "browse/FolderTree.h"
#include "browse/FolderTreeModel.h"
#include "controls/ColourButton.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using browsetest::makeFile;
using browsetest::makeFolders;
using browsetest::waitFor;
using dialogtest::WhenShown;

namespace {

class BrowseDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", testenv::freshFolder("store").toUtf8());
        root_ = makeFolders(testenv::freshFolder("disk"),
                            {"Data/Covers/2002", "Data/Empty", "Other", "stick/Photos"});
        for (const char* f : {"Data/b.JPG", "Data/a.jpg", "Data/c.bmp", "Data/notes.txt"})
            makeFile(root_ + f);
        stick_ = root_ + "stick/";
        drives_ = {{u'C', root_, Drives::Fixed, ""},
                   {u'D', stick_, Drives::Removable, "USB-STICK"}};
        ErrorGuard::setReporter(qApp, [this](const QString& m) { errors_ << m; });
        dialog_ =
            std::make_unique<BrowseDialog>(input_, message_, nullptr, [this] { return drives_; });
    }
    void TearDown() override {
        dialog_.reset();
        ErrorGuard::setReporter(qApp, nullptr);
        EXPECT_TRUE(errors_.isEmpty()) << errors_.join(" | ").toStdString();
    }

    // Shows the dialog modally, runs the steps once it stands with its tree opened, and gives
    // the result it ended with.
    int run(const QString& start, bool files, const std::function<void()>& steps) {
        dialog_->setFolderPath(start);
        dialog_->setShowFiles(files);
        WhenShown(dialog_.get(), [this, steps] {
            EXPECT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
            if (dialog_->showFiles())
                waitForFiles();
            steps();
            if (dialog_->isVisible())
                dialog_->cancelButton->click();
        });
        return dialog_->exec();
    }

    void waitForFiles() {
        // The file list follows the tree; a listing shows within a moment.
        waitFor([this] { return false; }, 150);
    }

    // Answers the next question of the input dialog.
    void answerNextQuestion(const QString& text, bool ok = true) {
        WhenShown(&input_, [this, text, ok] {
            ASSERT_TRUE(waitFor([this] { return input_.isVisible(); }));
            input_.answerEdit->setText(text);
            (ok ? input_.okButton : input_.cancelButton)->click();
        });
    }

    // Closes the next message box once it stands (looking every 10 ms, so that the modal windows
    // before it can open and close meanwhile) and puts its caption and text in seen.
    void closeNextMessageBox(QStringList& seen) {
        auto* poll = new QTimer(dialog_.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen << box->windowTitle() << box->text();
                box->accept();
                poll->deleteLater();
                poll->stop();
            }
        });
        poll->start(10);
    }

    QStringList entriesOfDriveList() const {
        QStringList entries;
        for (int i = 0; i < dialog_->driveList->count(); ++i)
            entries << dialog_->driveList->itemText(i);
        return entries;
    }

    QStringList fileNames() const {
        QStringList names;
        for (int i = 0; i < dialog_->files->count(); ++i)
            names << dialog_->files->index(i).data().toString();
        return names;
    }

    static int stored(const char* name) {
        RegistryStore store;
        return store.readInteger(SettingsSection, QString::fromLatin1(name), -12345);
    }

    static bool waitFor(const std::function<bool()>& condition, int ms = 20000) {
        return dialogtest::WaitUntil(condition, ms);
    }

    QString root_;
    QString stick_;
    QList<Drives::Drive> drives_;
    QStringList errors_;
    TextInputDialog input_;
    TimedMessage message_;
    std::unique_ptr<BrowseDialog> dialog_;
};

TEST_F(BrowseDialogTest, ChoosesAFolderInTheSmallMode) {
    dialog_->setHeading("Select the Path for the Files\r\nen klik op OK.");
    const int result = run(root_ + "Data/Covers", false, [this] {
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Data/Covers/");
        EXPECT_EQ(dialog_->folderPath(), root_ + "Data/Covers/");
        EXPECT_EQ(dialog_->directoryPanel->text(), root_ + "Data/Covers/");
        EXPECT_EQ(dialog_->headingLabel->text(), "Select the Path for the Files\nen klik op OK.");
        EXPECT_FALSE(dialog_->fileList->isVisible());
        EXPECT_FALSE(dialog_->countLabel->isVisible());
        EXPECT_EQ(dialog_->treePanel->width(), dialog_->splitter->width());
        // The buttons share the width in three equal gaps.
        const int gap = dialog_->okButton->x();
        EXPECT_EQ(dialog_->cancelButton->x(), gap + 110 + gap);
        EXPECT_EQ(entriesOfDriveList(),
                  (QStringList{root_.chopped(1) + " []", stick_.chopped(1) + " [usb-stick]"}));
        EXPECT_EQ(dialog_->driveList->currentIndex(), 0);
        EXPECT_TRUE(dialog_->folderTree->hasFocus());

        // Moving with the keyboard: the folder follows.
        QTest::keyClick(dialog_->folderTree->viewport(), Qt::Key_Up);
        EXPECT_EQ(dialog_->folderPath(), root_ + "Data/");
        dialog_->okButton->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog_->folderPath(), root_ + "Data/");
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(BrowseDialogTest, CancelGivesBackTheStartPath) {
    const int result = run(root_ + "Data/Nothing/", false, [this] {
        // A start folder that does not exist: the tree opens as far as it does.
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Data/");
        dialog_->folderTree->openPath(root_ + "Other");
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        EXPECT_EQ(dialog_->folderPath(), root_ + "Other/");
        dialog_->cancelButton->click();
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(dialog_->folderPath(), root_ + "Data/Nothing/");

    // Escape is Cancel too.
    dialog_->setInitialized(false);
    EXPECT_EQ(run(root_ + "Other", false,
                  [this] { QTest::keyClick(dialog_->folderTree, Qt::Key_Escape); }),
              2);
    EXPECT_EQ(dialog_->folderPath(), root_ + "Other");

    // No start path: the first drive.
    dialog_->setInitialized(false);
    run(QString(), false, [this] {
        EXPECT_EQ(dialog_->folderTree->directory(), root_);
        EXPECT_EQ(dialog_->driveList->currentIndex(), 0);
    });
    EXPECT_EQ(dialog_->folderPath(), root_);
}

TEST_F(BrowseDialogTest, ALaterShowingFindsTheWindowAsItWasLeft) {
    run(root_ + "Data", false, [this] {
        dialog_->folderTree->openPath(root_ + "Other");
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        dialog_->okButton->click();
    });
    // Not initialised afresh: the tree stays where it was, whatever the new start path.
    run(root_ + "Data/Covers", false, [this] {
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Other/");
        dialog_->okButton->click();
    });
    EXPECT_EQ(dialog_->folderPath(), root_ + "Other/");
    // Another mode always opens afresh: a folder-only caller never gets a file name.
    run(root_ + "Data", true, [this] {
        EXPECT_TRUE(dialog_->fileList->isVisible());
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Data/");
        dialog_->cancelButton->click();
    });
}

TEST_F(BrowseDialogTest, LargeModeChoosesAFileThatMatchesTheMask) {
    dialog_->setFileMask("*.jpg; *.bmp; *.gif");
    const int result = run(root_ + "Data", true, [this] {
        EXPECT_TRUE(dialog_->fileList->isVisible());
        EXPECT_EQ(fileNames(), (QStringList{"a.jpg", "b.JPG", "c.bmp"}));
        EXPECT_EQ(dialog_->countLabel->text(), "  3 bestanden");
        const int gap = dialog_->okButton->x() - dialog_->countLabel->width();
        EXPECT_EQ(dialog_->cancelButton->x(), dialog_->okButton->x() + 110 + gap);
        // A click shows the file under the tree.
        const QModelIndex b = dialog_->files->index(1);
        QTest::mouseClick(dialog_->fileList->viewport(), Qt::LeftButton, {},
                          dialog_->fileList->visualRect(b).center());
        EXPECT_EQ(dialog_->directoryPanel->text(), root_ + "Data/b.JPG");
        dialog_->okButton->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog_->folderPath(), root_ + "Data/b.JPG");
    EXPECT_FALSE(dialog_->wasDoubleClicked());

    // No file chosen: the first.
    run(root_ + "Data", true, [this] {
        dialog_->fileList->setCurrentIndex(QModelIndex());
        dialog_->okButton->click();
    });
    EXPECT_EQ(dialog_->folderPath(), root_ + "Data/a.jpg");

    // A double click chooses at once.
    const int doubled = run(root_ + "Data", true, [this] {
        const QPoint c = dialog_->fileList->visualRect(dialog_->files->index(2)).center();
        // A widget's double click comes after the first click of the pair.
        QTest::mouseClick(dialog_->fileList->viewport(), Qt::LeftButton, {}, c);
        QTest::mouseDClick(dialog_->fileList->viewport(), Qt::LeftButton, {}, c);
    });
    EXPECT_EQ(doubled, 1);
    EXPECT_TRUE(dialog_->wasDoubleClicked());
    EXPECT_EQ(dialog_->folderPath(), root_ + "Data/c.bmp");
}

TEST_F(BrowseDialogTest, TheFileListFollowsTheTreeAndAnEmptyOneIsNoChoice) {
    dialog_->setFileMask("*.*");
    const int result = run(root_ + "Data", true, [this] {
        EXPECT_EQ(dialog_->files->count(), 4);
        // The keyboard moves the tree and the file list goes along.
        QTest::keyClick(dialog_->folderTree->viewport(), Qt::Key_Down);
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Data/Covers/");
        ASSERT_TRUE(waitFor([this] { return dialog_->countLabel->text() == "  0 bestanden"; }));
        EXPECT_EQ(dialog_->files->count(), 0);
        // OK with nothing to choose: told so, and the window stays for another folder.
        dialog_->okButton->click();
        EXPECT_TRUE(dialog_->isVisible());
        EXPECT_TRUE(message_.isVisible());
        EXPECT_TRUE(message_.messageText->toPlainText().contains("No files found."));
        message_.closeMessage();
        dialog_->cancelButton->click();
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(dialog_->folderPath(), root_ + "Data");
}

// A folder of 20 000 files arrives in many batches: the list keeps every one of them, in order,
// and the file chosen while the rest still came in stays chosen. (A fault once kept only the
// last batch.)
TEST_F(BrowseDialogTest, TheFileListKeepsEveryBatchOfABigFolder) {
    const QString big = root_ + "Big/";
    QDir().mkpath(big);
    QStringList expected;
    for (int i = 0; i < 20000; ++i) {
        expected << QStringLiteral("photo %1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile(big + expected.last()).open(QIODevice::WriteOnly);
    }
    for (FolderScanner* scanner : dialog_->findChildren<FolderScanner*>())
        scanner->setBatchInterval(0);
    int batches = 0;
    QString chosen;
    QObject::connect(dialog_->files, &QAbstractItemModel::rowsInserted, dialog_.get(), [&] {
        if (++batches == 2) {
            chosen = dialog_->files->nameAt(dialog_->files->count() / 2);
            dialog_->fileList->setCurrentIndex(dialog_->files->index(dialog_->files->count() / 2));
        }
    });
    dialog_->setFileMask("*.jpg");
    run(big, true, [&] {
        ASSERT_TRUE(waitFor([&] { return dialog_->countLabel->text() == "  20000 bestanden"; }));
        EXPECT_GT(batches, 5);
        QStringList names;
        for (int i = 0; i < dialog_->files->count(); ++i)
            names << dialog_->files->nameAt(i);
        EXPECT_EQ(names, expected);
        ASSERT_FALSE(chosen.isEmpty());
        EXPECT_EQ(dialog_->files->nameAt(dialog_->fileList->currentIndex().row()), chosen);
        dialog_->okButton->click();
    });
    EXPECT_EQ(dialog_->folderPath(), big + chosen);
}

TEST_F(BrowseDialogTest, EachModeKeepsItsPlace) {
    {
        RegistryStore store;
        store.writeInteger(SettingsSection, "Browse Small Top", -20);
        store.writeInteger(SettingsSection, "Browse Small Left", 40);
        store.writeInteger(SettingsSection, "Browse Large Left", 90000); // a screen that is gone
        store.writeInteger(SettingsSection, "Browse Large Top", 100);
        store.writeInteger(SettingsSection, "Browse Splitter", 150);
        store.flush();
    }
    run(root_, false, [this] {
        EXPECT_EQ(dialog_->frameGeometry().topLeft(), QPoint(40, 0));
        EXPECT_EQ(dialog_->frameGeometry().size(), QSize(350, 550));
        dialog_->move(70, 80);
    });
    EXPECT_EQ(stored("Browse Small Top"), 80);
    EXPECT_EQ(stored("Browse Small Left"), 70);
    EXPECT_EQ(stored("Browse Small Width"), 350);
    EXPECT_EQ(stored("Browse Large Width"), -12345) << "the other mode's place is not touched";

    run(root_, true, [this] {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(screen.contains(dialog_->frameGeometry())) << "brought back on screen";
        EXPECT_EQ(dialog_->treePanel->width(), 200) << "a stored 150 is raised to 200";
        dialog_->splitter->setSizes({260, dialog_->width() - 267});
    });
    EXPECT_EQ(stored("Browse Splitter"), 260);
    EXPECT_EQ(stored("Browse Large Width"), 550);
    EXPECT_EQ(stored("Browse Small Left"), 70);
}

TEST_F(BrowseDialogTest, ANewFolderIsMadeInTheSelectedFolderAndSelected) {
    run(root_ + "Data", false, [this] {
        answerNextQuestion("Nieuwe map");
        dialog_->newFolderButton->click();
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        EXPECT_TRUE(QFileInfo(root_ + "Data/Nieuwe map").isDir());
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Data/Nieuwe map/");
        EXPECT_EQ(dialog_->folderPath(), root_ + "Data/Nieuwe map/");

        // Cancelled: nothing happens.
        answerNextQuestion("Something", false);
        dialog_->newFolderButton->click();
        EXPECT_FALSE(QFileInfo(root_ + "Data/Nieuwe map/Something").exists());
        dialog_->okButton->click();
    });
    EXPECT_EQ(dialog_->folderPath(), root_ + "Data/Nieuwe map/");
    EXPECT_EQ(input_.promptLabel->text(), "Enter Name of new Folder:");
    EXPECT_EQ(input_.windowTitle(), "Sleevix - ");
}

TEST_F(BrowseDialogTest, NewFolderNamesThatCannotBeAreRefused) {
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"Covers", "Folder already exists."},
        {"", "Enter a name for the new folder."},
        {"   ", "Enter a name for the new folder."},
        {"a/b", "A folder name cannot hold \"/\"."},
        {"../escaped", "A folder name cannot hold \"/\"."},
        {"..", "\"..\" cannot be the name of a folder."},
        {".", "\".\" cannot be the name of a folder."},
    };
    run(root_ + "Data", false, [&] {
        const QStringList before = QDir(root_ + "Data").entryList(QDir::AllEntries | QDir::Hidden);
        for (const Case& c : cases) {
            answerNextQuestion(QString::fromUtf8(c.name));
            QStringList box;
            closeNextMessageBox(box);
            dialog_->newFolderButton->click();
            EXPECT_EQ(box, (QStringList{"Open Error", c.message})) << c.name;
        }
        EXPECT_EQ(QDir(root_ + "Data").entryList(QDir::AllEntries | QDir::Hidden), before);
        EXPECT_FALSE(QFileInfo(root_ + "escaped").exists());
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Data/");
    });
}

TEST_F(BrowseDialogTest, NamesWithBlanksLettersAndLineBreaks) {
    makeFolders(root_, {"Mijn Müsik/two\nlines"});
    run(root_ + "Mijn Müsik/two\nlines", false, [this] {
        EXPECT_EQ(dialog_->folderTree->directory(), root_ + "Mijn Müsik/two\nlines/");
        EXPECT_EQ(dialog_->directoryPanel->text(),
                  root_ + QString::fromUtf8("Mijn Müsik/two\u240Alines/"));
        answerNextQuestion("Één & twee");
        dialog_->newFolderButton->click();
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        dialog_->okButton->click();
    });
    EXPECT_EQ(dialog_->folderPath(), root_ + "Mijn Müsik/two\nlines/Één & twee/");
    EXPECT_TRUE(QFileInfo(dialog_->folderPath()).isDir());
}

TEST_F(BrowseDialogTest, DrivesComeAndGo) {
    run(root_ + "Data", false, [this] {
        // Choosing the stick opens the tree on it.
        dialog_->driveList->setCurrentIndex(1);
        Q_EMIT dialog_->driveList->activated(1);
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        EXPECT_EQ(dialog_->folderTree->directory(), stick_);
        EXPECT_EQ(dialog_->folderTree->folderModel()->root(), stick_);

        // Back to the first drive, then the stick is pulled out while its entry is listed.
        Q_EMIT dialog_->driveList->activated(0);
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        drives_.removeLast();
        QDir(stick_).removeRecursively();
        Q_EMIT dialog_->driveList->activated(1);
        EXPECT_TRUE(message_.isVisible());
        EXPECT_TRUE(message_.messageText->toPlainText().contains("The drive " + stick_.chopped(1) +
                                                                 " is not there any more."));
        EXPECT_EQ(entriesOfDriveList(), QStringList{root_.chopped(1) + " []"});
        EXPECT_EQ(dialog_->folderTree->directory(), root_);
        message_.closeMessage();

        // Pulled out while the tree shows it: its folders simply stay empty.
        drives_.append({u'D', stick_, Drives::Removable, "USB-STICK"});
        makeFolders(stick_, {"Photos"});
        dialog_->driveList->showPopup();
        dialog_->driveList->hidePopup();
        EXPECT_EQ(dialog_->driveList->count(), 2);
        Q_EMIT dialog_->driveList->activated(1);
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        QDir(stick_).removeRecursively();
        FolderTreeModel* model = dialog_->folderTree->folderModel();
        const QModelIndex photos = model->childNamed(model->rootIndex(), "Photos");
        ASSERT_TRUE(photos.isValid());
        dialog_->folderTree->expand(photos);
        ASSERT_TRUE(waitFor([this] { return !dialog_->folderTree->isBusy(); }));
        EXPECT_EQ(model->rowCount(photos), 0);
        EXPECT_EQ(dialog_->folderPath(), stick_ + "Photos/");
    });
}

} // namespace
