// The directory tree control: opening at a path, the selected folder, its notifications, and
// what the mouse and keyboard do.
#include "browse/FolderTree.h"
#include "BrowseFixture.h"
#include "browse/FolderTreeModel.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using browsetest::makeFolders;
using browsetest::waitFor;

namespace {

class FolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Two drives of our own: the test folder and a "stick" inside it.
        root_ = makeFolders(testenv::freshFolder("drive"),
                            {"Data/Covers/2002", "Data/Empty", "stick/Photos", "Beta"});
        stick_ = root_ + "stick/";
        tree_ = std::make_unique<FolderTree>(nullptr, [this] { return roots_; });
        roots_ = {root_, stick_};
        tree_->resize(300, 400);
    }

    void open(const QString& path) {
        tree_->openPath(path);
        ASSERT_TRUE(waitFor([&] { return !tree_->isBusy(); }));
    }

    QModelIndex find(const QString& path) {
        FolderTreeModel* m = tree_->folderModel();
        QModelIndex i = m->rootIndex();
        for (const QString& name : path.split(u'/', Qt::SkipEmptyParts))
            i = m->childNamed(i, name);
        return i;
    }

    QString root_;
    QString stick_;
    QStringList roots_;
    std::unique_ptr<FolderTree> tree_;
};

TEST_F(FolderTreeTest, OpensAtAPathAndSelectsItsDeepestFolder) {
    QSignalSpy changes(tree_.get(), &FolderTree::directoryChanged);
    QSignalSpy opened(tree_.get(), &FolderTree::pathOpened);
    open(root_ + "Data/Covers");
    EXPECT_EQ(tree_->directory(), root_ + "Data/Covers/");
    EXPECT_EQ(tree_->folderModel()->root(), root_);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.first().at(0).toString(), root_ + "Data/Covers/");
    // Every folder on the way was selected in turn, and expanded.
    QStringList seen;
    for (const auto& c : changes)
        seen << c.at(0).toString();
    EXPECT_EQ(seen, (QStringList{root_, root_ + "Data/", root_ + "Data/Covers/"}));
    EXPECT_TRUE(tree_->isExpanded(find("Data")));
    EXPECT_TRUE(tree_->isExpanded(find("Data/Covers")));
    EXPECT_FALSE(tree_->isExpanded(find("Beta")));
    EXPECT_EQ(tree_->folderModel()->listingCount(), 3);

    // The tree is rebuilt on the drive of the next path.
    open(stick_ + "Photos");
    EXPECT_EQ(tree_->folderModel()->root(), stick_);
    EXPECT_EQ(tree_->directory(), stick_ + "Photos/");
}

TEST_F(FolderTreeTest, StartPathsThatDoNotExist) {
    // A missing last folder, with and without a trailing delimiter: its parent.
    open(root_ + "Data/Nothing");
    EXPECT_EQ(tree_->directory(), root_ + "Data/");
    open(root_ + "Data/Nothing/");
    EXPECT_EQ(tree_->directory(), root_ + "Data/");
    // Missing higher up: as far as it goes.
    open(root_ + "Nowhere/Data/Covers/");
    EXPECT_EQ(tree_->directory(), root_);
    // On no drive at all: the first drive's root.
    open("relative/path");
    EXPECT_EQ(tree_->directory(), root_);
    open(QString());
    EXPECT_EQ(tree_->directory(), root_);
}

TEST_F(FolderTreeTest, ADriveThatIsGoneShowsItsRootEmpty) {
    open(stick_ + "Photos");
    QDir(stick_).removeRecursively();
    open(stick_ + "Photos");
    EXPECT_EQ(tree_->directory(), stick_);
    EXPECT_EQ(tree_->folderModel()->rowCount(tree_->folderModel()->rootIndex()), 0);
}

TEST_F(FolderTreeTest, NothingSelectedGivesNoDirectory) {
    EXPECT_EQ(tree_->directory(), QString()) << "a new tree has nothing selected";
    open(root_ + "Data");
    tree_->selectionModel()->clearSelection();
    EXPECT_EQ(tree_->directory(), QString());
}

TEST_F(FolderTreeTest, MouseAndKeyboard) {
    tree_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tree_.get()));
    open(root_ + "Data");
    const int listings = tree_->folderModel()->listingCount();
    QSignalSpy clicks(tree_.get(), &FolderTree::clickedOrKeyReleased);
    QSignalSpy expansions(tree_.get(), &FolderTree::folderExpanded);

    // Keys move the selection; each release is reported, and nothing is read.
    QTest::keyClick(tree_->viewport(), Qt::Key_Down);
    EXPECT_EQ(tree_->directory(), root_ + "Data/Covers/");
    QTest::keyClick(tree_->viewport(), Qt::Key_Down);
    EXPECT_EQ(tree_->directory(), root_ + "Data/Empty/");
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(tree_->folderModel()->listingCount(), listings);

    // A click selects.
    const QModelIndex beta = find("Beta");
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {}, tree_->visualRect(beta).center());
    EXPECT_EQ(tree_->directory(), root_ + "Beta/");
    EXPECT_EQ(clicks.count(), 3);

    // Expanding a folder reads it and selects it; one without subfolders loses its button.
    const QModelIndex empty = find("Data/Empty");
    tree_->expand(empty);
    EXPECT_EQ(expansions.count(), 1);
    EXPECT_EQ(tree_->directory(), root_ + "Data/Empty/");
    ASSERT_TRUE(waitFor([&] { return !tree_->isBusy(); }));
    EXPECT_FALSE(tree_->folderModel()->hasChildren(empty));
    EXPECT_EQ(tree_->folderModel()->listingCount(), listings + 1);
}

} // namespace
