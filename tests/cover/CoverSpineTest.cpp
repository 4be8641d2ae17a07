// The spine text on the cover: a new text replaces the one before it whole, and the spines hold
// 51 characters.
#include "TestEnv.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class CoverSpineTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        testenv::prepareWorkspace(QStringLiteral("spine"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    // A cover with the sample pictures, as after opening a project.
    std::unique_ptr<Cover> sampleCover() {
        auto cover = std::make_unique<Cover>(*ws_);
        cover->drawTemplate();
        cover->loadFrontPicture(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg"));
        cover->loadBackPicture(QStringLiteral(SLEEVIX_BINARY_DIR "/Back.bmp"));
        return cover;
    }

    QString savedDir_;
    std::unique_ptr<Workspace> ws_;
};

TEST_F(CoverSpineTest, AShorterTextLeavesNoTailOfTheLongerOne) {
    // Long enough to run past the top of the left spine and the bottom of the right one, over
    // the crop marks there.
    auto cover = sampleCover();
    cover->applySpineText(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    cover->applySpineText(QStringLiteral("Velmora - Last Rose Of Summer 2002"));
    cover->applySpineText(QStringLiteral("2024"));

    auto fresh = sampleCover();
    fresh->applySpineText(QStringLiteral("2024"));
    EXPECT_EQ(cover->canvas(), fresh->canvas())
        << "only the new text, the template and the pictures are left";
    EXPECT_EQ(cover->canvas().pixel(120, 600), qRgb(255, 255, 255)) << "above the left spine";
    EXPECT_EQ(cover->canvas().pixel(130, 542), qRgb(0, 0, 0)) << "the crop mark is back";
}

// A name set by the program (a project read, the editor's copy) goes on the spines whole.
TEST_F(CoverSpineTest, TheSpinesTakeTheWholeText) {
    auto cover = sampleCover();
    QString shown;
    QObject::connect(cover.get(), &Cover::spineTextApplied, cover.get(),
                     [&](const QString& text) { shown = text; });
    const QString long72 = QStringLiteral("Velmora - The Complete Last Rose Of Summer Sessions "
                                          "Recorded Live 2002-2024");
    ASSERT_EQ(long72.size(), 75);
    cover->applySpineText(long72);
    EXPECT_EQ(cover->spineText(), long72);
    EXPECT_EQ(shown, long72);
    EXPECT_TRUE(ws_->hasUnsavedChanges());
}

} // namespace
