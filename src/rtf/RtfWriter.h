// Writes a QTextDocument as RTF 1 that word processors open as the editor showed it:
// `\ansi\ansicpg1252`, a font table and a colour table of what the text uses, one `\pard … \par`
// per paragraph with its alignment, indents, spacing and tab stops, character formatting per run,
// every non-ASCII character as `\uN\'3f`, tabs as `\tab`, pictures as PNG.
// What RtfReader reads from this output writes back to the same bytes.
#pragma once

#include <QByteArray>

class QIODevice;
class QTextDocument;

class RtfWriter {
public:
    static QByteArray toRtf(const QTextDocument* document);

    // Writes to the device in blocks; throws AppError "Failed to Save Stream" when the device
    // takes less than it is given.
    static void write(const QTextDocument* document, QIODevice* device);
};
