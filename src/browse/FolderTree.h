// FolderTree: the directory tree control. It shows the folders of one drive under a single root
// (the drive's root: on Linux the mount point of a volume) and reads them lazily: a folder is
// listed when it is first expanded, on a worker thread, and shows its subfolders as they come
// (browse/FolderTreeModel.h). Files are never shown.
//
// openPath() re-roots the tree on the drive a path lies on and walks down along the path to the
// deepest folder that exists, expanding and listing each folder on the way and selecting the
// last; directory() is the selected folder with the delimiter at its end. The walk runs in the
// event loop: pathOpened() tells when it is over, while every selection on the way is reported
// by directoryChanged(), as is every other change of the selection.
#pragma once

#include <QStringList>
#include <QTreeView>
#include <functional>

class FolderTreeModel;
class PathWalk;

class FolderTree : public QTreeView {
    Q_OBJECT

public:
    // The roots of the drives the tree may be opened on, each ending in the delimiter; the
    // first is the one a path on no drive opens. By default the drives of the system.
    using DriveRoots = std::function<QStringList()>;

    explicit FolderTree(QWidget* parent = nullptr, DriveRoots driveRoots = {});

    void openPath(const QString& path);

    // The selected folder, ending in the delimiter; empty when nothing is selected.
    QString directory() const;
    // Whether a path is still being opened or a folder still being listed.
    bool isBusy() const;
    FolderTreeModel* folderModel() const { return model_; }

Q_SIGNALS:
    // The selection has changed (also while a path is being opened).
    void directoryChanged(const QString& directory);
    // A mouse click on a folder, or any key released while the tree has the focus.
    void clickedOrKeyReleased();
    // A folder has been expanded (by the user, or on the way down a path).
    void folderExpanded(const QModelIndex& folder);
    // openPath() has gone as far down the path as the folders exist.
    void pathOpened(const QString& directory);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void goTo(const QModelIndex& folder);
    void handleExpanded(const QModelIndex& folder);

    DriveRoots driveRoots_;
    FolderTreeModel* model_;
    PathWalk* walk_;
};
