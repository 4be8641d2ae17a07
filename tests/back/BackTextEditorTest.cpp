// The back-cover editor window: its controls and texts, fixed size, remembered place, reading a
// list file, saving it as "Back.rtf" in a folder named after the list, and copying what it shows
// onto the back cover of the main window.
#include "back/BackTextEditor.h"
#include "app/MainWindow.h"
#include "back/BackRules.h"
#include "back/RichTextEdit.h"
#include "back/TabRuler.h"
#include "common/TestEnv.h"
#include "controls/ColourButton.h"
#include "cover/BackText.h"
#include "cover/Cover.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"
#include "support/WindowPlacement.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

class BackTextEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("back"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        ws_->autoUpdateEnabled = false;
        ErrorGuard::setReporter(qApp, [this](const QString& message) { errors_ << message; });
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        QDir::setCurrent(savedDir_);
        testenv::useLanguage(QStringLiteral("ENU"));
    }

    // The main window as after its first showing, and the editor beside it.
    void makeWindows() {
        main_ = std::make_unique<MainWindow>(*ws_, *cover_);
        loadSettingsValues(*ws_);
        main_->handleShow();
        back_ = std::make_unique<BackTextEditor>(*ws_, *cover_);
    }

    void typeList(const QString& text) { back_->editor->setPlainText(text); }

    QString root_;
    QString savedDir_;
    QStringList errors_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<BackTextEditor> back_;
};

void saveScreenshot(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("SLEEVIX_SCREENSHOTS");
    if (!folder.isEmpty())
        image.save(folder + "/" + name);
}

TEST_F(BackTextEditorTest, TextsByLanguage) {
    testenv::useLanguage(QStringLiteral("NLD"));
    BackTextEditor nl(*ws_, *cover_);
    EXPECT_EQ(nl.windowTitle(), "Sleevix - Tekst achterkant");
    EXPECT_EQ(nl.hintLabel->text(),
              "Stel hier de lijst met nummers samen.\n\rKlik vervolgens op OK om "
              "de lijst\n\rnaar de layout in het hoofdscherm te kopiëren.");
    EXPECT_EQ(nl.readButton->text(), "Lees");
    EXPECT_EQ(nl.saveButton->text(), "Bewaar");
    EXPECT_EQ(nl.copyButton->text(), "Kopieer naar Achterkant");
    EXPECT_EQ(nl.closeButton->text(), "Annuleren");

    testenv::useLanguage(QStringLiteral("ENU"));
    BackTextEditor en(*ws_, *cover_);
    EXPECT_EQ(en.windowTitle(), "Sleevix - Tekst achterkant");
    EXPECT_EQ(en.hintLabel->text(),
              "Enter the contents list in here.\n\rNext click the OK Button to "
              "copy the list\n\rto the layout in the Main screen.");
    EXPECT_EQ(en.readButton->text(), "Read");
    EXPECT_EQ(en.saveButton->text(), "Save");
    EXPECT_EQ(en.copyButton->text(), "Copy to Back Cover");
    EXPECT_EQ(en.closeButton->text(), "Cancel");
}

