#include "app/MainWindow.h"
#include "TestEnv.h"
#include "controls/ImageView.h"
#include "cover/Cover.h"
#include "cover/CoverLayout.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"
#include "support/WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Each test gets its own settings and data folders, and starts in an empty folder (the sample
// files are then found beside the program, here the build folder).
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("main"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        ws_->autoUpdateEnabled = true;
    }
    void TearDown() override {
        QDir::setCurrent(savedDir_);
        ErrorGuard::setReporter(qApp, nullptr);
    }

    std::unique_ptr<MainWindow> makeForm() {
        auto form = std::make_unique<MainWindow>(*ws_, *cover_);
        loadSettingsValues(*ws_);
        return form;
    }

    QString storeValue(const QString& name) {
        QSettings ini(RegistryStore::defaultLocation(), QSettings::IniFormat);
        return ini.value(QStringLiteral("Defaults/") + name).toString();
    }

    QString root_;
    QString savedDir_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
};

bool isWhite(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(255, 255, 255);
}

TEST_F(MainWindowTest, FirstStartMakesAndShowsTheSampleProject) {
    auto form = makeForm();
    EXPECT_EQ(ws_->dataFolder, root_ + QStringLiteral("/data/Sleevix/"));
    EXPECT_EQ(ws_->projectName, "Velmora - Last Rose Of Summer 2002");
    EXPECT_EQ(ws_->projectFolder, ws_->dataFolder + ws_->projectName + u'/');
    form->handleShow();

    for (const char* name : {"Front.jpg", "Back.bmp", "Back.rtf"})
        EXPECT_TRUE(QFileInfo::exists(ws_->projectFolder + QLatin1String(name))) << name;
    EXPECT_EQ(form->windowTitle(), "Sleevix - version 1.10c");
    EXPECT_EQ(form->spineTextEdit->text(), ws_->projectName);
    EXPECT_FALSE(ws_->hasUnsavedChanges());

    const QImage& layout = cover_->canvas();
    EXPECT_EQ(layout.size(), QSize(845, 1188));
    EXPECT_EQ(layout.pixel(177, 57), qRgb(0, 0, 0)) << "front frame";
    EXPECT_FALSE(isWhite(layout, 420, 300)) << "front picture in its square";
    EXPECT_EQ(layout.pixel(179, 300), qRgb(255, 255, 255)) << "between frame and picture";
    EXPECT_FALSE(isWhite(layout, 180, 60));
    EXPECT_TRUE(isWhite(layout, 660, 300)) << "the front rectangle's right edge is exclusive";
    EXPECT_EQ(form->frontPictureView->geometry(), QRect(181, 61, 480, 480));
    EXPECT_EQ(form->backPictureView->geometry(), QRect(145, 614, 552, 472));
    EXPECT_EQ(form->leftSpineView->geometry(), QRect(118, 612, 23, 472));
    EXPECT_EQ(form->rightSpineView->geometry(), QRect(700, 612, 23, 472));
    EXPECT_EQ(cover_->backPicture().image().size(), QSize(552, 472));

    int spineInk = 0;
    for (int y = 900; y < 1074; ++y)
        for (int x = 119; x < 140; ++x)
            spineInk += qGray(layout.pixel(x, y)) < 128;
    EXPECT_GT(spineInk, 100) << "the project name on the left spine";

    // A second showing (restored from minimised) does nothing again.
    form->spineTextEdit->setText(QStringLiteral("changed"));
    form->handleShow();
    EXPECT_EQ(form->spineTextEdit->text(), "changed");
}

