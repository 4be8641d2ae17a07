// The folder tree's model and the walk down a path, on real folders: what a listing shows, what
// is read and when, and folders that are odd, gone, locked or loop back on themselves.
#include "browse/FolderTreeModel.h"
#include "BrowseFixture.h"
#include "browse/FolderScanner.h"
#include "browse/PathWalk.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using browsetest::makeFile;
using browsetest::makeFolders;
using browsetest::waitFor;

namespace {

QStringList childNames(const FolderTreeModel& model, const QModelIndex& folder) {
    QStringList names;
    for (int row = 0; row < model.rowCount(folder); ++row)
        names << model.index(row, 0, folder).data().toString();
    return names;
}

void listAndWait(FolderTreeModel& model, const QModelIndex& folder) {
    model.listFolder(folder);
    ASSERT_TRUE(waitFor([&] { return !model.isBusy(); }));
}

TEST(FolderTreeModel, ListsOneLevelOfFoldersInOrderAndNoFiles) {
    const QString root =
        makeFolders(testenv::freshFolder("tree"), {"Zebra/deeper", "apple", "Apple", ".hidden",
                                                   "empty", "with space", "Ünïcödé"});
    makeFile(root + "file.txt");
    makeFile(root + "Zebra/inner.jpg");

    FolderTreeModel model;
    model.setRoot(root);
    const QModelIndex top = model.rootIndex();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(top.data().toString(), root);
    EXPECT_EQ(model.folderPath(top), root);
    // Unread: an expand button, nothing read yet.
    EXPECT_TRUE(model.hasChildren(top));
    EXPECT_TRUE(model.canFetchMore(top));
    EXPECT_EQ(model.listingCount(), 0);

    listAndWait(model, top);
    EXPECT_EQ(childNames(model, top), (QStringList{".hidden", "apple", "Apple", "empty", "Ünïcödé",
                                                   "with space", "Zebra"}));
    EXPECT_EQ(model.state(top), FolderTreeModel::State::Listed);
    EXPECT_FALSE(model.canFetchMore(top));

    const QModelIndex zebra = model.childNamed(top, "Zebra");
    const QModelIndex empty = model.childNamed(top, "empty");
    EXPECT_EQ(model.folderPath(zebra), root + "Zebra/");
    EXPECT_FALSE(model.childNamed(top, "zebra").isValid()) << "names match with their case";
    // Only the root has been read; its subfolders still show an expand button.
    EXPECT_EQ(model.listingCount(), 1);
    EXPECT_TRUE(model.hasChildren(zebra));
    EXPECT_TRUE(model.hasChildren(empty));

    // A folder without subfolders loses its expand button once read.
    listAndWait(model, empty);
    EXPECT_FALSE(model.hasChildren(empty));
    listAndWait(model, zebra);
    EXPECT_EQ(childNames(model, zebra), QStringList{"deeper"});
    // A folder is read once: listing it again reads nothing.
    model.listFolder(zebra);
    model.fetchMore(zebra);
    EXPECT_EQ(model.listingCount(), 3);
    EXPECT_FALSE(model.isBusy());

    EXPECT_EQ(model.folderPath(QModelIndex()), QString());
}

TEST(FolderTreeModel, NamesWithALineBreakKeepOneLineAndTheirPath) {
    const QString root = makeFolders(testenv::freshFolder("tree"), {"two\nlines"});
    FolderTreeModel model;
    model.setRoot(root);
    listAndWait(model, model.rootIndex());
    const QModelIndex folder = model.childNamed(model.rootIndex(), "two\nlines");
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(folder.data().toString(), QString::fromUtf8("two\u240Alines"));
    EXPECT_EQ(model.folderPath(folder), root + "two\nlines/");
}

TEST(FolderTreeModel, FoldersThatCannotBeReadStayEmpty) {
    browsetest::OpenFolder open;
    const QString root = makeFolders(open.path(), {"gone/sub", "locked/secret", "fine"});
    QFile::setPermissions(root + "locked", QFileDevice::WriteOwner);

    FolderTreeModel model;
    QSignalSpy listed(&model, &FolderTreeModel::folderListed);
    model.setRoot(root);
    listAndWait(model, model.rootIndex());
    const QModelIndex gone = model.childNamed(model.rootIndex(), "gone");
    const QModelIndex locked = model.childNamed(model.rootIndex(), "locked");
    ASSERT_TRUE(gone.isValid() && locked.isValid());

    // Removed between the listing of its parent and its own expansion.
    QDir(root + "gone").removeRecursively();
    listAndWait(model, gone);
    EXPECT_EQ(model.rowCount(gone), 0);
    EXPECT_FALSE(model.hasChildren(gone));
    EXPECT_FALSE(listed.last().at(1).toBool());

    {
        browsetest::OrdinaryUser user;
        listAndWait(model, locked);
    }
    EXPECT_EQ(model.rowCount(locked), 0);
    EXPECT_FALSE(model.hasChildren(locked));
    EXPECT_FALSE(listed.last().at(1).toBool());

    // A drive root that is gone (a stick pulled out) shows its root and nothing below it.
    model.setRoot(root + "nowhere/");
    listAndWait(model, model.rootIndex());
    EXPECT_EQ(model.rowCount(model.rootIndex()), 0);
    EXPECT_FALSE(model.hasChildren(model.rootIndex()));
    QFile::setPermissions(root + "locked",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(FolderTreeModel, ALinkToItsOwnParentIsOneMoreFolderPerExpansion) {
    const QString root = makeFolders(testenv::freshFolder("tree"), {"A/B"});
    ASSERT_TRUE(QFile::link(root + "A", root + "A/loop"));
    ASSERT_TRUE(QFile::link(root + "A/nowhere-target", root + "A/dangling"));

    FolderTreeModel model;
    model.setRoot(root);
    listAndWait(model, model.rootIndex());
    QModelIndex folder = model.childNamed(model.rootIndex(), "A");
    for (int depth = 0; depth < 5; ++depth) {
        listAndWait(model, folder);
        // A link that leads nowhere is no folder.
        EXPECT_EQ(childNames(model, folder), (QStringList{"B", "loop"}));
        folder = model.childNamed(folder, "loop");
    }
    EXPECT_EQ(model.listingCount(), 6);
    EXPECT_EQ(model.folderPath(folder), root + "A/loop/loop/loop/loop/loop/");
}

TEST(FolderTreeModel, ABigFolderArrivesInBatchesInOrder) {
    const QString root = testenv::freshFolder("big");
    QStringList expected;
    for (int i = 0; i < 1500; ++i) {
        // Created out of order, so that the file system gives them out of order too.
        const QString name = QStringLiteral("f%1").arg((i * 7919) % 1500, 4, 10, QLatin1Char('0'));
        QDir().mkdir(root + u'/' + name);
        expected << name;
    }
    std::sort(expected.begin(), expected.end());

    FolderTreeModel model;
    model.scanner()->setBatchInterval(0);
    model.setRoot(root + u'/');
    QSignalSpy batches(&model, &FolderTreeModel::foldersAdded);
    // An item the view holds on to (the selected folder) while the rest comes in.
    QPersistentModelIndex held;
    QString heldName;
    QObject::connect(&model, &FolderTreeModel::foldersAdded, &model, [&] {
        if (!held.isValid()) {
            held = model.index(0, 0, model.rootIndex());
            heldName = held.data().toString();
        }
    });
    listAndWait(model, model.rootIndex());
    EXPECT_GE(batches.count(), 3) << "512 entries a batch";
    EXPECT_EQ(childNames(model, model.rootIndex()), expected);
    ASSERT_TRUE(held.isValid());
    EXPECT_EQ(held.data().toString(), heldName);
    EXPECT_EQ(model.childNamed(model.rootIndex(), heldName), QModelIndex(held));
}

TEST(FolderTreeModel, StartingAfreshDropsListingsOfTheOldTree) {
    const QString root = makeFolders(testenv::freshFolder("tree"), {"a", "b"});
    FolderTreeModel model;
    QSignalSpy added(&model, &FolderTreeModel::foldersAdded);
    QSignalSpy listed(&model, &FolderTreeModel::folderListed);
    model.setRoot(root);
    model.listFolder(model.rootIndex());
    model.setRoot(root + "a/");
    ASSERT_TRUE(waitFor([&] { return !model.isBusy(); }));
    dialogtest::WaitUntil([] { return false; }, 100);
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(listed.count(), 0);
    EXPECT_EQ(model.rowCount(model.rootIndex()), 0);
}

// --- The walk down a path --------------------------------------------------------------------

struct Walked {
    QStringList reached;
    QString ended;
    int listings;
};

Walked walk(const QString& root, const QStringList& folders) {
    FolderTreeModel model;
    PathWalk walk(&model);
    Walked result;
    QObject::connect(&walk, &PathWalk::reached, &walk,
                     [&](const QModelIndex& i) { result.reached << model.folderPath(i); });
    bool ended = false;
    QObject::connect(&walk, &PathWalk::ended, &walk, [&](const QModelIndex& i) {
        result.ended = model.folderPath(i);
        ended = true;
    });
    model.setRoot(root);
    walk.start(folders);
    EXPECT_TRUE(waitFor([&] { return ended && !model.isBusy(); }));
    result.listings = model.listingCount();
    return result;
}

TEST(PathWalk, GoesDownAsFarAsTheFoldersExist) {
    const QString root = makeFolders(testenv::freshFolder("walk"), {"Data/Covers/2002", "Other"});

    Walked w = walk(root, {"Data", "Covers"});
    EXPECT_EQ(w.reached, (QStringList{root, root + "Data/", root + "Data/Covers/"}));
    EXPECT_EQ(w.ended, root + "Data/Covers/");
    // Only the folders on the path are read: the root, Data and Covers.
    EXPECT_EQ(w.listings, 3);

    // A missing folder: the walk stops at the last one that exists.
    w = walk(root, {"Data", "Nothing", "Covers"});
    EXPECT_EQ(w.ended, root + "Data/");
    // Letter case counts.
    w = walk(root, {"data"});
    EXPECT_EQ(w.ended, root);
    // No folders: the root.
    w = walk(root, {});
    EXPECT_EQ(w.reached, QStringList{root});
    EXPECT_EQ(w.ended, root);
    EXPECT_EQ(w.listings, 1);
    // ".." lists nowhere.
    w = walk(root, {"Data", "..", "Other"});
    EXPECT_EQ(w.ended, root + "Data/");
    // A drive root that is gone.
    w = walk(root + "gone/", {"a", "b"});
    EXPECT_EQ(w.ended, root + "gone/");
}

TEST(PathWalk, FollowsALoopingLinkOnlyAsFarAsThePathSays) {
    const QString root = makeFolders(testenv::freshFolder("walk"), {"A"});
    ASSERT_TRUE(QFile::link(root + "A", root + "A/loop"));
    const Walked w = walk(root, {"A", "loop", "loop", "loop"});
    EXPECT_EQ(w.ended, root + "A/loop/loop/loop/");
    EXPECT_EQ(w.listings, 5);
}

} // namespace
