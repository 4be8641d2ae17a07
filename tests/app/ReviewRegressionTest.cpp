#include "ProjectFixture.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/ProjectCommands.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "dialogs/TimedMessage.h"
#include "platform/AppError.h"
#include "support/WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <limits>

namespace {

using ReviewProjectTest = ProjectFixture;

// A save that fails half-way must not make the program believe the project now lives in the new
// folder: the name would be stored at closing and the next start would open the broken folder,
// and closing would no longer ask to save the unsaved work.
TEST_F(ReviewProjectTest, AFailedWriteLeavesTheCurrentProjectAndTheUnsavedMark) {
    const QString nameBefore = ws_->projectName;
    const QString folderBefore = ws_->projectFolder;
    ASSERT_FALSE(folderBefore.isEmpty());
    const QString target = ws_->dataFolder + QStringLiteral("Rock Hits/");
    // A folder where the back picture should go: the picture cannot be written.
    ASSERT_TRUE(QDir().mkpath(target + QStringLiteral("Back.bmp")));
    main_->spineTextEdit->setText(QStringLiteral("Rock Hits"));
    ws_->setUnsavedChanges(true);
    EXPECT_THROW(projects_->saveProject(), AppError);
    EXPECT_EQ(ws_->projectName.toStdString(), nameBefore.toStdString());
    EXPECT_EQ(ws_->projectFolder.toStdString(), folderBefore.toStdString());
    EXPECT_TRUE(ws_->hasUnsavedChanges()) << "the work is not saved";

    // Once the obstacle is gone the same save succeeds and takes the new name.
    ASSERT_TRUE(QDir(target).rmdir(QStringLiteral("Back.bmp")));
    projects_->saveProject();
    EXPECT_EQ(ws_->projectName, QStringLiteral("Rock Hits"));
    EXPECT_EQ(ws_->projectFolder, target);
    EXPECT_FALSE(ws_->hasUnsavedChanges());
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("Back.bmp")).isFile());
}

// Answering Yes to the closing question with an empty spine text (right after a new project,
// say) saves nothing but the request for a text. Closing then would throw away the work the
// user just asked to keep, and the request would vanish with the program.
TEST_F(ReviewProjectTest, YesAtClosingWithoutSpineTextKeepsTheProgramOpen) {
    main_->services.askSaveProject = [] { return SaveAnswer::Yes; };
    main_->services.saveProject = [this] { projects_->saveProject(); };
    projects_->newProject();
    back_->editor->setPlainText(QStringLiteral("Track list typed by hand"));
    ASSERT_TRUE(ws_->hasUnsavedChanges());

    EXPECT_FALSE(main_->confirmClose());
    EXPECT_TRUE(message_->messageText->toPlainText().contains(
        QStringLiteral("You didn't read the Back Text")));
    EXPECT_TRUE(ws_->hasUnsavedChanges());
    EXPECT_EQ(back_->editor->toPlainText(), QStringLiteral("Track list typed by hand"));

    // With a spine text the same answer saves and closes.
    main_->spineTextEdit->setText(QStringLiteral("Hand Typed"));
    EXPECT_TRUE(main_->confirmClose());
    EXPECT_TRUE(QFileInfo(ws_->dataFolder + QStringLiteral("Hand Typed/Back.rtf")).isFile());
    EXPECT_FALSE(ws_->hasUnsavedChanges());
}

// A hand-edited settings file may hold any integer as a window's place. Near the ends of the
// integers the window's edges wrapped round, and such a place counted as on the screen.
TEST(ReviewWindowPlacement, PlacesAtTheEndsOfTheIntegersFallBack) {
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(-1920, 0, 1920, 1080)};
    const QPoint fallback(200, 100);
    const int max = std::numeric_limits<int>::max();
    const int min = std::numeric_limits<int>::min();
    for (const QPoint stored : {QPoint(max - 100, 100), QPoint(max, max), QPoint(100, max - 10),
                                QPoint(min, 100), QPoint(100, min), QPoint(min, min)})
        EXPECT_EQ(keepOnScreen(stored, QSize(866, 900), screens, fallback), fallback)
            << stored.x() << ", " << stored.y();
    // Ordinary places are kept inside the screen they overlap.
    EXPECT_EQ(keepOnScreen({-1500, 40}, {866, 900}, screens, fallback), QPoint(-1500, 40));
    EXPECT_EQ(keepOnScreen({1229, 1004}, {866, 900}, screens, fallback), QPoint(414, 124));
}

// A back picture saved by a paint program with a palette (256 or 2 colours) is read as an
// indexed image, on which nothing can be drawn: the product name was silently left off the back
// cover and the layout.
TEST_F(ReviewProjectTest, TheProductNameIsStampedOnABackPictureWithAPalette) {
    for (const QImage::Format format : {QImage::Format_Indexed8, QImage::Format_Mono}) {
        QImage white(552, 472, QImage::Format_RGB32);
        white.fill(Qt::white);
        const QString file = root_ + QStringLiteral("/palette.bmp");
        ASSERT_TRUE(white.convertToFormat(format).save(file, "BMP"));
        cover_->loadBackPicture(file);

        const QImage back = cover_->backPicture().image();
        ASSERT_EQ(back.size(), QSize(552, 472));
        // The name is written at y = 452, centred: dark pixels in that band, white elsewhere.
        int dark = 0;
        for (int y = 452; y < 472; ++y)
            for (int x = 200; x < 352; ++x)
                dark += qGray(back.pixel(x, y)) < 128;
        EXPECT_GT(dark, 10) << "format " << int(format);
        EXPECT_EQ(back.pixel(276, 200), qRgb(255, 255, 255));
    }
}

} // namespace
