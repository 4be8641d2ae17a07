// Plain text files as the back-cover editor reads them when a file is not RTF.
#pragma once

#include <QByteArray>
#include <QString>

// The text of a file: UTF-16 or UTF-8 by their byte-order marks, UTF-8 when the bytes are valid
// UTF-8, else the Windows code page 1252. Throws AppError "Failed to Load Stream" when the bytes
// are not text (NUL bytes or many control characters without a UTF-16 mark).
QString decodeTextFile(const QByteArray& bytes);
