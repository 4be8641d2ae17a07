// PathWalk: goes down a FolderTreeModel along the folders of a path, from the root, as far as
// they exist. Each folder on the way is listed, and the walk moves on as soon as the next name
// shows up among the subfolders read so far (it need not wait for the rest of a big folder).
// Names match exactly, letter case included. A name that is not there once its folder has been
// listed in full ends the walk at that folder. The walk follows the path's own names and
// nothing else, so it ends after at most as many steps as the path has folders.
#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QStringList>

class FolderTreeModel;

class PathWalk : public QObject {
    Q_OBJECT

public:
    explicit PathWalk(FolderTreeModel* model, QObject* parent = nullptr);

    // Walks from the model's root down along these folder names; reports the root first. Every
    // folder reached is listed, the root and the last folder included.
    void start(const QStringList& folders);
    // Ends the walk where it is, without a report.
    void stop();
    bool isWalking() const { return walking_; }

Q_SIGNALS:
    // The walk has reached this folder (the root first, then each folder matched).
    void reached(const QModelIndex& folder);
    // The walk is over; deepest is the last folder reached.
    void ended(const QModelIndex& deepest);

private:
    void advance();

    FolderTreeModel* model_;
    QPersistentModelIndex current_;
    QStringList rest_;
    bool walking_ = false;
};
