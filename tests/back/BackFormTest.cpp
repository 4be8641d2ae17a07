// The back-cover editor window: its controls and texts, fixed size, remembered place, reading a
// list file, saving it as "Back.rtf" in a folder named after the list, and copying what it shows
// onto the back cover of the main window.
#include "app/ErrorGuard.h"
#include "app/Main.h"
#include "app/Workspace.h"
#include "back/Back.h"
#include "back/BackRules.h"
#include "common/TestEnv.h"
#include "controls/ClrBtn.h"
#include "platform/RegistryStore.h"
#include "platform/RichEdit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

class BackFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("back"));
        AutoUpdateEnabled = false;
        ErrorGuard::SetReporter([this](const QString& message) { errors_ << message; });
    }
    void TearDown() override {
        ErrorGuard::SetReporter(nullptr);
        QDir::setCurrent(savedDir_);
        LanguageCode = QStringLiteral("ENU");
    }

    // The main window as after its first showing, and the editor beside it.
    void makeWindows() {
        main_ = std::make_unique<TMainForm>();
        LoadSettingsValues();
        main_->FormShow();
        back_ = std::make_unique<TBackForm>();
        back_->MainWindow = main_.get();
    }

    void typeList(const QString& text) { back_->RichEdit1->setPlainText(text); }

    QString root_;
    QString savedDir_;
    QStringList errors_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TBackForm> back_;
};

void saveScreenshot(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("SLEEVIX_SCREENSHOTS");
    if (!folder.isEmpty())
        image.save(folder + "/" + name);
}

TEST_F(BackFormTest, TextsByLanguage) {
    LanguageCode = QStringLiteral("NLD");
    TBackForm nl;
    EXPECT_EQ(nl.windowTitle(), "Sleevix - Tekst achterkant");
    EXPECT_EQ(nl.Label1->text(),
              "Stel hier de lijst met nummers samen.\n\rKlik vervolgens op OK om "
              "de lijst\n\rnaar de layout in het hoofdscherm te kopiëren.");
    EXPECT_EQ(nl.LeesButton->text(), "Lees");
    EXPECT_EQ(nl.SaveButton->text(), "Bewaar");
    EXPECT_EQ(nl.OKButton->text(), "Kopieer naar Achterkant");
    EXPECT_EQ(nl.CancelButton->text(), "Annuleren");

    LanguageCode = QStringLiteral("ENU");
    TBackForm en;
    EXPECT_EQ(en.windowTitle(), "Sleevix - Tekst achterkant");
    EXPECT_EQ(en.Label1->text(), "Enter the contents list in here.\n\rNext click the OK Button to "
                                 "copy the list\n\rto the layout in the Main screen.");
    EXPECT_EQ(en.LeesButton->text(), "Read");
    EXPECT_EQ(en.SaveButton->text(), "Save");
    EXPECT_EQ(en.OKButton->text(), "Copy to Back Cover");
    EXPECT_EQ(en.CancelButton->text(), "Cancel");
}

