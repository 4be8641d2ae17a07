// FileListModel: the files of one folder as the browse dialog lists them, in the browse order.
// A big folder arrives in batches (browse/FolderScanner.h); each batch is added to the rows
// already there, never rebuilding them, so that a folder of 20 000 files fills the list without
// holding up the window, and a file the user has chosen meanwhile stays chosen.
#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>

class FileListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The role that gives a row's file name as it is on disk (the shown text may differ).
    static constexpr int NameRole = Qt::UserRole;

    explicit FileListModel(QObject* parent = nullptr);

    void clear();
    // Adds names (sorted in the browse order) to the rows, keeping the whole list in that order.
    void addBatch(const QStringList& names);
    QString nameAt(int row) const { return names_.value(row); }
    int count() const { return int(names_.size()); }
    void setFileIcon(const QIcon& icon) { fileIcon_ = icon; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QStringList names_;
    QIcon fileIcon_;
};