TEST_F(BackTextEditorTest, ControlsAndTheFixedSize) {
    BackTextEditor form(*ws_, *cover_);
    form.show();
    form.resize(800, 900);
    // The format bar (28) and the ruler (20) stand between the top panel and the text.
    EXPECT_EQ(form.size(), QSize(556, 727));
    EXPECT_EQ(form.editor->geometry(), QRect(0, 188, 556, 472));
    EXPECT_EQ(form.ruler->geometry(), QRect(0, 168, 556, 20));
    EXPECT_EQ(form.readButton->geometry(), QRect(68, 19, 82, 35));
    EXPECT_EQ(form.saveButton->geometry(), QRect(403, 19, 85, 35));
    EXPECT_EQ(form.copyButton->geometry(), QRect(68, 17, 241, 32));
    EXPECT_EQ(form.closeButton->geometry(), QRect(403, 17, 103, 32));
    EXPECT_EQ(form.bottomPanel->geometry(), QRect(0, 660, 556, 67));
    EXPECT_EQ(form.hintLabel->geometry(), QRect(0, 71, 556, 69));
    EXPECT_EQ(form.readButton->font().pixelSize(), 16);
    EXPECT_TRUE(form.readButton->font().bold());
    EXPECT_EQ(form.readButton->backColor(), QColor(255, 255, 227));
    EXPECT_EQ(form.readButton->hoverColor(), QColor(255, 255, 136));
    EXPECT_FALSE(form.isModal());

    // The editor: Arial 17 pixels, word wrap, tabs go into the text, not reached by Tab.
    EXPECT_EQ(form.editor->font().family(), "Arial");
    EXPECT_EQ(form.editor->font().pixelSize(), 17);
    EXPECT_EQ(form.editor->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_FALSE(form.editor->tabChangesFocus());
    EXPECT_FALSE(form.editor->focusPolicy() & Qt::TabFocus);
}

TEST_F(BackTextEditorTest, PlaceIsReadAtShowingAndWrittenAtClosing) {
    {
        RegistryStore store;
        store.writeInteger(SettingsSection, "BackLeft", 120);
        store.writeInteger(SettingsSection, "BackTop", 30);
        store.flush();
    }
    BackTextEditor form(*ws_, *cover_);
    form.show();
    EXPECT_EQ(form.pos(), QPoint(120, 30));
    form.move(40, 50);
    form.closeButton->click();
    EXPECT_FALSE(form.isVisible());
    RegistryStore store;
    EXPECT_EQ(store.readInteger(SettingsSection, "BackLeft", -1), 40);
    EXPECT_EQ(store.readInteger(SettingsSection, "BackTop", -1), 50);
}

TEST_F(BackTextEditorTest, DefaultPlace) {
    BackTextEditor form(*ws_, *cover_);
    form.show();
    // (200, 100), moved up as far as the test screen needs to hold the whole window.
    EXPECT_EQ(form.pos(), keepOnScreen(QPoint(200, 100), form.frameGeometry().size(),
                                       availableScreenAreas(), QPoint(200, 100)));
    EXPECT_EQ(form.x(), 200);
}

TEST_F(BackTextEditorTest, CancelKeepsTheTypedList) {
    BackTextEditor form(*ws_, *cover_);
    form.show();
    form.editor->setPlainText("typed");
    form.closeButton->click();
    form.show();
    EXPECT_EQ(form.editor->toPlainText(), "typed");
}

TEST_F(BackTextEditorTest, ReadAsksForAnRtfFileAndLoadsIt) {
    makeWindows();
    const QString file =
        testenv::writeFile(ws_->projectFolder + "Other.rtf",
                           R"({\rtf1{\fonttbl{\f0 Arial;}}\b Loaded\b0\par Track\par})");
    ws_->setUnsavedChanges(false);
    QString title, filter, folder, suffix;
    back_->runOpenDialog = [&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filter = dialog->nameFilters().join('|');
        folder = dialog->directory().absolutePath();
        suffix = dialog->defaultSuffix();
        dialog->selectFile(file);
        return true;
    };
    back_->readButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    EXPECT_EQ(title, "Sleevix - Select the rtf file for the back");
    EXPECT_EQ(filter, "RichText files (*.rtf)");
    EXPECT_EQ(folder + "/", ws_->projectFolder);
    EXPECT_EQ(suffix, "rtf");
    EXPECT_EQ(back_->editor->toPlainText(), "Loaded\nTrack");
    EXPECT_TRUE(ws_->hasUnsavedChanges());

    testenv::useLanguage(QStringLiteral("NLD"));
    back_->runOpenDialog = [&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filter = dialog->nameFilters().join('|');
        return false; // cancelled
    };
    ws_->setUnsavedChanges(false);
    back_->readButton->click();
    EXPECT_EQ(title, "Sleevix - Selecteer het rtf-bestand voor de achterkant");
    EXPECT_EQ(filter, "RichText-bestanden (*.rtf)");
    EXPECT_EQ(back_->editor->toPlainText(), "Loaded\nTrack");
    EXPECT_FALSE(ws_->hasUnsavedChanges());
}

TEST_F(BackTextEditorTest, ReadingAFileThatIsNotTextFailsAndKeepsTheList) {
    makeWindows();
    typeList("my list");
    const QString file =
        testenv::writeFile(root_ + "/binary.rtf", QByteArray("\x7f"
                                                             "ELF\x02\x01\x01\0\0\0",
                                                             10));
    back_->runOpenDialog = [&](QFileDialog* dialog) {
        dialog->selectFile(file);
        return true;
    };
    ws_->setUnsavedChanges(false);
    back_->readButton->click();
    EXPECT_EQ(errors_, QStringList{"Failed to Load Stream"});
    EXPECT_EQ(back_->editor->toPlainText(), "my list");
    EXPECT_FALSE(ws_->hasUnsavedChanges());
}

TEST_F(BackTextEditorTest, ReadingPlainTextWorks) {
    makeWindows();
    const QString file = testenv::writeFile(root_ + "/list.rtf", "1. One\n2. Two\n");
    back_->runOpenDialog = [&](QFileDialog* dialog) {
        dialog->selectFile(file);
        return true;
    };
    back_->readButton->click();
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(back_->editor->toPlainText(), "1. One\n2. Two\n");
}

TEST_F(BackTextEditorTest, SaveWritesBackRtfInAFolderNamedAfterTheList) {
    makeWindows();
    back_->show();
    typeList("Velmora\n  Last Rose Of Summer  \n1.\tOne");
    const QString spine = main_->spineTextEdit->text();
    ws_->setUnsavedChanges(false);
    back_->saveButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    const QString folder = ws_->dataFolder + "Last Rose Of Summer/";
    EXPECT_TRUE(QFileInfo::exists(folder + "Back.rtf"));
    EXPECT_EQ(ws_->projectName, "Last Rose Of Summer");
    EXPECT_EQ(ws_->projectFolder, folder);
    EXPECT_EQ(main_->spineTextEdit->text(), spine);
    EXPECT_FALSE(ws_->hasUnsavedChanges());

    RichTextEdit check;
    check.loadFromFile(folder + "Back.rtf");
    EXPECT_EQ(check.toPlainText(), "Velmora\n  Last Rose Of Summer  \n1.\tOne");
}

TEST_F(BackTextEditorTest, SaveNamesTheFolderAfterTheFirstDisplayedLineOfAWrappedParagraph) {
    makeWindows();
    back_->show();
    typeList("The Complete Symphonies Of Ludwig Van Beethoven Played By The Berlin "
             "Philharmonic Orchestra Under Herbert Von Karajan\n1. Allegro");
    const QStringList lines = back_->editor->displayedLines();
    ASSERT_GT(lines.size(), 2) << "the first paragraph wraps";
    back_->saveButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    // The first displayed line, whole.
    EXPECT_EQ(ws_->projectName, BackRules::trimLine(lines[0]));
    EXPECT_TRUE(ws_->projectName.startsWith("The Complete Symphonies"));
    EXPECT_LT(ws_->projectName.size(), 80);
    EXPECT_TRUE(QFileInfo::exists(ws_->dataFolder + ws_->projectName + "/Back.rtf"));
}

TEST_F(BackTextEditorTest, SaveWithANameThatCannotBeAFolderWritesNothing) {
    makeWindows();
    back_->show();
    const QString name = ws_->projectName, folder = ws_->projectFolder;
    typeList("AC/DC - Back In Black\n1. Hells Bells");
    back_->saveButton->click();
    EXPECT_EQ(errors_, QStringList{"\"AC/DC - Back In Black\" cannot be the name of a project "
                                   "folder: it contains \"/\", which cannot stand in a folder "
                                   "name."});
    EXPECT_FALSE(QFileInfo::exists(ws_->dataFolder + "AC"));
    EXPECT_EQ(ws_->projectName, name);
    EXPECT_EQ(ws_->projectFolder, folder);
}

TEST_F(BackTextEditorTest, SaveOfAnEmptyListWritesIntoTheDataFolder) {
    makeWindows();
    back_->show();
    typeList("");
    back_->saveButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    EXPECT_TRUE(QFileInfo::exists(ws_->dataFolder + "Back.rtf"));
    EXPECT_EQ(ws_->projectName, "");
}

// A track list with bold, a colour and a tab, copied onto the back cover: the back picture is the
// editor as displayed, cut and stretched; the spine text is its first line.
TEST_F(BackTextEditorTest, CopyToBackCoverTakesTheEditorAsDisplayed) {
    makeWindows();
    main_->show();
    main_->coverScrollArea->verticalScrollBar()->setValue(300);
    back_->show();
    QTextCursor c(back_->editor->document());
    back_->editor->clear();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText("Velmora - Greatest Hits", bold);
    c.insertBlock();
    c.insertText("1.\tThe Last Rose\t", QTextCharFormat());
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    c.insertText("4:12", red);
    ws_->setUnsavedChanges(false);

    const QImage before = back_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const BackTextView shown = back_->displayedList();
    back_->copyButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));

    // The list as the copy paints it is the editor's text area as displayed, pixel for pixel.
    const QRect area = shown.textArea().translated(0, BackRules::EditorTop);
    QImage painted = before.copy();
    {
        QPainter p(&painted);
        p.fillRect(area, Qt::white);
        p.translate(0, BackRules::EditorTop);
        BackText::paintShown(p, shown);
    }
    int differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            differing += painted.pixel(x, y) != before.pixel(x, y);
    EXPECT_EQ(differing, 0) << "font, sizes, colours and wrapping as displayed";

    // Cut and stretched onto the back picture, with the product name below it.
    const QImage picture = cover_->backPicture().image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(552, 472));
    EXPECT_TRUE(picture == BackText::picture(shown, ProductName));
    // The editor's corner (5, 3) is the picture's, and its bottom edge the picture's, as the
    // window's pixels stretched: the first line's bold letters start near x = (12 - 5) * 556/547.
    const auto firstDark = [](const QImage& image, int y0, int y1, int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                if (qGray(image.pixel(x, y)) < 128)
                    return x;
        return -1;
    };
    const int inEditor = firstDark(before, area.top(), area.top() + 30, area.left(), 100);
    const int onPicture = firstDark(picture, 0, 30, 0, 100);
    ASSERT_GE(inEditor, 0);
    EXPECT_NEAR(onPicture, (inEditor - 5) * 556.0 / 547, 1.0);
    int redPixels = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 552; ++x)
            redPixels += qRed(picture.pixel(x, y)) > 200 && qGreen(picture.pixel(x, y)) < 80;
    EXPECT_GT(redPixels, 10) << "the red time is on the back";

    // In the layout's back rectangle too, and the spine text applied.
    const QImage& layout = cover_->canvas();
    int redInLayout = 0;
    for (int y = 613; y < 713; ++y)
        for (int x = 144; x < 696; ++x)
            redInLayout += qRed(layout.pixel(x, y)) > 200 && qGreen(layout.pixel(x, y)) < 80;
    EXPECT_GT(redInLayout, 10);
    EXPECT_EQ(main_->spineTextEdit->text(), "Velmora - Greatest Hits");
    EXPECT_TRUE(ws_->hasUnsavedChanges());
    EXPECT_EQ(main_->coverScrollArea->verticalScrollBar()->value(), 300)
        << "the main window stays scrolled where the user left it";
    EXPECT_FALSE(back_->isVisible());

    saveScreenshot(before, "back-editor.png");
    saveScreenshot(layout.copy(QRect(100, 580, 640, 540)), "back-in-layout.png");
}