TEST_F(BackFormTest, ControlsAndTheFixedSize) {
    TBackForm form;
    form.show();
    form.resize(800, 900);
    EXPECT_EQ(form.size(), QSize(556, 679));
    EXPECT_EQ(form.RichEdit1->geometry(), QRect(0, 140, 556, 472));
    EXPECT_EQ(form.LeesButton->geometry(), QRect(68, 19, 82, 35));
    EXPECT_EQ(form.SaveButton->geometry(), QRect(403, 19, 85, 35));
    EXPECT_EQ(form.OKButton->geometry(), QRect(68, 17, 241, 32));
    EXPECT_EQ(form.CancelButton->geometry(), QRect(403, 17, 103, 32));
    EXPECT_EQ(form.Panel2->geometry(), QRect(0, 612, 556, 67));
    EXPECT_EQ(form.Label1->geometry(), QRect(0, 71, 556, 69));
    EXPECT_EQ(form.LeesButton->font().pixelSize(), 16);
    EXPECT_TRUE(form.LeesButton->font().bold());
    EXPECT_EQ(form.LeesButton->BackColor(), QColor(255, 255, 227));
    EXPECT_EQ(form.LeesButton->HoverColor(), QColor(255, 255, 136));
    EXPECT_FALSE(form.isModal());

    // The editor: Arial 17 pixels, word wrap, tabs go into the text, not reached by Tab.
    EXPECT_EQ(form.RichEdit1->font().family(), "Arial");
    EXPECT_EQ(form.RichEdit1->font().pixelSize(), 17);
    EXPECT_EQ(form.RichEdit1->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_FALSE(form.RichEdit1->tabChangesFocus());
    EXPECT_FALSE(form.RichEdit1->focusPolicy() & Qt::TabFocus);
}

TEST_F(BackFormTest, PlaceIsReadAtShowingAndWrittenAtClosing) {
    {
        RegistryStore store;
        store.WriteInteger(SettingsSection, "BackLeft", 120);
        store.WriteInteger(SettingsSection, "BackTop", 30);
        store.Flush();
    }
    TBackForm form;
    form.show();
    EXPECT_EQ(form.pos(), QPoint(120, 30));
    form.move(40, 50);
    form.CancelButton->click();
    EXPECT_FALSE(form.isVisible());
    RegistryStore store;
    EXPECT_EQ(store.ReadInteger(SettingsSection, "BackLeft", -1), 40);
    EXPECT_EQ(store.ReadInteger(SettingsSection, "BackTop", -1), 50);
}

TEST_F(BackFormTest, DefaultPlace) {
    TBackForm form;
    form.show();
    EXPECT_EQ(form.pos(), QPoint(200, 100));
}

TEST_F(BackFormTest, CancelKeepsTheTypedList) {
    TBackForm form;
    form.show();
    form.RichEdit1->setPlainText("typed");
    form.CancelButton->click();
    form.show();
    EXPECT_EQ(form.RichEdit1->toPlainText(), "typed");
}

TEST_F(BackFormTest, ReadAsksForAnRtfFileAndLoadsIt) {
    makeWindows();
    const QString file = testenv::writeFile(
        ProjectFolder + "Other.rtf", R"({\rtf1{\fonttbl{\f0 Arial;}}\b Loaded\b0\par Track\par})");
    AskToSave = false;
    QString title, filter, folder, suffix;
    back_->RunOpenDialog = [&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filter = dialog->nameFilters().join('|');
        folder = dialog->directory().absolutePath();
        suffix = dialog->defaultSuffix();
        dialog->selectFile(file);
        return true;
    };
    back_->LeesButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    EXPECT_EQ(title, "Sleevix - Select the rtf file for the back");
    EXPECT_EQ(filter, "RichText files (*.rtf)");
    EXPECT_EQ(folder + "/", ProjectFolder);
    EXPECT_EQ(suffix, "rtf");
    EXPECT_EQ(back_->RichEdit1->toPlainText(), "Loaded\nTrack");
    EXPECT_TRUE(AskToSave);

    LanguageCode = QStringLiteral("NLD");
    back_->RunOpenDialog = [&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filter = dialog->nameFilters().join('|');
        return false; // cancelled
    };
    AskToSave = false;
    back_->LeesButton->click();
    EXPECT_EQ(title, "Sleevix - Selecteer het rtf-bestand voor de achterkant");
    EXPECT_EQ(filter, "RichText-bestanden (*.rtf)");
    EXPECT_EQ(back_->RichEdit1->toPlainText(), "Loaded\nTrack");
    EXPECT_FALSE(AskToSave);
}

TEST_F(BackFormTest, ReadingAFileThatIsNotTextFailsAndKeepsTheList) {
    makeWindows();
    typeList("my list");
    const QString file =
        testenv::writeFile(root_ + "/binary.rtf", QByteArray("\x7f"
                                                             "ELF\x02\x01\x01\0\0\0",
                                                             10));
    back_->RunOpenDialog = [&](QFileDialog* dialog) {
        dialog->selectFile(file);
        return true;
    };
    AskToSave = false;
    back_->LeesButton->click();
    EXPECT_EQ(errors_, QStringList{"Failed to Load Stream"});
    EXPECT_EQ(back_->RichEdit1->toPlainText(), "my list");
    EXPECT_FALSE(AskToSave);
}

TEST_F(BackFormTest, ReadingPlainTextWorks) {
    makeWindows();
    const QString file = testenv::writeFile(root_ + "/list.rtf", "1. One\n2. Two\n");
    back_->RunOpenDialog = [&](QFileDialog* dialog) {
        dialog->selectFile(file);
        return true;
    };
    back_->LeesButton->click();
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(back_->RichEdit1->toPlainText(), "1. One\n2. Two\n");
}

TEST_F(BackFormTest, SaveWritesBackRtfInAFolderNamedAfterTheList) {
    makeWindows();
    back_->show();
    typeList("Velmora\n  Last Rose Of Summer  \n1.\tOne");
    const QString spine = main_->Edit1->text();
    AskToSave = false;
    back_->SaveButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    const QString folder = DataFolder + "Last Rose Of Summer/";
    EXPECT_TRUE(QFileInfo::exists(folder + "Back.rtf"));
    EXPECT_EQ(ProjectName, "Last Rose Of Summer");
    EXPECT_EQ(ProjectFolder, folder);
    EXPECT_EQ(main_->Edit1->text(), spine);
    EXPECT_FALSE(AskToSave);

    RichEdit check;
    check.LoadFromFile(folder + "Back.rtf");
    EXPECT_EQ(check.toPlainText(), "Velmora\n  Last Rose Of Summer  \n1.\tOne");
}

TEST_F(BackFormTest, SaveNamesTheFolderAfterTheFirstDisplayedLineOfAWrappedParagraph) {
    makeWindows();
    back_->show();
    typeList("The Complete Symphonies Of Ludwig Van Beethoven Played By The Berlin "
             "Philharmonic Orchestra Under Herbert Von Karajan\n1. Allegro");
    const QStringList lines = back_->RichEdit1->DisplayedLines();
    ASSERT_GT(lines.size(), 2) << "the first paragraph wraps";
    back_->SaveButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    EXPECT_EQ(ProjectName, BackRules::TrimLine(lines[0]));
    EXPECT_TRUE(ProjectName.startsWith("The Complete Symphonies"));
    EXPECT_LT(ProjectName.size(), 80);
    EXPECT_TRUE(QFileInfo::exists(DataFolder + ProjectName + "/Back.rtf"));
}

TEST_F(BackFormTest, SaveWithANameThatCannotBeAFolderWritesNothing) {
    makeWindows();
    back_->show();
    const QString name = ProjectName, folder = ProjectFolder;
    typeList("AC/DC - Back In Black\n1. Hells Bells");
    back_->SaveButton->click();
    EXPECT_EQ(errors_,
              QStringList{"Cannot create file " +
                          QDir::toNativeSeparators(DataFolder + "AC/DC - Back In Black/Back.rtf")});
    EXPECT_FALSE(QFileInfo::exists(DataFolder + "AC"));
    EXPECT_EQ(ProjectName, name);
    EXPECT_EQ(ProjectFolder, folder);
}

TEST_F(BackFormTest, SaveOfAnEmptyListWritesIntoTheDataFolder) {
    makeWindows();
    back_->show();
    typeList("");
    back_->SaveButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    EXPECT_TRUE(QFileInfo::exists(DataFolder + "Back.rtf"));
    EXPECT_EQ(ProjectName, "");
}

// A track list with bold, a colour and a tab, copied onto the back cover: the back picture is the
// editor as displayed, cut and stretched; the spine text is its first line.
TEST_F(BackFormTest, CopyToBackCoverTakesTheEditorAsDisplayed) {
    makeWindows();
    main_->show();
    main_->ScrollBox1->verticalScrollBar()->setValue(300);
    back_->show();
    QTextCursor c(back_->RichEdit1->document());
    back_->RichEdit1->clear();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText("Velmora - Greatest Hits", bold);
    c.insertBlock();
    c.insertText("1.\tThe Last Rose\t", QTextCharFormat());
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    c.insertText("4:12", red);
    AskToSave = false;

    const QImage before = back_->grab().toImage();
    back_->OKButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));

    QImage expected(552, 472, QImage::Format_RGB32);
    expected.fill(Qt::white);
    BackRules::CopyEditorPixels(before, expected);
    const QImage picture = main_->BackPicture().Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(552, 472));
    // Every pixel above the stamped product name is the editor's.
    for (int y = 0; y < 440; y += 3)
        for (int x = 0; x < 552; x += 3)
            ASSERT_EQ(picture.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    int redPixels = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 552; ++x)
            redPixels += qRed(picture.pixel(x, y)) > 200 && qGreen(picture.pixel(x, y)) < 80;
    EXPECT_GT(redPixels, 10) << "the red time is on the back";

    // In the layout's back rectangle too, and the spine text applied.
    const QImage& layout = main_->LayoutImage();
    int redInLayout = 0;
    for (int y = 613; y < 713; ++y)
        for (int x = 144; x < 696; ++x)
            redInLayout += qRed(layout.pixel(x, y)) > 200 && qGreen(layout.pixel(x, y)) < 80;
    EXPECT_GT(redInLayout, 10);
    EXPECT_EQ(main_->Edit1->text(), "Velmora - Greatest Hits");
    EXPECT_TRUE(AskToSave);
    EXPECT_EQ(main_->ScrollBox1->verticalScrollBar()->value(), SavedScrollPos);
    EXPECT_FALSE(back_->isVisible());

    saveScreenshot(before, "back-editor.png");
    saveScreenshot(layout.copy(QRect(100, 580, 640, 540)), "back-in-layout.png");
}

