#include "app/MainWindow.h"
#include "back/BackRules.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "common/TestEnv.h"
#include "controls/ColourButton.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "settings/Settings.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

class ReviewBackCopy : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("review-back"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        ErrorGuard::setReporter(qApp, [this](const QString& message) { errors_ << message; });
        main_ = std::make_unique<MainWindow>(*ws_, *cover_);
        loadSettingsValues(*ws_);
        main_->handleShow();
        back_ = std::make_unique<BackTextEditor>(*ws_, *cover_);
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        QDir::setCurrent(savedDir_);
    }

    QString root_, savedDir_;
    QStringList errors_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<BackTextEditor> back_;
};

// Text selected in the editor when the list is copied is shown highlighted; the highlight is
// the editor's marking, not part of the list, and must not be printed on the back cover.
TEST_F(ReviewBackCopy, ASelectionIsNotCopiedOntoTheBackCover) {
    main_->show();
    back_->show();
    back_->editor->setPlainText(QStringLiteral("Velmora - Greatest Hits\n1. The Last Rose"));
    QTextCursor all = back_->editor->textCursor();
    all.select(QTextCursor::Document);
    back_->editor->setTextCursor(all);
    back_->copyButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));

    const QImage picture = cover_->backPicture().image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(552, 472));
    int coloured = 0, dark = 0;
    for (int y = 0; y < 440; ++y)
        for (int x = 0; x < 552; ++x) {
            const QRgb p = picture.pixel(x, y);
            coloured += std::abs(qRed(p) - qBlue(p)) + std::abs(qGreen(p) - qBlue(p)) > 60;
            dark += qGray(p) < 100;
        }
    EXPECT_EQ(coloured, 0) << "black text on white, no highlight";
    EXPECT_GT(dark, 50) << "the list itself is there";
    EXPECT_EQ(main_->spineTextEdit->text(), QStringLiteral("Velmora - Greatest Hits"));
    EXPECT_TRUE(back_->editor->textCursor().hasSelection()) << "the user's selection stays";
}

// A list longer than the editor must not bring a scroll bar into the copy: the bar would be
// printed on the back cover, and it narrows the lines so they wrap otherwise than designed.
TEST_F(ReviewBackCopy, ALongListPutsNoScrollBarOnTheBackCover) {
    main_->show();
    back_->show();
    back_->editor->clear();
    QTextCursor c(back_->editor->document());
    for (int i = 1; i <= 60; ++i)
        c.insertText(QStringLiteral("%1. Track\n").arg(i));
    back_->copyButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << qPrintable(errors_.join('\n'));

    const QImage picture = cover_->backPicture().image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(552, 472));
    // The short lines leave the right-hand part of the list white, down to the product name.
    int marked = 0;
    for (int y = 0; y < 440; ++y)
        for (int x = 480; x < 552; ++x)
            marked += picture.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(marked, 0);
}

} // namespace
