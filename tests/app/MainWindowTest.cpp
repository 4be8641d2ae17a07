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

TEST_F(MainWindowTest, AProjectFolderWithoutItsFrontPictureStopsAfterTheTemplate) {
    auto form = makeForm();
    QDir().mkpath(ws_->projectFolder);
    try {
        form->handleShow();
        ADD_FAILURE() << "no error for the missing picture";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Cannot open file %1Front.jpg").arg(ws_->projectFolder));
    }
    EXPECT_EQ(cover_->canvas().pixel(177, 57), qRgb(0, 0, 0));
    EXPECT_NE(form->spineTextEdit->text(), ws_->projectName) << "the later steps were not done";
}

TEST_F(MainWindowTest, ControlsAndTextsByLanguage) {
    testenv::useLanguage(QStringLiteral("NLD"));
    auto dutch = makeForm();
    EXPECT_EQ(dutch->newProjectButton->text(), "Nieuw Project");
    EXPECT_EQ(dutch->closeButton->text(), "Sluit af");
    EXPECT_EQ(dutch->versionText, "versie 1.10c");
    EXPECT_EQ(dutch->optionsButton->text(), "Instellingen");
    testenv::useLanguage(QStringLiteral("ENU"));
    auto english = makeForm();
    EXPECT_EQ(english->optionsButton->text(), "Instellingen");
    EXPECT_EQ(english->readFrontPictureButton->text(), "Read Front Picture");
    EXPECT_EQ(english->spineTextEdit->maxLength(), 51);
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
    EXPECT_EQ(form->pos(), QPoint(200, 100));

    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(-1920, 0, 1920, 1080)};
    EXPECT_EQ(keepOnScreen({-1500, 40}, {866, 900}, screens, {200, 100}), QPoint(-1500, 40));
    EXPECT_EQ(keepOnScreen({-5000, 40}, {866, 900}, screens, {200, 100}), QPoint(200, 100));
    EXPECT_EQ(keepOnScreen({1260, 500}, {866, 900}, screens, {200, 100}), QPoint(200, 100));
    EXPECT_EQ(keepOnScreen({300, -10}, {866, 900}, screens, {200, 100}), QPoint(300, -10));
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
    EXPECT_FALSE(hasDarkPixel(layout, QRect(0, 0, 110, 600))) << "nothing above the left spine";
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
