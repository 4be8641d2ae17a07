#include "browse/PathWalk.h"

#include "browse/FolderTreeModel.h"

PathWalk::PathWalk(FolderTreeModel* model, QObject* parent) : QObject(parent), model_(model) {
    connect(model_, &FolderTreeModel::foldersAdded, this, &PathWalk::advance);
    connect(model_, &FolderTreeModel::folderListed, this, &PathWalk::advance);
    connect(model_, &QAbstractItemModel::modelReset, this, &PathWalk::stop);
}

void PathWalk::start(const QStringList& folders) {
    current_ = model_->rootIndex();
    rest_ = folders;
    walking_ = current_.isValid();
    if (!walking_)
        return;
    const QModelIndex root = current_;
    Q_EMIT reached(root);
    if (walking_ && current_ == root)
        model_->listFolder(root);
    advance();
}

void PathWalk::stop() {
    walking_ = false;
    rest_.clear();
}

void PathWalk::advance() {
    while (walking_) {
        if (rest_.isEmpty() || !current_.isValid()) {
            walking_ = false;
            Q_EMIT ended(current_);
            return;
        }
        const QModelIndex here = current_;
        const QModelIndex next = model_->childNamed(here, rest_.first());
        if (!next.isValid()) {
            switch (model_->state(here)) {
            case FolderTreeModel::State::Unread:
                model_->listFolder(here); // reports come back through the event loop
                return;
            case FolderTreeModel::State::Listing:
                return; // the name may come with a later batch
            case FolderTreeModel::State::Listed:
                walking_ = false;
                Q_EMIT ended(current_);
                return;
            }
        }
        rest_.removeFirst();
        current_ = next;
        Q_EMIT reached(next);
        // A receiver may have started afresh.
        if (walking_ && current_ == next)
            model_->listFolder(next);
    }
}
