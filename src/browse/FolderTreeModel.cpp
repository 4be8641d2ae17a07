#include "browse/FolderTreeModel.h"

#include "browse/BrowsePaths.h"
#include "browse/FolderScanner.h"
#include "platform/PathDelim.h"

#include <algorithm>
#include <vector>

struct FolderTreeModel::Node {
    QString name; // the folder's name; for the root, the drive root
    Node* parent = nullptr;
    int row = 0;
    State state = State::Unread;
    std::vector<std::unique_ptr<Node>> children;
};

FolderTreeModel::FolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent), scanner_(new FolderScanner(this)) {
    connect(
        scanner_, &FolderScanner::found, this,
        [this](quint64 id, const FolderScanner::Batch& batch) { addFolders(id, batch.folders); });
    connect(scanner_, &FolderScanner::finished, this, &FolderTreeModel::endListing);
}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::setRoot(const QString& root) {
    for (auto it = listing_.cbegin(); it != listing_.cend(); ++it)
        scanner_->cancel(it.key());
    listing_.clear();
    beginResetModel();
    root_ = std::make_unique<Node>();
    root_->name = root;
    endResetModel();
}

QString FolderTreeModel::root() const {
    return root_ ? root_->name : QString();
}

QModelIndex FolderTreeModel::rootIndex() const {
    return root_ ? createIndex(0, 0, root_.get()) : QModelIndex();
}

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() && index.model() == this ? static_cast<Node*>(index.internalPointer())
                                                    : nullptr;
}

QModelIndex FolderTreeModel::indexOf(const Node* node) const {
    return node ? createIndex(node->row, 0, const_cast<Node*>(node)) : QModelIndex();
}

QString FolderTreeModel::folderPath(const QModelIndex& index) const {
    const Node* node = nodeOf(index);
    if (!node)
        return QString();
    QStringList names;
    for (; node->parent; node = node->parent)
        names.prepend(node->name);
    return BrowsePaths::folderPath(node->name, names);
}

QModelIndex FolderTreeModel::childNamed(const QModelIndex& parent, const QString& name) const {
    const Node* node = nodeOf(parent);
    if (!node)
        return QModelIndex();
    for (const auto& child : node->children)
        if (child->name == name)
            return indexOf(child.get());
    return QModelIndex();
}

FolderTreeModel::State FolderTreeModel::state(const QModelIndex& index) const {
    const Node* node = nodeOf(index);
    return node ? node->state : State::Unread;
}

void FolderTreeModel::listFolder(const QModelIndex& index) {
    Node* node = nodeOf(index);
    if (!node || node->state != State::Unread)
        return;
    node->state = State::Listing;
    ++listingCount_;
    FolderScanner::Request request;
    request.folder = folderPath(index);
    listing_.insert(scanner_->start(request), node);
}

void FolderTreeModel::addFolders(quint64 id, const QStringList& names) {
    Node* node = listing_.value(id);
    if (!node || names.isEmpty())
        return;
    const QModelIndex parentIndex = indexOf(node);
    auto& children = node->children;
    const int first = int(children.size());
    beginInsertRows(parentIndex, first, first + int(names.size()) - 1);
    children.reserve(children.size() + names.size());
    for (const QString& name : names) {
        auto child = std::make_unique<Node>();
        child->name = name;
        child->parent = node;
        child->row = int(children.size());
        children.push_back(std::move(child));
    }
    endInsertRows();

    if (first > 0) {
        // A later batch of a big or slow folder: merge it into the rows already shown, keeping
        // the items the view holds on to (selection, current item) on their folders.
        Q_EMIT layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)},
                                      QAbstractItemModel::VerticalSortHint);
        const BrowsePaths::NameOrder order;
        std::inplace_merge(children.begin(), children.begin() + first, children.end(),
                           [&](const std::unique_ptr<Node>& a, const std::unique_ptr<Node>& b) {
                               return order(a->name, b->name);
                           });
        for (int row = 0; row < int(children.size()); ++row)
            children[row]->row = row;
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& i : before) {
            const Node* n = nodeOf(i);
            after.append(n && n->parent == node ? createIndex(n->row, i.column(), n) : i);
        }
        changePersistentIndexList(before, after);
        Q_EMIT layoutChanged({QPersistentModelIndex(parentIndex)},
                             QAbstractItemModel::VerticalSortHint);
    }
    Q_EMIT foldersAdded(parentIndex);
}

void FolderTreeModel::endListing(quint64 id, bool readable) {
    Node* node = listing_.take(id);
    if (!node)
        return;
    node->state = State::Listed;
    const QModelIndex index = indexOf(node);
    // A folder without subfolders loses its expand button.
    Q_EMIT dataChanged(index, index);
    Q_EMIT folderListed(index, readable);
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return QModelIndex();
    if (!parent.isValid())
        return row == 0 ? rootIndex() : QModelIndex();
    const Node* node = nodeOf(parent);
    if (!node || row >= int(node->children.size()))
        return QModelIndex();
    return indexOf(node->children[row].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const Node* node = nodeOf(child);
    return node ? indexOf(node->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return root_ ? 1 : 0;
    const Node* node = nodeOf(parent);
    return node && parent.column() == 0 ? int(node->children.size()) : 0;
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QString FolderTreeModel::shownName(const QString& name) {
    QString shown = name;
    for (QChar& c : shown)
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode()); // the Control Pictures block: U+240A for a line feed
        else if (c.unicode() == 0x7f)
            c = QChar(0x2421);
    return shown;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = nodeOf(index);
    if (!node)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return shownName(node->name);
    case Qt::DecorationRole:
        return folderIcon_.isNull() ? QVariant() : QVariant(folderIcon_);
    default:
        return QVariant();
    }
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid())
        return root_ != nullptr;
    const Node* node = nodeOf(parent);
    if (!node)
        return false;
    return node->state != State::Listed || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    return node && node->state == State::Unread;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    listFolder(parent);
}
