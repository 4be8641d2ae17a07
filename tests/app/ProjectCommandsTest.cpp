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
    EXPECT_TRUE(messageText().contains(QStringLiteral("The project Summer Songs 2026")));
    EXPECT_TRUE(messageText().contains(QStringLiteral("has been saved.")));

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

TEST_F(ProjectCommandsTest, ASpineTextThatCannotNameAFolderWritesNothing) {
    const QStringList before =
        QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    ws_->setUnsavedChanges(true);
    for (const QString& name : {QStringLiteral("AC/DC - Live"), QStringLiteral("Live: 2002"),
                                QStringLiteral(".."), QStringLiteral(".")}) {
        main_->spineTextEdit->setText(name);
        try {
            projects_->saveProject();
            ADD_FAILURE() << "saved under " << qPrintable(name);
        } catch (const AppError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot create file ")))
                << qPrintable(e.message());
        }
    }
    EXPECT_EQ(QDir(ws_->dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(ws_->hasUnsavedChanges());
}

} // namespace
