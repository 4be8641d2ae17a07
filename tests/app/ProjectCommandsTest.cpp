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
    askToSave = true;
    saveProject(*main_, *back_);
    const QString folder = dataFolder + QStringLiteral("Summer Songs 2026/");
    EXPECT_EQ(projectFolder, folder);
    EXPECT_EQ(projectName, "Summer Songs 2026");
    EXPECT_FALSE(askToSave);
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
    saveProject(*main_, *back_);
    EXPECT_TRUE(contents(folder + QStringLiteral("Back.rtf")).contains("Changed list"));
}

TEST_F(ProjectCommandsTest, NewProjectClearsEverythingAndThenSaveAsksForTheText) {
    newProject(*main_, *back_);
    EXPECT_TRUE(main_->spineTextEdit->text().isEmpty());
    EXPECT_TRUE(back_->editor->toPlainText().isEmpty());
    EXPECT_TRUE(main_->frontPicture().isEmpty());
    EXPECT_TRUE(main_->backPicture().isEmpty());
    EXPECT_TRUE(projectFolder.isEmpty());
    EXPECT_TRUE(askToSave) << "applying the blank spine text counts as a change";
    EXPECT_EQ(main_->layoutImage().pixel(420, 300), qRgb(255, 255, 255)) << "front square empty";
    EXPECT_EQ(main_->layoutImage().pixel(177, 57), qRgb(0, 0, 0)) << "template drawn";

    const QStringList before = QDir(dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    saveProject(*main_, *back_);
    EXPECT_TRUE(messageText().contains(QStringLiteral("You didn't read the Back Text")));
    EXPECT_EQ(QDir(dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(askToSave);
}

TEST_F(ProjectCommandsTest, ASpineTextThatCannotNameAFolderWritesNothing) {
    const QStringList before = QDir(dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    askToSave = true;
    for (const QString& name : {QStringLiteral("AC/DC - Live"), QStringLiteral("Live: 2002"),
                                QStringLiteral(".."), QStringLiteral(".")}) {
        main_->spineTextEdit->setText(name);
        try {
            saveProject(*main_, *back_);
            ADD_FAILURE() << "saved under " << qPrintable(name);
        } catch (const AppError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot create file ")))
                << qPrintable(e.message());
        }
    }
    EXPECT_EQ(QDir(dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(askToSave);
}

} // namespace
