// The options window: its controls, texts, colours and buttons, and the settings surviving a
// quit and a restart of the program.
#include "StoreFixture.h"

#include "controls/ColourButton.h"
#include "dialogs/ErrorGuard.h"
#include "platform/Fonts.h"
#include "settings/OptionsDialog.h"
#include "support/WindowPlacement.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QColor FormColor(255, 255, 227);
const QColor hoverColor(255, 255, 136);

class OptionsDialogTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        installFontSubstitutes();
        errors_.clear();
        ErrorGuard::setReporter(qApp, [this](const QString& message) { errors_ << message; });
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        StoreTest::TearDown();
    }

    // Shows the window modally and presses the button once it is up; gives the result.
    static int execAndClick(OptionsDialog& form, QAbstractButton* button) {
        QTimer::singleShot(0, &form, [button] { button->click(); });
        return form.exec();
    }

    // What the program does at closing after the main window's question: the main window
    // writes its place and the data folder, the options are saved, and at the end the options
    // window is destroyed.
    void closeProgram(std::unique_ptr<OptionsDialog>& form) {
        {
            RegistryStore store;
            store.writeInteger(SettingsSection, QStringLiteral("Left"), 200);
            store.writeInteger(SettingsSection, QStringLiteral("Top"), 100);
            store.writeString(SettingsSection, QStringLiteral("Path for Data"), ws_.dataFolder);
            store.flush();
        }
        form->saveSettings();
        form.reset();
    }

    // A new run: the start-up facts, then the main window's first DataFolder, then the options.
    std::unique_ptr<OptionsDialog> startProgram() {
        ws_.dataFolder = startDataFolder_;
        ws_.projectName.clear();
        ws_.projectFolder.clear();
        ws_.autoUpdateEnabled = false;
        return std::make_unique<OptionsDialog>(ws_);
    }

    QStringList errors_;
};

TEST_F(OptionsDialogTest, ControlsAreAtTheirPlaces) {
    OptionsDialog form(ws_);
    struct Place {
        QWidget* control;
        QWidget* parent;
        QRect rect;
    };
    const Place places[] = {
        {form.dataFolderGroup, &form, {15, 13, 588, 106}},
        {form.dataFolderEdit, form.dataFolderGroup, {26, 47, 409, 26}},
        {form.copyCheckBox, form.dataFolderGroup, {27, 74, 334, 21}},
        {form.browseButton, form.dataFolderGroup, {449, 42, 119, 30}},
        {form.updateGroup, &form, {15, 128, 262, 99}},
        {form.autoUpdateCheckBox, form.updateGroup, {26, 25, 232, 18}},
        {form.checkNowButton, form.updateGroup, {74, 54, 119, 31}},
        {form.okButton, &form, {334, 161, 120, 35}},
        {form.cancelButton, &form, {470, 162, 120, 35}},
    };
    for (const Place& p : places) {
        EXPECT_EQ(p.control->parentWidget(), p.parent) << p.control->metaObject()->className();
        EXPECT_EQ(p.control->geometry(), p.rect) << p.control->metaObject()->className();
    }
    EXPECT_EQ(form.dataFolderLabel->parentWidget(), form.dataFolderGroup);
    EXPECT_EQ(form.dataFolderLabel->pos(), QPoint(26, 24));
    // Tab order in the folder group: browse first, then the path.
    EXPECT_EQ(form.browseButton->nextInFocusChain(), form.dataFolderEdit);
    EXPECT_TRUE(form.copyCheckBox->isChecked());
    EXPECT_EQ(form.okButton->modalResult(), 1);
    EXPECT_EQ(form.cancelButton->modalResult(), 2);
    EXPECT_TRUE(form.okButton->font().bold());
    EXPECT_TRUE(form.checkNowButton->font().bold());
    EXPECT_EQ(form.dataFolderGroup->font().pixelSize(), 15);
    EXPECT_EQ(form.font().pixelSize(), 16);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join(u'\n').toStdString();
}

