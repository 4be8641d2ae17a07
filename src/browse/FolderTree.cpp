#include "browse/FolderTree.h"

#include "browse/BrowsePaths.h"
#include "browse/FolderTreeModel.h"
#include "browse/PathWalk.h"
#include "platform/Drives.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace {

QStringList systemDriveRoots() {
    QStringList roots;
    for (const Drives::Drive& d : Drives::list())
        roots.append(d.root);
    return roots;
}

} // namespace

FolderTree::FolderTree(QWidget* parent, DriveRoots driveRoots)
    : QTreeView(parent), driveRoots_(driveRoots ? std::move(driveRoots) : systemDriveRoots),
      model_(new FolderTreeModel(this)), walk_(new PathWalk(model_, this)) {
    model_->setFolderIcon(style()->standardIcon(QStyle::SP_DirIcon));
    setModel(model_);
    header()->hide();
    setUniformRowHeights(true); // a folder of 20 000 subfolders lays out at once
    setIndentation(19);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);

    // The tree starts on the first drive with nothing read.
    model_->setRoot(driveRoots_().value(0));

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Q_EMIT directoryChanged(directory()); });
    connect(this, &QTreeView::expanded, this, &FolderTree::handleExpanded);
    connect(this, &QAbstractItemView::clicked, this, [this] { Q_EMIT clickedOrKeyReleased(); });
    connect(walk_, &PathWalk::reached, this, &FolderTree::goTo);
    connect(walk_, &PathWalk::ended, this,
            [this](const QModelIndex& deepest) { Q_EMIT pathOpened(model_->folderPath(deepest)); });
}

void FolderTree::openPath(const QString& path) {
    walk_->stop();
    const BrowsePaths::DrivePath where = BrowsePaths::splitOnDrive(path, driveRoots_());
    model_->setRoot(where.root);
    walk_->start(where.folders);
}

QString FolderTree::directory() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : model_->folderPath(selected.first());
}

bool FolderTree::isBusy() const {
    return walk_->isWalking() || model_->isBusy();
}

void FolderTree::goTo(const QModelIndex& folder) {
    setCurrentIndex(folder);
    expand(folder);
    scrollTo(folder);
}

void FolderTree::handleExpanded(const QModelIndex& folder) {
    model_->listFolder(folder);
    // An expanded folder becomes the selected one, so that the folder the user opened is the
    // folder the dialog offers.
    if (!walk_->isWalking() && currentIndex() != folder)
        setCurrentIndex(folder);
    Q_EMIT folderExpanded(folder);
}

void FolderTree::keyReleaseEvent(QKeyEvent* event) {
    QTreeView::keyReleaseEvent(event);
    Q_EMIT clickedOrKeyReleased();
}
