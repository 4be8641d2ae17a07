#include "TestEnv.h"
#include "app/CoverLayout.h"
#include "app/ErrorGuard.h"
#include "app/ImageControl.h"
#include "app/Main.h"
#include "app/WindowPlacement.h"
#include "platform/AppError.h"
#include "platform/RegistryStore.h"

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
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("main"));
        AutoUpdateEnabled = true;
    }
    void TearDown() override {
        QDir::setCurrent(savedDir_);
        ErrorGuard::SetReporter(nullptr);
    }

    std::unique_ptr<TMainForm> makeForm() {
        auto form = std::make_unique<TMainForm>();
        LoadSettingsValues();
        return form;
    }

    QString storeValue(const QString& name) {
        QSettings ini(RegistryStore::Location(), QSettings::IniFormat);
        return ini.value(QStringLiteral("Defaults/") + name).toString();
    }

    QString root_;
    QString savedDir_;
};

bool isWhite(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(255, 255, 255); }

TEST_F(MainFormTest, FirstStartMakesAndShowsTheSampleProject) {
    auto form = makeForm();
    EXPECT_EQ(DataFolder, root_ + QStringLiteral("/data/Sleevix/"));
    EXPECT_EQ(ProjectName, "Velmora - Last Rose Of Summer 2002");
    EXPECT_EQ(ProjectFolder, DataFolder + ProjectName + u'/');
    form->FormShow();

    for (const char* name : {"Front.jpg", "Back.bmp", "Back.rtf"})
        EXPECT_TRUE(QFileInfo::exists(ProjectFolder + QLatin1String(name))) << name;
    EXPECT_EQ(form->windowTitle(), "Sleevix - version 1.10c");
    EXPECT_EQ(form->Edit1->text(), ProjectName);
    EXPECT_FALSE(AskToSave);

    const QImage& layout = form->LayoutImage();
    EXPECT_EQ(layout.size(), QSize(845, 1188));
    EXPECT_EQ(layout.pixel(177, 57), qRgb(0, 0, 0)) << "front frame";
    EXPECT_FALSE(isWhite(layout, 420, 300)) << "front picture in its square";
    EXPECT_EQ(layout.pixel(179, 300), qRgb(255, 255, 255)) << "between frame and picture";
    EXPECT_FALSE(isWhite(layout, 180, 60));
    EXPECT_TRUE(isWhite(layout, 660, 300)) << "the front rectangle's right edge is exclusive";
    EXPECT_EQ(form->Image2->geometry(), QRect(181, 61, 480, 480));
    EXPECT_EQ(form->Image3->geometry(), QRect(145, 614, 552, 472));
    EXPECT_EQ(form->Image3l->geometry(), QRect(118, 612, 23, 472));
    EXPECT_EQ(form->Image3r->geometry(), QRect(700, 612, 23, 472));
    EXPECT_EQ(form->BackPicture().Image().size(), QSize(552, 472));

    int spineInk = 0;
    for (int y = 900; y < 1074; ++y)
        for (int x = 119; x < 140; ++x)
            spineInk += qGray(layout.pixel(x, y)) < 128;
    EXPECT_GT(spineInk, 100) << "the project name on the left spine";

    // A second showing (restored from minimised) does nothing again.
    form->Edit1->setText(QStringLiteral("changed"));
    form->FormShow();
    EXPECT_EQ(form->Edit1->text(), "changed");
}

TEST_F(MainFormTest, AProjectFolderWithoutItsFrontPictureStopsAfterTheTemplate) {
    auto form = makeForm();
    QDir().mkpath(ProjectFolder);
    try {
        form->FormShow();
        ADD_FAILURE() << "no error for the missing picture";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open file %1Front.jpg").arg(ProjectFolder));
    }
    EXPECT_EQ(form->LayoutImage().pixel(177, 57), qRgb(0, 0, 0));
    EXPECT_NE(form->Edit1->text(), ProjectName) << "the later steps were not done";
}

