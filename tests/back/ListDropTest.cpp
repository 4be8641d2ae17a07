// A list file dropped on the back-cover editor from a file manager replaces the list; other
// files are refused, text dragged as text is inserted as usual.
#include "back/BackTextEditor.h"
#include "back/EditorFixture.h"
#include "back/RichTextEdit.h"
#include "common/TestEnv.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

class ListDropTest : public EditorFixture {
protected:
    void SetUp() override {
        makeEditor(QStringLiteral("listdrop"));
        back_->editor->setPlainText(QStringLiteral("typed before"));
        ws_->setUnsavedChanges(false);
        folder_ = testenv::freshFolder(QStringLiteral("lists"));
        ErrorGuard::setReporter(qApp, [this](const QString& message) { errors_ << message; });
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        EditorFixture::TearDown();
    }

    // Enters and, when offered, drops; whether the editor took the drag.
    bool drop(QMimeData& data) {
        // Delivered to the window over the editor's text, as the windowing system does.
        back_->show(); // drags reach only a window on the screen
        EXPECT_TRUE(QTest::qWaitForWindowExposed(back_.get()));
        QWindow* window = back_->windowHandle();
        const QPoint at = back_->editor->mapTo(back_.get(), back_->editor->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        if (!enter.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(window, &leave);
            return false;
        }
        QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(window, &dropped);
        QCoreApplication::processEvents();
        return dropped.isAccepted();
    }
    bool dropFiles(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        data.setText(paths.join('\n')); // file managers send the paths as text too
        return drop(data);
    }

    QString folder_;
    QStringList errors_;
};

TEST_F(ListDropTest, DroppedRtfOrTextFileReplacesTheList) {
    const QString rtf = testenv::writeFile(folder_ + "/tracks.rtf",
                                           "{\\rtf1\\ansi {\\b 1. Lantern Light}\\par 2. Evening}");
    ASSERT_TRUE(dropFiles({folder_, rtf}));
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(back_->editor->toPlainText(), "1. Lantern Light\n2. Evening");
    EXPECT_TRUE(ws_->hasUnsavedChanges());

    const QString text = testenv::writeFile(folder_ + "/tracks.TXT", "Salt And Silver\n");
    ASSERT_TRUE(dropFiles({text}));
    EXPECT_TRUE(back_->editor->toPlainText().startsWith("Salt And Silver"));
}

TEST_F(ListDropTest, PicturesFoldersAndOtherFilesAreRefusedWithoutAnError) {
    const QString photo = testenv::writeFile(folder_ + "/front.jpg", "\xff\xd8");
    QDir(folder_).mkdir(QStringLiteral("Lists.rtf"));
    EXPECT_FALSE(dropFiles({photo}));
    EXPECT_FALSE(dropFiles({folder_ + "/Lists.rtf"}));
    EXPECT_FALSE(dropFiles({folder_})) << "nor is the path inserted as text";
    EXPECT_EQ(back_->editor->toPlainText(), "typed before");
    EXPECT_TRUE(errors_.isEmpty());
}

// A list file that is gone by the time it is dropped (moved away in the file manager).
TEST_F(ListDropTest, AListThatCannotBeReadIsNamedAndTheTypedListKept) {
    const QString gone = folder_ + "/gone.rtf";
    ASSERT_TRUE(dropFiles({gone}));
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].contains(QDir::toNativeSeparators(gone))) << errors_[0].toStdString();
    EXPECT_EQ(back_->editor->toPlainText(), "typed before");
}

TEST_F(ListDropTest, TextDraggedAsTextIsInsertedAsUsual) {
    QMimeData data;
    data.setText(QStringLiteral("Northern Quay"));
    EXPECT_TRUE(drop(data));
    EXPECT_TRUE(back_->editor->toPlainText().contains("Northern Quay"));
}

} // namespace
