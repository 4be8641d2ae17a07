// Which file of a drag and drop the program's drop targets take. A drop from a file manager
// brings a list of addresses; a target takes the first one that is a local file (not a folder)
// whose extension says it is something the target reads, and refuses the drop when there is
// none. The decision needs no window; the windows ask it while the drag moves over them and
// when it is dropped.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <Qt>
#include <functional>

// One dropped address as far as the decision goes.
struct DroppedItem {
    QString path; // the local file it names; empty for anything that is no local file
    bool isFolder = false;
};

// Looks at the file system: which of the addresses are local, and which are folders.
QList<DroppedItem> droppedItems(const QList<QUrl>& urls);

// The first item that is a file with one of the extensions (lower case, without the dot; the
// file's own extension in any case); else, when folders is given, the first folder it finds
// usable; empty when none is.
QString usableDroppedFile(const QList<DroppedItem>& items, const QStringList& extensions,
                          const std::function<bool(const QString&)>& folders = {});

// How the drop is taken: always as a copy (or a link when the source offers nothing else),
// never as a move, which would have the file manager delete the user's file once it is read.
// Qt::IgnoreAction when the source offers neither.
Qt::DropAction safeDropAction(Qt::DropActions offered);

// What the back-cover editor reads: rich text and plain text files.
QStringList listFileExtensions();

// The error text of a dropped file that could not be read: it names the file, unless the
// reader's own text does already.
QString droppedFileError(const QString& fileName, const QString& readerMessage);