// A project folder that lacks its front picture, or holds a damaged one, still opens: the back,
// the list and the spine text load, and the failing file is named once. Before, the start
// stopped at "JPEG error #n" (no file named) with an empty template and the field's placeholder.
TEST_F(MainWindowTest, AProjectThatCannotBeFullyReadOpensWhatItCan) {
    for (const QByteArray& front : {QByteArray(), QByteArray("\xff\xd8\xff damaged")}) {
        auto form = makeForm();
        QList<QString> loaded;
        form->services.loadBackText = [&](const QString& file) { loaded << file; };
        QDir().mkpath(ws_->projectFolder);
        QFile::remove(ws_->projectFolder + "Front.jpg");
        QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/Back.bmp"),
                    ws_->projectFolder + "Back.bmp");
        testenv::writeFile(ws_->projectFolder + "Back.rtf", "{\\rtf1 list}");
        if (!front.isEmpty())
            testenv::writeFile(ws_->projectFolder + "Front.jpg", front);

        const QString error = testenv::errorOf([&] { form->handleShow(); });
        const QString file = ws_->projectFolder + QStringLiteral("Front.jpg");
        if (front.isEmpty())
            EXPECT_EQ(error, "Cannot open file " + file);
        else
            EXPECT_TRUE(error.startsWith(file + ": JPEG error #")) << qPrintable(error);
        EXPECT_EQ(error.count(file), 1) << "named once";
        EXPECT_EQ(cover_->canvas().pixel(177, 57), qRgb(0, 0, 0)) << "template drawn";
        EXPECT_EQ(cover_->backPicture().image().size(), QSize(552, 472)) << "the back loaded";
        EXPECT_EQ(loaded, QList<QString>{ws_->projectFolder + "Back.rtf"});
        EXPECT_EQ(form->spineTextEdit->text(), ws_->projectName) << "not the placeholder";
        EXPECT_FALSE(ws_->hasUnsavedChanges());
        EXPECT_TRUE(form->firstShowingDone);
    }
}