TEST_F(MainFormTest, ControlsAndTextsByLanguage) {
    LanguageCode = QStringLiteral("NLD");
    auto dutch = makeForm();
    EXPECT_EQ(dutch->NieuwButton->text(), "Nieuw Project");
    EXPECT_EQ(dutch->CloseButton->text(), "Sluit af");
    EXPECT_EQ(dutch->VersionText, "versie 1.10c");
    EXPECT_EQ(dutch->ButtonOptions->text(), "Instellingen");
    LanguageCode = QStringLiteral("ENU");
    auto english = makeForm();
    EXPECT_EQ(english->ButtonOptions->text(), "Instellingen");
    EXPECT_EQ(english->FrontButton->text(), "Read Front Picture");
    EXPECT_EQ(english->Edit1->maxLength(), 51);
    EXPECT_EQ(english->Edit1->geometry(), QRect(264, 141, 469, 25));
    EXPECT_EQ(english->PastoeButton->geometry(), QRect(748, 136, 85, 33));
    EXPECT_FALSE(english->HelpButton->isEnabled());
    EXPECT_EQ(english->width(), 866);
    english->resize(1200, 300);
    EXPECT_EQ(english->width(), 866) << "the user cannot change the size";
}

TEST_F(MainFormTest, ClosingAsksOnlyAfterAChangeAndCancelWritesNothing) {
    auto form = makeForm();
    form->FormShow();
    int asked = 0;
    SaveAnswer answer = SaveAnswer::Cancel;
    form->Services.AskSaveProject = [&] {
        ++asked;
        return answer;
    };
    int saved = 0;
    form->Services.SaveProject = [&] { ++saved; };

    form->PastoeButtonClick();
    EXPECT_TRUE(AskToSave);
    EXPECT_FALSE(form->FormClose());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(storeValue(QStringLiteral("Left")), QString()) << "Cancel writes nothing";

    answer = SaveAnswer::Yes;
    EXPECT_TRUE(form->FormClose());
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(storeValue(QStringLiteral("Left")), QString::number(form->x()));
    EXPECT_EQ(storeValue(QStringLiteral("Path for Data")), DataFolder);

    AskToSave = false;
    EXPECT_TRUE(form->FormClose());
    EXPECT_EQ(asked, 2) << "nothing changed: no question";
}

TEST_F(MainFormTest, AFailedSaveAtClosingKeepsTheProgramOpen) {
    auto form = makeForm();
    form->FormShow();
    QStringList shown;
    ErrorGuard::SetReporter([&](const QString& m) { shown << m; });
    form->Services.AskSaveProject = [] { return SaveAnswer::Yes; };
    form->Services.SaveProject = [] { throw AppError(QStringLiteral("Cannot create file X")); };
    form->PastoeButtonClick();
    EXPECT_FALSE(form->FormClose());
    EXPECT_EQ(shown, QStringList{"Cannot create file X"});
}