TEST_F(OptionsDialogTest, TextsFollowTheLanguageAtEveryPaint) {
    OptionsDialog form(ws_);
    struct Texts {
        const char* code;
        const char* title;
        const char* pathGroup;
        const char* pathLabel;
        const char* browse;
        const char* copy;
        const char* update;
        const char* check;
        const char* cancel;
    };
    const Texts languages[] = {
        {"NLD", "Sleevix - Instellingen", " Plaats voor de bestanden ",
         "Geef het nieuwe pad voor de bestanden:", "Bladeren", "Kopieer bestanden naar nieuwe map",
         " \"Check voor Updates\" Aan ", "Check Nu", "Annuleren"},
        {"ENU", "Sleevix - Options", " Location for Data Files ",
         "Enter new Location for Data Files:", "Browse", "Copy Files to new Directory",
         "\"Check for Updates\" On", "Check Now", "Cancel"},
    };
    // The same window, painted again after the language changed, shows the other texts.
    for (const Texts& t : languages) {
        testenv::useLanguage(QString::fromLatin1(t.code));
        form.grab();
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8(t.title)) << t.code;
        EXPECT_EQ(form.dataFolderGroup->title(), QString::fromUtf8(t.pathGroup));
        EXPECT_EQ(form.dataFolderLabel->text(), QString::fromUtf8(t.pathLabel));
        EXPECT_EQ(form.browseButton->text(), QString::fromUtf8(t.browse));
        EXPECT_EQ(form.copyCheckBox->text(), QString::fromUtf8(t.copy));
        EXPECT_EQ(form.updateGroup->title(), QStringLiteral(" Update "));
        EXPECT_EQ(form.autoUpdateCheckBox->text(), QString::fromUtf8(t.update));
        EXPECT_EQ(form.checkNowButton->text(), QString::fromUtf8(t.check));
        EXPECT_EQ(form.okButton->text(), QStringLiteral("OK"));
        EXPECT_EQ(form.cancelButton->text(), QString::fromUtf8(t.cancel));
    }
}

TEST_F(OptionsDialogTest, ColoursOfWindowAndButtons) {
    OptionsDialog form(ws_);
    const QImage shot = form.grab().toImage();
    // Corners of the window and the gap under the update group are window background.
    EXPECT_EQ(QColor(shot.pixel(3, 3)), FormColor);
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 4, shot.height() - 4)), FormColor);
    EXPECT_EQ(QColor(shot.pixel(300, 240)), FormColor);
    // Inside a group, beside its controls, the window's colour shows through.
    EXPECT_EQ(QColor(shot.pixel(15 + 300, 128 + 50)), FormColor);
    EXPECT_EQ(QColor(shot.pixel(15 + 580, 13 + 90)), FormColor);
    for (ColourButton* button :
         {form.browseButton, form.checkNowButton, form.okButton, form.cancelButton}) {
        EXPECT_EQ(button->backColor(), FormColor) << button->text().toStdString();
        EXPECT_EQ(button->hoverColor(), hoverColor) << button->text().toStdString();
    }
    // The face of OK, left of its caption.
    EXPECT_EQ(QColor(shot.pixel(334 + 8, 161 + 17)), FormColor);
}

TEST_F(OptionsDialogTest, CreationLoadsTheStoredSettingsAndPlacesTheWindow) {
    writeStore("[Defaults]\nAutoUpdate=0\nPath%20for%20Data=/srv/covers/\n"
               "Project%20Name=Cover A\nOptionsTop=-20\nOptionsLeft=250\n");
    OptionsDialog form(ws_);
    EXPECT_FALSE(form.autoUpdateCheckBox->isChecked());
    EXPECT_FALSE(ws_.autoUpdateEnabled);
    EXPECT_EQ(form.dataFolderEdit->text(), QStringLiteral("/srv/covers/"));
    EXPECT_EQ(ws_.projectFolder, QStringLiteral("/srv/covers/Cover A/"));
    // A negative top gives 100; the window is kept inside the (800 pixel wide) test screen.
    EXPECT_EQ(form.pos(), keepOnScreen(QPoint(250, 100), form.frameGeometry().size(),
                                       availableScreenAreas(), QPoint(100, 100)));
    EXPECT_EQ(form.pos().y(), 100);
    EXPECT_LE(form.frameGeometry().right(), form.screen()->availableGeometry().right());
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(OptionsDialogTest, FirstStartOpensAt100And100WithUpdatesOn) {
    OptionsDialog form(ws_);
    EXPECT_EQ(form.pos(), QPoint(100, 100));
    EXPECT_TRUE(form.autoUpdateCheckBox->isChecked());
    EXPECT_EQ(form.dataFolderEdit->text(), startDataFolder_);
}

TEST_F(OptionsDialogTest, OkSavesAndEndsWithOneWithoutChangingTheRunningUpdateOption) {
    OptionsDialog form(ws_);
    form.autoUpdateCheckBox->setChecked(false);
    EXPECT_EQ(execAndClick(form, form.okButton), 1);
    EXPECT_TRUE(ws_.autoUpdateEnabled);
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("AutoUpdate")), QStringLiteral("0"));
    EXPECT_EQ(readText(QStringLiteral("Path for Data")), startDataFolder_);
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(OptionsDialogTest, CancelReadsEverythingBackAndEndsWithTwo) {
    writeStore("[Defaults]\nAutoUpdate=1\nProject%20Name=Stored\nOptionsTop=150\n");
    OptionsDialog form(ws_);
    // A folder just chosen survives Cancel while no folder is stored: it is its own default.
    form.useChosenFolder(QStringLiteral("/srv/chosen"));
    EXPECT_EQ(form.dataFolderEdit->text(), QStringLiteral("/srv/chosen/"));
    EXPECT_EQ(ws_.projectFolder, QStringLiteral("/srv/chosen/Stored/"));
    form.autoUpdateCheckBox->setChecked(false);
    ws_.projectName = QStringLiteral("Changed");
    form.move(400, 400);
    EXPECT_EQ(execAndClick(form, form.cancelButton), 2);
    EXPECT_TRUE(form.autoUpdateCheckBox->isChecked());
    EXPECT_EQ(ws_.projectName, QStringLiteral("Stored"));
    EXPECT_EQ(ws_.dataFolder, QStringLiteral("/srv/chosen/"));
    EXPECT_EQ(form.y(), 150);

    // A stored folder replaces one chosen since.
    writeStore("[Defaults]\nPath%20for%20Data=/srv/stored/\nProject%20Name=Stored again\n");
    form.useChosenFolder(QStringLiteral("/srv/other/"));
    EXPECT_EQ(execAndClick(form, form.cancelButton), 2);
    EXPECT_EQ(form.dataFolderEdit->text(), QStringLiteral("/srv/stored/"));
    EXPECT_EQ(ws_.projectFolder, QStringLiteral("/srv/stored/Stored again/"));
}