// A track list typed as a table in LibreOffice, across the full width of an A4 page, read as a
// project is read at start (before the editor first shows): every row is one line in the
// editor, and on the back picture the right-aligned durations stand whole.
TEST_F(BackTextEditorTest, ATableFromAWordProcessorShowsAsColumns) {
    makeWindows();
    main_->show();
    back_->loadContents(testenv::sourcePath(QStringLiteral("tests/data/rtf/lo-table.rtf")));
    back_->show();
    const QStringList lines = back_->editor->displayedLines();
    for (const char* row :
         {"1\tVyšehrad\t14:52", "2\tVltava (Die Moldau)\t12:10", "4\tZ českých luhů a hájů\t13:02"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(row))) << qPrintable(lines.join('\n'));

    // On the back picture the right-aligned durations stand whole, clear of its right edge.
    back_->copyButton->click();
    const QImage picture = cover_->backPicture().image().convertToFormat(QImage::Format_RGB32);
    int darkAtTheEdge = 0, darkBeforeIt = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 500; x < picture.width(); ++x)
            (x >= 546 ? darkAtTheEdge : darkBeforeIt) += qGray(picture.pixel(x, y)) < 128;
    EXPECT_GT(darkBeforeIt, 50) << "the durations are on the back";
    EXPECT_EQ(darkAtTheEdge, 0) << "nothing cut off at the right edge";
}

