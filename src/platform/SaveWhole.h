// Writing files whole or not at all.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes bytes to a new file beside path and puts it in path's place only when every byte was
// written; on any failure path is left as it was and the result is false. QSaveFile alone is not
// enough on Qt 6.4: a buffered write that fails half-way (a full disk) still lets commit() put
// the short file in place. Unbuffered, every short write is seen and the new file is dropped.
bool saveFileWhole(const QString& path, const QByteArray& bytes);

struct FileToWrite {
    QString path;
    QByteArray bytes;
};

// Writes several files as one: each goes to a new file beside its place first, and only when
// every one of them has been written whole are they put in their places. On a failure while
// writing (a full disk, a folder that cannot be written) none of the old files is touched.
// Gives the path of the file that failed, or an empty text when all were written.
QString saveFilesWhole(const QList<FileToWrite>& files);