// Closing the window or pressing Escape kept the cleared check box, and the program's end then
// stored the change the user had walked away from.
TEST_F(OptionsDialogTest, ClosingTheWindowOrEscapeIsCancel) {
    OptionsDialog form(ws_);
    form.autoUpdateCheckBox->setChecked(false);
    QTimer::singleShot(0, &form, [&form] { form.close(); });
    EXPECT_EQ(form.exec(), 2);
    EXPECT_TRUE(form.autoUpdateCheckBox->isChecked());

    form.autoUpdateCheckBox->setChecked(false);
    QTimer::singleShot(0, &form, [&form] { QTest::keyClick(&form, Qt::Key_Escape); });
    EXPECT_EQ(form.exec(), 2);
    EXPECT_TRUE(form.autoUpdateCheckBox->isChecked());
    form.saveSettings(); // as at the program's end
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("AutoUpdate")), QStringLiteral("1"));
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(OptionsDialogTest, BrowseChoosesTheDataFolder) {
    writeStore("[Defaults]\nProject%20Name=Cover B\n");
    OptionsDialog form(ws_);
    QList<OptionsDialog::FolderQuestion> asked;
    std::optional<QString> answer = QStringLiteral("/srv/chosen/");
    form.chooseFolder = [&](const OptionsDialog::FolderQuestion& q) {
        asked << q;
        return answer;
    };
    form.browseButton->click();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].start, startDataFolder_);
    EXPECT_EQ(asked[0].caption, QStringLiteral("Sleevix - Path for files"));
    EXPECT_EQ(asked[0].heading, QStringLiteral("Select the Path for the Files\r\nen klik op OK."));
    EXPECT_EQ(form.dataFolderEdit->text(), QStringLiteral("/srv/chosen/"));
    EXPECT_EQ(ws_.dataFolder, QStringLiteral("/srv/chosen/"));
    EXPECT_EQ(ws_.projectFolder, QStringLiteral("/srv/chosen/Cover B/"));

    // Cancelled, or nothing chosen: nothing changes.
    for (const std::optional<QString>& nothing :
         {std::optional<QString>(), std::optional<QString>(QString())}) {
        answer = nothing;
        form.browseButton->click();
        EXPECT_EQ(asked.last().start, QStringLiteral("/srv/chosen/"));
        EXPECT_EQ(form.dataFolderEdit->text(), QStringLiteral("/srv/chosen/"));
        EXPECT_EQ(ws_.dataFolder, QStringLiteral("/srv/chosen/"));
    }
    EXPECT_EQ(execAndClick(form, form.okButton), 1);
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("Path for Data")), QStringLiteral("/srv/chosen/"));
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(OptionsDialogTest, DestroyingTheWindowSavesAndStoresItsPlace) {
    auto form = std::make_unique<OptionsDialog>(ws_);
    form->autoUpdateCheckBox->setChecked(false);
    form->useChosenFolder(QStringLiteral("/srv/end"));
    form->move(321, 222);
    form.reset();
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("OptionsTop")), QStringLiteral("222"));
    EXPECT_EQ(readText(QStringLiteral("OptionsLeft")), QStringLiteral("321"));
    EXPECT_EQ(readText(QStringLiteral("AutoUpdate")), QStringLiteral("0"));
    EXPECT_EQ(readText(QStringLiteral("Path for Data")), QStringLiteral("/srv/end/"));
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(OptionsDialogTest, BadValueIsShownOnceAtCreationAndTheRestIsLoaded) {
    writeStore("[Defaults]\nAutoUpdate=@ByteArray(1)\nProject%20Name=Cover D\n");
    OptionsDialog form(ws_);
    EXPECT_EQ(errors_, QStringList{QStringLiteral("Invalid data type for 'AutoUpdate'")});
    EXPECT_TRUE(form.autoUpdateCheckBox->isChecked());
    EXPECT_EQ(ws_.projectName, QStringLiteral("Cover D"));
    EXPECT_EQ(form.dataFolderEdit->text(), startDataFolder_);
}