TEST_F(BackTextEditorTest, CopyWithoutABackPictureMakesAWhiteOne) {
    makeWindows();
    main_->show();
    back_->show();
    cover_->forgetPictures();
    typeList("");
    back_->copyButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));
    const QImage picture = cover_->backPicture().image();
    ASSERT_EQ(picture.size(), QSize(552, 472));
    EXPECT_EQ(picture.pixel(300, 200), qRgb(255, 255, 255)) << "the empty editor is white";
    EXPECT_EQ(main_->spineTextEdit->text(), "") << "an empty list gives an empty spine text";
}

TEST_F(BackTextEditorTest, TextScrolledOutOfSightDoesNotReachThePicture) {
    makeWindows();
    main_->show();
    back_->show();
    back_->editor->clear();
    QTextCursor c(back_->editor->document());
    for (int i = 1; i <= 60; ++i)
        c.insertText(QStringLiteral("%1. Track\n").arg(i));
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontPointSize(30);
    c.insertText("HIDDEN", red);
    const auto redPixels = [&] {
        const QImage picture = cover_->backPicture().image().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += qRed(picture.pixel(x, y)) > 200 && qGreen(picture.pixel(x, y)) < 80;
        return n;
    };

    back_->editor->verticalScrollBar()->setValue(0);
    back_->copyButton->click();
    EXPECT_EQ(redPixels(), 0);
    EXPECT_EQ(main_->spineTextEdit->text(), "2. Track") << "line 1 is short, so line 2";

    back_->show();
    back_->editor->verticalScrollBar()->setValue(back_->editor->verticalScrollBar()->maximum());
    back_->copyButton->click();
    EXPECT_GT(redPixels(), 50);
}

} // namespace

// A list typed into the editor and left there (Cancel, or the editor simply open) was lost
// without a question when the program closed.
TEST_F(BackTextEditorTest, TypingTheListMakesClosingAskToSave) {
    makeWindows();
    ASSERT_FALSE(ws_->hasUnsavedChanges());
    back_->show();
    back_->editor->setFocus();
    back_->editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(back_->editor, "9. Bonus Track");
    back_->closeButton->click();
    EXPECT_TRUE(ws_->hasUnsavedChanges());

    int asked = 0;
    main_->services.askSaveProject = [&] {
        ++asked;
        return SaveAnswer::Cancel;
    };
    EXPECT_FALSE(main_->confirmClose());
    EXPECT_EQ(asked, 1);
}
