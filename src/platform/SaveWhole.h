// Writing a file whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to a new file beside path and puts it in path's place only when every byte was
// written; on any failure path is left as it was and the result is false. QSaveFile alone is not
// enough on Qt 6.4: a buffered write that fails half-way (a full disk) still lets commit() put
// the short file in place. Unbuffered, every short write is seen and the new file is dropped.
bool saveFileWhole(const QString& path, const QByteArray& bytes);