TEST_F(OptionsDialogTest, OkOnAnUnwritableStoreShowsTheFailureAndKeepsTheOldFile) {
    writeStore("[Defaults]\nAutoUpdate=1\n");
    OptionsDialog form(ws_);
    // The store's folder is replaced by a plain file: no new file can be made there.
    const QString folder = QFileInfo(storeFile()).absolutePath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    testenv::writeFile(folder, "in the way");
    form.autoUpdateCheckBox->setChecked(false);
    EXPECT_EQ(execAndClick(form, form.okButton), 1);
    EXPECT_EQ(errors_, QStringList{QStringLiteral("Failed to set data for 'AutoUpdate'\nA part of the path is not a folder.")});
}

TEST_F(OptionsDialogTest, CheckNowIsGivenTheWindowsRectangle) {
    OptionsDialog form(ws_);
    form.move(120, 130);
    QRect got;
    form.checkNow = [&](const QRect& caller) { got = caller; };
    form.checkNowButton->click();
    EXPECT_EQ(got, form.frameGeometry());
    EXPECT_EQ(got.topLeft(), QPoint(120, 130));
}

// A new user changes the update option and the data folder, quits, starts again and finds both
// as left; a run in which nothing changes leaves the store as it was.
TEST_F(OptionsDialogTest, SettingsSurviveQuitAndRestart) {
    const QString chosen = testenv::freshFolder(QStringLiteral("MyCovers")) + PathDelim;

    auto form = startProgram();
    EXPECT_TRUE(ws_.autoUpdateEnabled);
    form->autoUpdateCheckBox->setChecked(false);
    form->useChosenFolder(chosen);
    EXPECT_EQ(execAndClick(*form, form->okButton), 1);
    closeProgram(form);
    const QByteArray afterFirstRun = storeBytes();

    restartProgram();
    form = startProgram();
    EXPECT_FALSE(form->autoUpdateCheckBox->isChecked());
    EXPECT_FALSE(ws_.autoUpdateEnabled);
    EXPECT_EQ(ws_.dataFolder, chosen);
    EXPECT_EQ(form->dataFolderEdit->text(), chosen);
    EXPECT_EQ(ws_.projectName, QStringLiteral("Velmora - Last Rose Of Summer 2002"));
    EXPECT_EQ(ws_.projectFolder, chosen + ws_.projectName + PathDelim);
    EXPECT_EQ(form->pos(), QPoint(100, 100));
    closeProgram(form);
    EXPECT_EQ(storeBytes(), afterFirstRun);

    restartProgram();
    form = startProgram();
    EXPECT_FALSE(ws_.autoUpdateEnabled);
    EXPECT_EQ(ws_.dataFolder, chosen);
    closeProgram(form);
    EXPECT_EQ(storeBytes(), afterFirstRun);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join(u'\n').toStdString();
}

// Pictures of the window in both languages, for a person to look at.
TEST_F(OptionsDialogTest, ScreenshotsInBothLanguages) {
    const QString folder = QStringLiteral(SLEEVIX_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    for (const char* code : {"NLD", "ENU"}) {
        testenv::useLanguage(QString::fromLatin1(code));
        OptionsDialog form(ws_);
        form.grab(); // a first paint sets the texts
        const QImage shot = form.grab().toImage();
        EXPECT_EQ(shot.size(), QSize(623, 247));
        EXPECT_TRUE(shot.save(folder + QStringLiteral("/options-%1.png").arg(code)));
    }
}

} // namespace