TEST_F(MainFormTest, StoredPositionsThatAreNoNumberOrOffScreenFallBack) {
    {
        QSettings ini(RegistryStore::Location(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Defaults/Left"), QStringLiteral("abc"));
        ini.setValue(QStringLiteral("Defaults/Top"), QStringLiteral("-20000"));
    }
    auto form = makeForm();
    form->FormShow();
    EXPECT_EQ(form->pos(), QPoint(200, 100));

    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(-1920, 0, 1920, 1080)};
    EXPECT_EQ(KeepOnScreen({-1500, 40}, {866, 900}, screens, {200, 100}), QPoint(-1500, 40));
    EXPECT_EQ(KeepOnScreen({-5000, 40}, {866, 900}, screens, {200, 100}), QPoint(200, 100));
    EXPECT_EQ(KeepOnScreen({1260, 500}, {866, 900}, screens, {200, 100}), QPoint(200, 100));
    EXPECT_EQ(KeepOnScreen({300, -10}, {866, 900}, screens, {200, 100}), QPoint(300, -10));
}

TEST_F(MainFormTest, AnEmptyStoredProjectNameOpensTheSampleProject) {
    {
        QSettings ini(RegistryStore::Location(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Defaults/Project Name"), QString());
    }
    auto form = makeForm();
    EXPECT_TRUE(ProjectName.isEmpty());
    form->FormShow(); // no error: the data folder itself is not taken for the project
    EXPECT_EQ(ProjectName, DefaultProjectName);
    EXPECT_EQ(form->Edit1->text(), DefaultProjectName);
    EXPECT_TRUE(QFileInfo::exists(DataFolder + DefaultProjectName + QStringLiteral("/Front.jpg")));
}

TEST_F(MainFormTest, ABadFrontPictureLeavesTheLayoutAsItWas) {
    auto form = makeForm();
    form->FormShow();
    const QImage before = form->LayoutImage();
    const QString bad = testenv::writeFile(root_ + QStringLiteral("/bad.jpg"), "\xff\xd8\xff garbage");
    EXPECT_THROW(form->LoadFrontPicture(bad), AppError);
    EXPECT_EQ(form->LayoutImage(), before);
}

} // namespace

namespace {

TEST_F(MainFormTest, PaintingSwitchesTheUpdateTimerWithoutRestartingIt) {
    auto form = makeForm();
    int checks = 0;
    form->Services.CheckForUpdate = [&] { ++checks; };
    AutoUpdateEnabled = false;
    form->FormPaint();
    EXPECT_FALSE(form->UpdateTimer->isActive());
    AutoUpdateEnabled = true;
    form->FormPaint();
    ASSERT_TRUE(form->UpdateTimer->isActive());
    EXPECT_EQ(form->UpdateTimer->interval(), 60000);
    form->UpdateTimer->setInterval(200);
    form->UpdateTimer->start();
    QTest::qWait(120);
    form->FormPaint(); // a paint while it runs must not restart it
    EXPECT_LE(form->UpdateTimer->remainingTime(), 100);
    QTest::qWait(150);
    EXPECT_EQ(checks, 1);
    EXPECT_FALSE(form->UpdateTimer->isActive()) << "off after a check until the next paint";
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
TEST_F(MainFormTest, SpineTextAfterAFailedStartLandsOnTheSpines) {
    auto form = makeForm();
    const QString file = testenv::writeFile(root_ + QStringLiteral("/a-file"), "x");
    DataFolder = file + QStringLiteral("/Sleevix/");
    ProjectFolder = DataFolder + ProjectName + u'/';
    QStringList errors;
    ErrorGuard::SetReporter([&](const QString& message) { errors << message; });
    ErrorGuard::Run(form.get(), [&] { form->FormShow(); });
    ASSERT_EQ(errors.size(), 1);

    form->Edit1->setText(QStringLiteral("Night Ferry - Harbour Lights"));
    form->PastoeButtonClick();
    const QImage& layout = form->LayoutImage();
    EXPECT_FALSE(hasDarkPixel(layout, QRect(0, 0, 110, 600))) << "nothing above the left spine";
    EXPECT_TRUE(hasDarkPixel(layout, QRect(118, 612, 23, 472))) << "left spine";
    EXPECT_TRUE(hasDarkPixel(layout, QRect(700, 612, 23, 472))) << "right spine";
}

// A spine text typed but not applied was dropped without a question at closing, although a save
// takes exactly that text.
TEST_F(MainFormTest, TypingASpineTextMakesClosingAsk) {
    auto form = makeForm();
    form->FormShow();
    ASSERT_FALSE(AskToSave);
    form->Edit1->setFocus();
    form->Edit1->selectAll();
    QTest::keyClicks(form->Edit1, QStringLiteral("Night Ferry"));
    EXPECT_TRUE(AskToSave);
    int asked = 0;
    form->Services.AskSaveProject = [&] {
        ++asked;
        return SaveAnswer::Cancel;
    };
    EXPECT_FALSE(form->FormClose());
    EXPECT_EQ(asked, 1);
}
