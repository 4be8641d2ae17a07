#include "app/ProjectCommands.h"
#include "ProjectFixture.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "controls/ImageView.h"
#include "dialogs/TimedMessage.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

class ProjectCommandsTest : public ProjectFixture {
protected:
    QString messageText() const { return message_->messageText->toPlainText(); }
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(ProjectCommandsTest, SaveWritesTheThreeFilesUnderTheSpineTextAndSaysSo) {
    main_->spineTextEdit->setText(QStringLiteral("Summer Songs 2026")); // typed, not yet applied
    ws_->setUnsavedChanges(true);
    projects_->saveProject();
    const QString folder = ws_->dataFolder + QStringLiteral("Summer Songs 2026/");
    EXPECT_EQ(ws_->projectFolder, folder);
    EXPECT_EQ(ws_->projectName, "Summer Songs 2026");
    EXPECT_FALSE(ws_->hasUnsavedChanges());
    // The front is the sample's original bytes; the back carries the stamped product name.
    EXPECT_EQ(contents(folder + QStringLiteral("Front.jpg")),
              contents(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg")));
    Picture back;
    back.loadFromFile(folder + QStringLiteral("Back.bmp"));
    EXPECT_EQ(back.image().size(), QSize(552, 472));
    EXPECT_TRUE(contents(folder + QStringLiteral("Back.rtf")).startsWith("{\\rtf1"));
    // The message names the folder it went to, in the user's language.
    const QString where = QDir::cleanPath(folder);
    EXPECT_EQ(messageText(), "\nThe project Summer Songs 2026\nhas been saved in " + where + ".");
    testenv::useLanguage(QStringLiteral("NLD"));
    projects_->saveProject();
    EXPECT_EQ(messageText(), "\nHet project Summer Songs 2026\nis bewaard in " + where + ".");
    testenv::useLanguage(QStringLiteral("ENU"));

    // Saving again overwrites without asking.
    back_->editor->setPlainText(QStringLiteral("Changed list"));
    projects_->saveProject();
    EXPECT_TRUE(contents(folder + QStringLiteral("Back.rtf")).contains("Changed list"));
}

TEST_F(ProjectCommandsTest, NewProjectClearsEverythingAndThenSaveAsksForTheText) {
    projects_->newProject();
    EXPECT_TRUE(main_->spineTextEdit->text().isEmpty());
    EXPECT_TRUE(back_->editor->toPlainText().isEmpty());
    EXPECT_TRUE(cover_->frontPicture().isEmpty());
    EXPECT_TRUE(cover_->backPicture().isEmpty());
    EXPECT_TRUE(ws_->projectFolder.isEmpty());
    EXPECT_TRUE(ws_->hasUnsavedChanges()) << "applying the blank spine text counts as a change";
    EXPECT_EQ(cover_->canvas().pixel(420, 300), qRgb(255, 255, 255)) << "front square empty";
    EXPECT_EQ(cover_->canvas().pixel(177, 57), qRgb(0, 0, 0)) << "template drawn";

    const QStringList before =
        QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    projects_->saveProject();
    EXPECT_TRUE(messageText().contains(QStringLiteral("You didn't read the Back Text")));
    EXPECT_EQ(QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(ws_->hasUnsavedChanges());
}

TEST_F(ProjectCommandsTest, ASpineTextThatCannotNameAFolderSaysWhyAndWritesNothing) {
    const QStringList before =
        QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    ws_->setUnsavedChanges(true);
    for (const QString& name :
         {QStringLiteral("AC/DC - Live"), QStringLiteral(".."), QStringLiteral(".")}) {
        main_->spineTextEdit->setText(name);
        try {
            projects_->saveProject();
            ADD_FAILURE() << "saved under " << qPrintable(name);
        } catch (const AppError& e) {
            EXPECT_TRUE(e.message().startsWith("\"" + name + "\" cannot be the name"))
                << qPrintable(e.message());
        }
    }
    EXPECT_EQ(QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(ws_->hasUnsavedChanges());
}

} // namespace

namespace {

class ProjectReadTest : public ProjectFixture {
protected:
    // A project of its own outside the data folder, with a list and the sample pictures.
    QString makeProject(const QString& name, const QString& list) {
        const QString folder = testenv::freshFolder(QStringLiteral("elsewhere")) + u'/' + name;
        QDir().mkpath(folder);
        QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg"), folder + "/Front.jpg");
        QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/Back.bmp"), folder + "/Back.bmp");
        RichTextEdit editor;
        editor.setPlainText(list);
        editor.saveToFile(folder + "/Back.rtf");
        return folder + u'/';
    }
    QString messageText() const { return message_->messageText->toPlainText(); }
};

TEST_F(ProjectReadTest, ReadProjectAsksForAFolderAndOpensIt) {
    const QString folder = makeProject(QStringLiteral("Summer Songs"), QStringLiteral("Track one"));
    browseAnswer_ = folder;
    projects_->readProject();

    ASSERT_EQ(browseRequests_.size(), 1);
    const BrowseRequest& asked = browseRequests_[0];
    EXPECT_EQ(asked.caption, "Sleevix - Path for files");
    EXPECT_EQ(asked.heading, "Select the Path for the Files\r\nen klik op OK.");
    EXPECT_EQ(asked.fileMask, "*.*");
    EXPECT_EQ(asked.startPath, ws_->dataFolder);
    EXPECT_FALSE(asked.showFiles);
    EXPECT_FALSE(asked.openAfresh) << "a second read finds the dialog as it was left";

    EXPECT_EQ(ws_->projectFolder, folder);
    EXPECT_EQ(ws_->projectName, "Summer Songs");
    EXPECT_EQ(main_->spineTextEdit->text(), "Summer Songs");
    EXPECT_EQ(cover_->spineText(), "Summer Songs");
    EXPECT_EQ(back_->editor->toPlainText(), "Track one");
    EXPECT_EQ(cover_->frontPicture().originalBytes(), contents(folder + "Front.jpg"));
    EXPECT_EQ(cover_->backPicture().image().size(), QSize(552, 472));
    EXPECT_FALSE(ws_->hasUnsavedChanges());

    // Cancel in the dialog changes nothing.
    browseAnswer_.reset();
    main_->spineTextEdit->setText(QStringLiteral("typed"));
    projects_->readProject();
    EXPECT_EQ(main_->spineTextEdit->text(), "typed");
    EXPECT_EQ(ws_->projectFolder, folder);
}

TEST_F(ProjectReadTest, ReadProjectOpensWhatItCanAndNamesEachFailingFileOnce) {
    const QString folder = makeProject(QStringLiteral("Half A Project"), QStringLiteral("List"));
    QFile::remove(folder + "Back.bmp");
    testenv::writeFile(folder + "Front.jpg", "\xff\xd8\xff damaged");
    browseAnswer_ = folder;
    const QString error = testenv::errorOf([&] { projects_->readProject(); });
    const QStringList lines = error.split(u'\n');
    ASSERT_EQ(lines.size(), 2) << qPrintable(error);
    EXPECT_TRUE(lines[0].startsWith(folder + "Front.jpg: JPEG error #")) << qPrintable(lines[0]);
    EXPECT_EQ(lines[1], "Cannot open file " + folder + "Back.bmp");
    EXPECT_EQ(back_->editor->toPlainText(), "List");
    EXPECT_EQ(main_->spineTextEdit->text(), "Half A Project");
    EXPECT_EQ(ws_->projectName, "Half A Project");
    EXPECT_TRUE(cover_->frontPicture().isEmpty()) << "not the last project's front";
    EXPECT_FALSE(ws_->hasUnsavedChanges());
}

// A 70-character project was cut to 51 when read and saved into a second, cut-short folder.
TEST_F(ProjectReadTest, ReadingTheRootGivesAnEmptyNameAndALongNameStaysWhole) {
    browseAnswer_ = QStringLiteral("/");
    EXPECT_FALSE(testenv::errorOf([&] { projects_->readProject(); }).isEmpty());
    EXPECT_EQ(ws_->projectName, "");
    EXPECT_EQ(main_->spineTextEdit->text(), "");

    const QString name = QStringLiteral("Velmora - The Complete Last Rose Of Summer Sessions "
                                        "Live 2002 Remastered");
    ASSERT_EQ(name.size(), 72);
    const QString data = ws_->dataFolder;
    ws_->dataFolder =
        QFileInfo(makeProject(name, QStringLiteral("List")) + "..").canonicalFilePath() + u'/';
    browseAnswer_ = ws_->dataFolder + name;
    projects_->readProject();
    EXPECT_EQ(ws_->projectName, name);
    EXPECT_EQ(main_->spineTextEdit->text(), name);
    EXPECT_EQ(cover_->spineText(), name);
    projects_->saveProject();
    EXPECT_TRUE(replaceAsked_.isEmpty()) << "its own folder";
    EXPECT_EQ(QDir(ws_->dataFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{name})
        << "no second, cut-short folder";
    ws_->dataFolder = data;

    // The user types at most 51 characters; one set by the program may be edited, not lengthened.
    main_->spineTextEdit->clear();
    QTest::keyClicks(main_->spineTextEdit, QString(60, u'x'));
    EXPECT_EQ(main_->spineTextEdit->text(), QString(51, u'x'));
    main_->spineTextEdit->setText(name);
    QTest::keyClick(main_->spineTextEdit, Qt::Key_Backspace);
    QTest::keyClicks(main_->spineTextEdit, QStringLiteral("yz"));
    EXPECT_EQ(main_->spineTextEdit->text(), name.chopped(1) + u'y');
}

TEST_F(ProjectReadTest, NewAndReadAskBeforeTheyPutUnsavedWorkAside) {
    QList<SaveAnswer> answers;
    int asked = 0;
    main_->services.askSaveProject = [&] {
        ++asked;
        return answers.takeFirst();
    };
    const QString before = main_->spineTextEdit->text();

    // Nothing changed: no question.
    projects_->newProject();
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(main_->spineTextEdit->text().isEmpty());

    // Cancel keeps the cover as it is.
    back_->editor->setPlainText(QStringLiteral("My list"));
    main_->spineTextEdit->setText(QStringLiteral("My Cover 2026"));
    ASSERT_TRUE(ws_->hasUnsavedChanges());
    answers = {SaveAnswer::Cancel};
    projects_->newProject();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(back_->editor->toPlainText(), "My list");
    answers = {SaveAnswer::Cancel};
    browseAnswer_ = makeProject(QStringLiteral("Other"), QStringLiteral("Other list"));
    projects_->readProject();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(back_->editor->toPlainText(), "My list");
    EXPECT_EQ(main_->spineTextEdit->text(), "My Cover 2026");

    // Yes saves, then reads.
    answers = {SaveAnswer::Yes};
    projects_->readProject();
    EXPECT_TRUE(QFileInfo::exists(ws_->dataFolder + "My Cover 2026/Back.rtf"));
    EXPECT_EQ(back_->editor->toPlainText(), "Other list");

    // No goes on without saving.
    back_->editor->setPlainText(QStringLiteral("Thrown away"));
    answers = {SaveAnswer::No};
    projects_->newProject();
    EXPECT_TRUE(back_->editor->toPlainText().isEmpty());

    // Yes without a spine text saves nothing and keeps the work.
    back_->editor->setPlainText(QStringLiteral("Kept"));
    answers = {SaveAnswer::Yes};
    projects_->newProject();
    EXPECT_TRUE(messageText().contains("You didn't read the Back Text"));
    EXPECT_EQ(back_->editor->toPlainText(), "Kept");
    EXPECT_EQ(asked, 5);
}

TEST_F(ProjectReadTest, ANewFrontPictureIsAskedForAndMarksTheProjectChanged) {
    ASSERT_FALSE(ws_->hasUnsavedChanges());
    const QString folder = testenv::freshFolder(QStringLiteral("photos")) + u'/';
    QImage photo(640, 400, QImage::Format_RGB32);
    photo.fill(QColor(30, 160, 60));
    ASSERT_TRUE(photo.save(folder + "green.jpg", "JPEG"));
    const QByteArray bytes = [&] {
        QFile f(folder + "green.jpg");
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    browseAnswer_.reset();
    projects_->readFrontPicture();
    ASSERT_EQ(browseRequests_.size(), 1);
    const BrowseRequest& asked = browseRequests_[0];
    EXPECT_EQ(asked.caption, "Sleevix - Select the picture for the front");
    EXPECT_EQ(asked.heading, "Select the Path for the Files.\r\nand Click OK.");
    EXPECT_EQ(asked.fileMask, "*.jpg; *.bmp; *.gif");
    EXPECT_EQ(asked.startPath, ws_->dataFolder + ws_->projectName);
    EXPECT_TRUE(asked.showFiles);
    EXPECT_TRUE(asked.openAfresh);
    EXPECT_FALSE(ws_->hasUnsavedChanges()) << "cancelled";

    browseAnswer_ = folder; // OK in a folder without a file chosen
    projects_->readFrontPicture();
    EXPECT_FALSE(ws_->hasUnsavedChanges());

    browseAnswer_ = folder + "green.jpg";
    projects_->readFrontPicture();
    EXPECT_TRUE(ws_->hasUnsavedChanges()) << "closing must ask";
    EXPECT_EQ(qGreen(cover_->canvas().pixel(420, 300)), 160);

    // Saved, the front is the photo's own bytes.
    main_->spineTextEdit->setText(QStringLiteral("Green"));
    projects_->saveProject();
    EXPECT_EQ(contents(ws_->dataFolder + "Green/Front.jpg"), bytes);

    // A damaged picture is named, with what is wrong in words; the front stays.
    testenv::writeFile(folder + "cut.jpg", bytes.left(bytes.size() / 2));
    browseAnswer_ = folder + "cut.jpg";
    EXPECT_EQ(testenv::errorOf([&] { projects_->readFrontPicture(); }),
              folder + "cut.jpg: JPEG error #120 (the file ends early)")
        << qPrintable(testenv::errorOf([&] { projects_->readFrontPicture(); }));
    EXPECT_EQ(qGreen(cover_->canvas().pixel(420, 300)), 160);
}

TEST_F(ProjectReadTest, TheRequestsSpeakDutchToADutchUser) {
    testenv::useLanguage(QStringLiteral("NLD"));
    const BrowseRequest project = ProjectCommands::readProjectRequest(QStringLiteral("/d/"));
    const BrowseRequest front =
        ProjectCommands::frontPictureRequest(QStringLiteral("/d/"), QStringLiteral("P"));
    testenv::useLanguage(QStringLiteral("ENU"));
    EXPECT_EQ(project.caption, "Sleevix - Pad voor bestanden");
    EXPECT_EQ(project.heading, "Selecteer het pad voor de bestanden\r\nen klik op OK.");
    EXPECT_EQ(front.caption, "Sleevix - Selecteer de afbeelding voor de voorkant");
    EXPECT_EQ(front.heading, "Selecteer het pad voor de bestanden.\r\nen klik op OK.");
    EXPECT_EQ(front.startPath, "/d/P");
}

// A back picture read from a GIF made every save fail (Qt cannot write GIF), and one read from
// a PNG was written as PNG bytes under the name "Back.bmp".
TEST_F(ProjectReadTest, SaveWritesBackBmpAsAWindowsBitmapWhateverTheBackWasReadFrom) {
    QImage png(552, 472, QImage::Format_ARGB32);
    png.fill(QColor(200, 0, 0));
    const QString pngFile = root_ + "/back.png";
    ASSERT_TRUE(png.save(pngFile, "PNG"));
    const QString gifFile = testenv::writeFile(root_ + "/back.gif", testenv::oneRedPixelGif());
    for (const QString& file : {gifFile, pngFile}) {
        cover_->loadBackPicture(file);
        main_->spineTextEdit->setText(QStringLiteral("Red Back"));
        projects_->saveProject();
        const QByteArray bmp = contents(ws_->dataFolder + "Red Back/Back.bmp");
        ASSERT_TRUE(bmp.startsWith("BM")) << qPrintable(file);
        EXPECT_EQ(uchar(bmp[28]), 24) << qPrintable(file);
    }
}

TEST_F(ProjectReadTest, SpineTextsThatCanAndCannotNameAFolder) {
    const QStringList before =
        QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    ws_->setUnsavedChanges(true);
    main_->spineTextEdit->setText(QStringLiteral("AC/DC"));
    EXPECT_EQ(testenv::errorOf([&] { projects_->saveProject(); }),
              "\"AC/DC\" cannot be the name of a project folder: it contains \"/\", which cannot "
              "stand in a folder name.");
    EXPECT_EQ(QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(ws_->hasUnsavedChanges());

    // What this file system takes is saved; what a Windows drive would not take is noted.
    main_->spineTextEdit->setText(QStringLiteral("AC:DC - Live: 2002?"));
    projects_->saveProject();
    EXPECT_TRUE(QFileInfo::exists(ws_->dataFolder + "AC:DC - Live: 2002?/Back.rtf"));
    EXPECT_TRUE(messageText().contains("has been saved in " +
                                       QDir::cleanPath(ws_->dataFolder + "AC:DC - Live: 2002?") +
                                       ".\nNote: a Windows drive (FAT or NTFS, "
                                       "most USB sticks) takes no \":\" in a folder name."))
        << qPrintable(messageText());

    // Letters beyond ASCII name a folder that reads back as it was saved.
    const QString name = QStringLiteral("Dvořák – Slavonic Dances · 日本");
    main_->spineTextEdit->setText(name);
    main_->applySpineText();
    projects_->saveProject();
    EXPECT_TRUE(QFileInfo::exists(ws_->dataFolder + name + "/Back.bmp"));
    browseAnswer_ = ws_->dataFolder + name + u'/';
    projects_->readProject();
    EXPECT_EQ(main_->spineTextEdit->text(), name);
    EXPECT_FALSE(cover_->frontPicture().isEmpty());
}

// The editor's Save made the list's folder the current project with "Back.rtf" alone in it; the
// next start failed on "Front.jpg". A long first line named a folder that the project's own
// save, taking the 51 characters of the spine field, never wrote to.
TEST_F(ProjectReadTest, TheEditorsSaveMakesAWholeProjectUnderTheSpinesName) {
    const QString title = QStringLiteral("Velmora - The Complete Last Rose Of Summer Sessions "
                                         "Live 2002");
    back_->editor->setPlainText(title + QStringLiteral("\n1. One"));
    back_->saveList();
    const QString folder = ws_->dataFolder + title + u'/';
    EXPECT_EQ(ws_->projectFolder, folder);
    for (const char* file : {"Front.jpg", "Back.bmp", "Back.rtf"})
        EXPECT_TRUE(QFileInfo::exists(folder + QLatin1String(file))) << file;
    EXPECT_EQ(contents(folder + "Front.jpg"),
              contents(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg")));

    // The copy to the back cover and the project's save agree on the same folder.
    main_->spineTextEdit->setText(title);
    projects_->saveProject();
    EXPECT_EQ(ws_->projectFolder, folder);
    EXPECT_EQ(QDir(ws_->dataFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2)
        << "the sample and this one";

    // A folder that exists gets the list only: the pictures there stay.
    testenv::writeFile(folder + "Back.bmp", "kept");
    back_->saveList();
    EXPECT_EQ(contents(folder + "Back.bmp"), "kept");
}

} // namespace

// New Project, the spine text of an existing project typed, Save: its list became the empty one
// while its pictures stayed, a mixed cover. The user is asked first, the folder named.
TEST_F(ProjectReadTest, SavingUnderTheNameOfAnotherProjectAsksFirst) {
    const QString other = ws_->dataFolder + QStringLiteral("Summer Songs/");
    QDir().mkpath(other);
    QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg"), other + "Front.jpg");
    QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/Back.bmp"), other + "Back.bmp");
    testenv::writeFile(other + "Back.rtf", "{\\rtf1 Their list}");

    projects_->newProject();
    back_->editor->setPlainText(QStringLiteral("Summer Songs\n1. Mine"));
    main_->spineTextEdit->setText(QStringLiteral("Summer Songs"));
    projects_->saveProject();
    back_->saveList();
    EXPECT_EQ(replaceAsked_, (QStringList{other, other})) << "Save, then the editor's Save";
    EXPECT_EQ(contents(other + "Back.rtf"), "{\\rtf1 Their list}") << "No leaves both";
    EXPECT_EQ(contents(other + "Front.jpg"),
              contents(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg")));
    EXPECT_TRUE(ws_->hasUnsavedChanges());
    EXPECT_TRUE(ws_->projectFolder.isEmpty());

    // Yes: the folder holds this project whole, nothing of the other one.
    replaceAnswer_ = true;
    projects_->saveProject();
    EXPECT_TRUE(contents(other + "Back.rtf").contains("Mine"));
    EXPECT_FALSE(QFileInfo::exists(other + "Front.jpg"));
    EXPECT_FALSE(QFileInfo::exists(other + "Back.bmp"));
    EXPECT_EQ(ws_->projectFolder, other);
    // Saving it again saves itself, without a question.
    projects_->saveProject();
    back_->saveList();
    EXPECT_EQ(replaceAsked_.size(), 3);
}

// A front picture too small to print sharp is told in the timed message whenever the user reads
// one: with Read Front Picture, in a project read, dropped on the front; a large one is not.
TEST_F(ProjectReadTest, ASoftFrontPictureIsToldWhenItIsRead) {
    const QString folder = testenv::freshFolder(QStringLiteral("photos")) + u'/';
    for (int side : {400, 2000}) {
        QImage photo(side, side, QImage::Format_RGB32);
        photo.fill(QColor(200, 90, 40));
        ASSERT_TRUE(photo.save(folder + QStringLiteral("%1.jpg").arg(side), "JPEG"));
    }
    const QString warning =
        QStringLiteral("Front picture: 84 pixels per inch at print size — may print soft.");

    browseAnswer_ = folder + "2000.jpg";
    projects_->readFrontPicture();
    EXPECT_FALSE(message_->isVisible());

    browseAnswer_ = folder + "400.jpg";
    projects_->readFrontPicture();
    EXPECT_TRUE(message_->isVisible());
    EXPECT_EQ(messageText(), u'\n' + warning);
    message_->closeMessage();

    const QString project = makeProject(QStringLiteral("Small Front"), QStringLiteral("Track"));
    QFile::remove(project + "Front.jpg");
    QFile::copy(folder + "400.jpg", project + "Front.jpg");
    browseAnswer_ = project;
    projects_->readProject();
    EXPECT_TRUE(message_->isVisible());
    EXPECT_EQ(messageText(), u'\n' + warning);
    message_->closeMessage();

    main_->services.frontPictureTaken = [this] { projects_->warnOfSoftFront(); };
    main_->takeFrontPicture(folder + "2000.jpg");
    EXPECT_FALSE(message_->isVisible());
    main_->takeFrontPicture(folder + "400.jpg");
    EXPECT_TRUE(message_->isVisible());
    EXPECT_EQ(messageText(), u'\n' + warning);
    message_->closeMessage();
}
