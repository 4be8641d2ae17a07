#include "ProjectFixture.h"
#include "TestEnv.h"
#include "app/ImageControl.h"
#include "app/Main.h"
#include "app/ProjectCommands.h"
#include "back/Back.h"
#include "dialogs/MessForm.h"
#include "platform/AppError.h"
#include "platform/RichEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

class ProjectCommandsTest : public ProjectFixture {
protected:
    QString messageText() const { return message_->MessageMemo->toPlainText(); }
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(ProjectCommandsTest, SaveWritesTheThreeFilesUnderTheSpineTextAndSaysSo) {
    main_->Edit1->setText(QStringLiteral("Summer Songs 2026")); // typed, not yet applied
    AskToSave = true;
    SaveProject(*main_, *back_);
    const QString folder = DataFolder + QStringLiteral("Summer Songs 2026/");
    EXPECT_EQ(ProjectFolder, folder);
    EXPECT_EQ(ProjectName, "Summer Songs 2026");
    EXPECT_FALSE(AskToSave);
    // The front is the sample's original bytes; the back carries the stamped product name.
    EXPECT_EQ(contents(folder + QStringLiteral("Front.jpg")),
              contents(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg")));
    Picture back;
    back.LoadFromFile(folder + QStringLiteral("Back.bmp"));
    EXPECT_EQ(back.Image().size(), QSize(552, 472));
    EXPECT_TRUE(contents(folder + QStringLiteral("Back.rtf")).startsWith("{\\rtf1"));
    EXPECT_TRUE(messageText().contains(QStringLiteral("The project Summer Songs 2026")));
    EXPECT_TRUE(messageText().contains(QStringLiteral("has been saved.")));

    // Saving again overwrites without asking.
    back_->RichEdit1->setPlainText(QStringLiteral("Changed list"));
    SaveProject(*main_, *back_);
    EXPECT_TRUE(contents(folder + QStringLiteral("Back.rtf")).contains("Changed list"));
}

TEST_F(ProjectCommandsTest, NewProjectClearsEverythingAndThenSaveAsksForTheText) {
    NewProject(*main_, *back_);
    EXPECT_TRUE(main_->Edit1->text().isEmpty());
    EXPECT_TRUE(back_->RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(main_->FrontPicture().IsEmpty());
    EXPECT_TRUE(main_->BackPicture().IsEmpty());
    EXPECT_TRUE(ProjectFolder.isEmpty());
    EXPECT_TRUE(AskToSave) << "applying the blank spine text counts as a change";
    EXPECT_EQ(main_->LayoutImage().pixel(420, 300), qRgb(255, 255, 255)) << "front square empty";
    EXPECT_EQ(main_->LayoutImage().pixel(177, 57), qRgb(0, 0, 0)) << "template drawn";

    const QStringList before = QDir(DataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    SaveProject(*main_, *back_);
    EXPECT_TRUE(messageText().contains(QStringLiteral("You didn't read the Back Text")));
    EXPECT_EQ(QDir(DataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(AskToSave);
}

TEST_F(ProjectCommandsTest, ASpineTextThatCannotNameAFolderWritesNothing) {
    const QStringList before = QDir(DataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    AskToSave = true;
    for (const QString& name : {QStringLiteral("AC/DC - Live"), QStringLiteral("Live: 2002"), QStringLiteral(".."), QStringLiteral(".")}) {
        main_->Edit1->setText(name);
        try {
            SaveProject(*main_, *back_);
            ADD_FAILURE() << "saved under " << qPrintable(name);
        } catch (const AppError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot create file "))) << qPrintable(e.message());
        }
    }
    EXPECT_EQ(QDir(DataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(AskToSave);
}

} // namespace