TEST_F(BackFormTest, CopyWithoutABackPictureMakesAWhiteOne) {
    makeWindows();
    main_->show();
    back_->show();
    main_->BackPicture().Clear();
    typeList("");
    back_->OKButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    const QImage picture = main_->BackPicture().Image();
    ASSERT_EQ(picture.size(), QSize(552, 472));
    EXPECT_EQ(picture.pixel(300, 200), qRgb(255, 255, 255)) << "the empty editor is white";
    EXPECT_EQ(main_->Edit1->text(), "") << "an empty list gives an empty spine text";
}

TEST_F(BackFormTest, TextScrolledOutOfSightDoesNotReachThePicture) {
    makeWindows();
    main_->show();
    back_->show();
    back_->RichEdit1->clear();
    QTextCursor c(back_->RichEdit1->document());
    for (int i = 1; i <= 60; ++i)
        c.insertText(QStringLiteral("%1. Track\n").arg(i));
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontPointSize(30);
    c.insertText("HIDDEN", red);
    const auto redPixels = [&] {
        const QImage picture = main_->BackPicture().Image().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += qRed(picture.pixel(x, y)) > 200 && qGreen(picture.pixel(x, y)) < 80;
        return n;
    };

    back_->RichEdit1->verticalScrollBar()->setValue(0);
    back_->OKButton->click();
    EXPECT_EQ(redPixels(), 0);
    EXPECT_EQ(main_->Edit1->text(), "2. Track") << "line 1 is short, so line 2";

    back_->show();
    back_->RichEdit1->verticalScrollBar()->setValue(
        back_->RichEdit1->verticalScrollBar()->maximum());
    back_->OKButton->click();
    EXPECT_GT(redPixels(), 50);
}

} // namespace

// A list typed into the editor and left there (Cancel, or the editor simply open) was lost
// without a question when the program closed.
TEST_F(BackFormTest, TypingTheListMakesClosingAskToSave) {
    makeWindows();
    ASSERT_FALSE(AskToSave);
    back_->show();
    back_->RichEdit1->setFocus();
    back_->RichEdit1->moveCursor(QTextCursor::End);
    QTest::keyClicks(back_->RichEdit1, "9. Bonus Track");
    back_->CancelButton->click();
    EXPECT_TRUE(AskToSave);

    int asked = 0;
    main_->Services.AskSaveProject = [&] {
        ++asked;
        return SaveAnswer::Cancel;
    };
    EXPECT_FALSE(main_->FormClose());
    EXPECT_EQ(asked, 1);
}
