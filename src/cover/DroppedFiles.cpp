#include "cover/DroppedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QList<DroppedItem> droppedItems(const QList<QUrl>& urls) {
    QList<DroppedItem> items;
    for (const QUrl& url : urls) {
        DroppedItem item;
        if (url.isLocalFile()) {
            item.path = url.toLocalFile();
            item.isFolder = QFileInfo(item.path).isDir();
        }
        items.append(item);
    }
    return items;
}

QString usableDroppedFile(const QList<DroppedItem>& items, const QStringList& extensions,
                          const std::function<bool(const QString&)>& folders) {
    for (const DroppedItem& item : items) {
        if (item.path.isEmpty() || item.isFolder)
            continue;
        const QString extension = QFileInfo(item.path).suffix().toLower();
        if (!extension.isEmpty() && extensions.contains(extension))
            return item.path;
    }
    if (folders)
        for (const DroppedItem& item : items)
            if (!item.path.isEmpty() && item.isFolder && folders(item.path))
                return item.path;
    return {};
}

Qt::DropAction safeDropAction(Qt::DropActions offered) {
    if (offered.testFlag(Qt::CopyAction))
        return Qt::CopyAction;
    if (offered.testFlag(Qt::LinkAction))
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

QStringList listFileExtensions() {
    return {QStringLiteral("rtf"), QStringLiteral("txt"), QStringLiteral("text")};
}

QString droppedFileError(const QString& fileName, const QString& readerMessage) {
    if (readerMessage.contains(fileName))
        return readerMessage;
    return QCoreApplication::translate("DroppedFiles", "%1 cannot be read:\n%2")
        .arg(QDir::toNativeSeparators(fileName), readerMessage);
}
