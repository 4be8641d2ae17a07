// FolderTreeModel: the folders of one drive as a tree, read from disk only where the user (or a
// path being opened) goes. Its one top-level item is the drive root; every other item is a
// folder. A folder starts unread and shows an expand button; the first time it is expanded (or
// listFolder() is called) its subfolders are listed on a worker thread and arrive in batches,
// kept in the browse order. Once listed, a folder without subfolders loses its expand button,
// and a listed folder is never read again until setRoot() starts afresh. A folder that cannot
// be read (gone, no permission) simply stays empty. Files are never part of the tree.
//
// A folder is listed once per expansion and only one level at a time, so a link that leads
// back to one of its own parents shows as one more folder to open, never as an endless tree.
#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <memory>

class FolderScanner;

class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum class State { Unread, Listing, Listed };

    explicit FolderTreeModel(QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // Starts afresh with one unread root: a drive root, ending in the delimiter. Listings still
    // running for the previous tree are dropped.
    void setRoot(const QString& root);
    QString root() const;
    QModelIndex rootIndex() const;

    // The folder of an item, ending in the delimiter (the root gives the drive root); empty for
    // no item.
    QString folderPath(const QModelIndex& index) const;
    // The child of a folder whose name is exactly this (letter case counts); none when there is
    // no such child (yet).
    QModelIndex childNamed(const QModelIndex& parent, const QString& name) const;

    State state(const QModelIndex& index) const;
    // Lists an unread folder; a folder being listed or listed already is left alone.
    void listFolder(const QModelIndex& index);
    // Whether a listing is running.
    bool isBusy() const { return !listing_.isEmpty(); }
    // How many folders have been listed (or are being listed) since the model was made.
    int listingCount() const { return listingCount_; }

    void setFolderIcon(const QIcon& icon) { folderIcon_ = icon; }
    FolderScanner* scanner() const { return scanner_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The text an item shows for a name: control characters (a line break in a folder's name)
    // are shown as their visible symbols, so that every folder keeps one line.
    static QString shownName(const QString& name);

Q_SIGNALS:
    // A batch of subfolders has been added below this folder.
    void foldersAdded(const QModelIndex& folder);
    // The folder's listing is complete (readable false when it could not be read at all).
    void folderListed(const QModelIndex& folder, bool readable);

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const Node* node) const;
    void addFolders(quint64 id, const QStringList& names);
    void endListing(quint64 id, bool readable);

    FolderScanner* scanner_;
    std::unique_ptr<Node> root_;
    QHash<quint64, Node*> listing_;
    int listingCount_ = 0;
    QIcon folderIcon_;
};