// A stored name longer than the 51 characters the user may type (a project read from a folder
// of a longer name): the name stays whole in the field, on the spines and in the store, and the
// folder it names opens and is found at the next start.
TEST_F(MainWindowTest, AStoredNameLongerThanTheTypingLimitStaysWholeAndItsFolderOpens) {
    const QString name = QStringLiteral("Velmora - The Complete Last Rose Of Summer Sessions, "
                                        "Recorded Live 2002-2024");
    ASSERT_EQ(name.size(), 76);
    {
        QSettings ini(RegistryStore::defaultLocation(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Defaults/Project Name"), name);
    }
    auto form = makeForm();
    EXPECT_EQ(ws_->projectName, name);
    EXPECT_EQ(ws_->projectFolder, ws_->dataFolder + name + u'/');
    QDir().mkpath(ws_->projectFolder);
    for (const char* file : {"Front.jpg", "Back.bmp", "Back.rtf"})
        QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/") + QLatin1String(file),
                    ws_->projectFolder + QLatin1String(file));
    form->handleShow();
    EXPECT_EQ(form->spineTextEdit->text(), name);
    EXPECT_EQ(cover_->spineText(), name);
    EXPECT_FALSE(cover_->frontPicture().isEmpty());
    saveSettingsValues(*ws_, true);
    EXPECT_EQ(storeValue(QStringLiteral("Project Name")), name) << "found again at the next start";
}

TEST_F(MainWindowTest, ControlsAndTextsByLanguage) {
    testenv::useLanguage(QStringLiteral("NLD"));
    auto dutch = makeForm();
    EXPECT_EQ(dutch->newProjectButton->text(), "&Nieuw Project");
    EXPECT_EQ(dutch->closeButton->text(), "&Sluit af");
    EXPECT_EQ(dutch->versionText, "versie 1.10c");
    EXPECT_EQ(dutch->optionsButton->text(), "&Instellingen");
    testenv::useLanguage(QStringLiteral("ENU"));
    auto english = makeForm();
    EXPECT_EQ(english->optionsButton->text(), "&Instellingen");
    EXPECT_EQ(english->readFrontPictureButton->text(), "Read &Front Picture");
    english->spineTextEdit->clear();
    QTest::keyClicks(english->spineTextEdit, QString(60, u'x'));
    EXPECT_EQ(english->spineTextEdit->text(), QString(51, u'x')) << "51 characters typed";
    EXPECT_EQ(english->spineTextEdit->geometry(), QRect(264, 141, 469, 25));
    EXPECT_EQ(english->applySpineTextButton->geometry(), QRect(748, 136, 85, 33));
    EXPECT_FALSE(english->helpButton->isEnabled());
    EXPECT_EQ(english->width(), 866);
    english->resize(1200, 300);
    EXPECT_EQ(english->width(), 866) << "the user cannot change the size";
}

TEST_F(MainWindowTest, ClosingAsksOnlyAfterAChangeAndCancelWritesNothing) {
    auto form = makeForm();
    form->handleShow();
    int asked = 0;
    SaveAnswer answer = SaveAnswer::Cancel;
    form->services.askSaveProject = [&] {
        ++asked;
        return answer;
    };
    int saved = 0;
    form->services.saveProject = [&] { ++saved; };

    form->applySpineText();
    EXPECT_TRUE(ws_->hasUnsavedChanges());
    EXPECT_FALSE(form->confirmClose());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(storeValue(QStringLiteral("Left")), QString()) << "Cancel writes nothing";

    answer = SaveAnswer::Yes;
    EXPECT_TRUE(form->confirmClose());
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(storeValue(QStringLiteral("Left")), QString::number(form->x()));
    EXPECT_EQ(storeValue(QStringLiteral("Path for Data")), ws_->dataFolder);

    ws_->setUnsavedChanges(false);
    EXPECT_TRUE(form->confirmClose());
    EXPECT_EQ(asked, 2) << "nothing changed: no question";
}

TEST_F(MainWindowTest, AFailedSaveAtClosingKeepsTheProgramOpen) {
    auto form = makeForm();
    form->handleShow();
    QStringList shown;
    ErrorGuard::setReporter(qApp, [&](const QString& m) { shown << m; });
    form->services.askSaveProject = [] { return SaveAnswer::Yes; };
    form->services.saveProject = [] { throw AppError(QStringLiteral("Cannot create file X")); };
    form->applySpineText();
    EXPECT_FALSE(form->confirmClose());
    EXPECT_EQ(shown, QStringList{"Cannot create file X"});
}

TEST_F(MainWindowTest, StoredPositionsThatAreNoNumberOrOffScreenFallBack) {
    {
        QSettings ini(RegistryStore::defaultLocation(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Defaults/Left"), QStringLiteral("abc"));
        ini.setValue(QStringLiteral("Defaults/Top"), QStringLiteral("-20000"));
    }
    auto form = makeForm();
    form->handleShow();
    const QRect area = form->screen()->availableGeometry();
    EXPECT_EQ(form->pos(),
              keepOnScreen({200, 100}, form->frameGeometry().size(), {area}, {200, 100}));
    EXPECT_GE(form->frameGeometry().top(), area.top());
    EXPECT_LE(form->frameGeometry().bottom(), area.bottom());
}

// The main window is as high as the screen above the task bar less 50 pixels, its title bar
// included; it was as high as the whole screen less 50, and its bottom hung below the task bar
// or off the screen from the default place (top 100).
TEST_F(MainWindowTest, TheMainWindowFitsTheAvailableScreen) {
    auto form = makeForm();
    form->show();
    form->handleShow();
    const QRect area = form->screen()->availableGeometry();
    EXPECT_EQ(form->frameGeometry().height(), area.height() - 50);
    // Wider than the test screen (800 pixels), it starts at its left edge; no part hangs below.
    EXPECT_GE(form->frameGeometry().top(), area.top());
    EXPECT_LE(form->frameGeometry().bottom(), area.bottom());
    if (form->frameGeometry().width() <= area.width())
        EXPECT_TRUE(area.contains(form->frameGeometry()));
    else
        EXPECT_EQ(form->frameGeometry().left(), area.left());
    form->resize(form->width(), area.height());
    EXPECT_EQ(form->frameGeometry().height(), area.height() - 50) << "the size stays fixed";
}

TEST_F(MainWindowTest, AnEmptyStoredProjectNameOpensTheSampleProject) {
    {
        QSettings ini(RegistryStore::defaultLocation(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Defaults/Project Name"), QString());
    }
    auto form = makeForm();
    EXPECT_TRUE(ws_->projectName.isEmpty());
    form->handleShow(); // no error: the data folder itself is not taken for the project
    EXPECT_EQ(ws_->projectName, DefaultProjectName);
    EXPECT_EQ(form->spineTextEdit->text(), DefaultProjectName);
    EXPECT_TRUE(
        QFileInfo::exists(ws_->dataFolder + DefaultProjectName + QStringLiteral("/Front.jpg")));
}

TEST_F(MainWindowTest, ABadFrontPictureLeavesTheLayoutAsItWas) {
    auto form = makeForm();
    form->handleShow();
    const QImage before = cover_->canvas();
    const QString bad =
        testenv::writeFile(root_ + QStringLiteral("/bad.jpg"), "\xff\xd8\xff garbage");
    EXPECT_THROW(cover_->loadFrontPicture(bad), AppError);
    EXPECT_EQ(cover_->canvas(), before);
}

} // namespace

namespace {

TEST_F(MainWindowTest, PaintingSwitchesTheUpdateTimerWithoutRestartingIt) {
    auto form = makeForm();
    int checks = 0;
    form->services.checkForUpdate = [&] { ++checks; };
    ws_->autoUpdateEnabled = false;
    form->handlePaint();
    EXPECT_FALSE(form->updateTimer->isActive());
    ws_->autoUpdateEnabled = true;
    form->handlePaint();
    ASSERT_TRUE(form->updateTimer->isActive());
    EXPECT_EQ(form->updateTimer->interval(), 60000);
    form->updateTimer->setInterval(200);
    form->updateTimer->start();
    QTest::qWait(120);
    form->handlePaint(); // a paint while it runs must not restart it
    EXPECT_LE(form->updateTimer->remainingTime(), 100);
    QTest::qWait(150);
    EXPECT_EQ(checks, 1);
    EXPECT_FALSE(form->updateTimer->isActive()) << "off after a check until the next paint";
}

} // namespace

namespace {

bool hasDarkPixel(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

// A data folder that cannot be made stops the first showing before the template is drawn; the
// spine text applied afterwards was written over the canvas's top-left corner.
TEST_F(MainWindowTest, SpineTextAfterAFailedStartLandsOnTheSpines) {
    auto form = makeForm();
    const QString file = testenv::writeFile(root_ + QStringLiteral("/a-file"), "x");
    ws_->dataFolder = file + QStringLiteral("/Sleevix/");
    ws_->projectFolder = ws_->dataFolder + ws_->projectName + u'/';
    QStringList errors;
    ErrorGuard::setReporter(qApp, [&](const QString& message) { errors << message; });
    ErrorGuard::run(form.get(), [&] { form->handleShow(); });
    ASSERT_EQ(errors.size(), 1);

    form->spineTextEdit->setText(QStringLiteral("Night Ferry - Harbour Lights"));
    form->applySpineText();
    const QImage& layout = cover_->canvas();
    // The template is drawn although the project could not be made; beside it, nothing.
    QImage templateOnly = Layout::newLayoutImage(layout.width());
    Canvas canvas(&templateOnly);
    Layout::drawTemplate(canvas);
    const QRect corner(0, 0, 110, 600);
    EXPECT_EQ(layout.copy(corner), templateOnly.copy(corner)) << "nothing above the left spine";
    EXPECT_TRUE(hasDarkPixel(layout, QRect(118, 612, 23, 472))) << "left spine";
    EXPECT_TRUE(hasDarkPixel(layout, QRect(700, 612, 23, 472))) << "right spine";
}

// A spine text typed but not applied was dropped without a question at closing, although a save
// takes exactly that text.
TEST_F(MainWindowTest, TypingASpineTextMakesClosingAsk) {
    auto form = makeForm();
    form->handleShow();
    ASSERT_FALSE(ws_->hasUnsavedChanges());
    form->spineTextEdit->setFocus();
    form->spineTextEdit->selectAll();
    QTest::keyClicks(form->spineTextEdit, QStringLiteral("Night Ferry"));
    EXPECT_TRUE(ws_->hasUnsavedChanges());
    int asked = 0;
    form->services.askSaveProject = [&] {
        ++asked;
        return SaveAnswer::Cancel;
    };
    EXPECT_FALSE(form->confirmClose());
    EXPECT_EQ(asked, 1);
}
