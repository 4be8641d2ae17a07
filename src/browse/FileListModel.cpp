#include "browse/FileListModel.h"

#include "browse/BrowsePaths.h"
#include "browse/FolderTreeModel.h"

#include <algorithm>

FileListModel::FileListModel(QObject* parent) : QAbstractListModel(parent) {}

void FileListModel::clear() {
    if (names_.isEmpty())
        return;
    beginResetModel();
    names_.clear();
    endResetModel();
}

void FileListModel::addBatch(const QStringList& names) {
    if (names.isEmpty())
        return;
    const BrowsePaths::NameOrder order;
    const int first = int(names_.size());
    beginInsertRows({}, first, first + int(names.size()) - 1);
    names_.append(names);
    endInsertRows();
    // Batches of a folder read in the order the disk gives mostly interleave: merge this one in,
    // moving the rows the view holds on to (the current file) along.
    if (first == 0 || !order(names.first(), names_.at(first - 1)))
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> rowOf(names_.size());
    for (int i = 0; i < int(rowOf.size()); ++i)
        rowOf[i] = i;
    std::inplace_merge(rowOf.begin(), rowOf.begin() + first, rowOf.end(),
                       [&](int a, int b) { return order(names_.at(a), names_.at(b)); });
    QStringList merged;
    merged.reserve(names_.size());
    QList<int> newRow(names_.size());
    for (int i = 0; i < int(rowOf.size()); ++i) {
        merged.append(names_.at(rowOf[i]));
        newRow[rowOf[i]] = i;
    }
    names_ = std::move(merged);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.append(index(newRow.value(i.row(), i.row()), i.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(names_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= names_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return FolderTreeModel::shownName(names_.at(index.row()));
    case Qt::DecorationRole:
        return fileIcon_.isNull() ? QVariant() : QVariant(fileIcon_);
    case NameRole:
        return names_.at(index.row());
    default:
        return {};
    }
}
