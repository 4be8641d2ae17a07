#include "rtf/RtfReader.h"

#include "rtf/RtfByteSource.h"
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfTokenizer.h"

#include <QIODevice>
#include <QTextDocument>

namespace {

const QString LoadFailed = QStringLiteral("Failed to Load Stream");

// Where "{\rtf" starts, after an optional byte-order mark and blanks; -1 when it does not.
qsizetype rtfStart(const QByteArray& head) {
    qsizetype i = 0;
    if (head.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < head.size() &&
           (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    return head.mid(i, 5) == "{\\rtf" ? i : -1;
}

void readFrom(RtfByteSource& source, QTextDocument* document) {
    QByteArray head;
    for (int i = 0; i < 64; ++i) {
        const int c = source.peek(i);
        if (c < 0)
            break;
        head.append(char(c));
    }
    const qsizetype start = rtfStart(head);
    if (start < 0)
        throw RtfFormatError(LoadFailed);
    source.advance(start);

    document->clear();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    RtfTokenizer tokenizer(source);
    RtfDocumentBuilder builder(document);
    try {
        builder.build(tokenizer);
    } catch (...) {
        document->setUndoRedoEnabled(undo);
        throw;
    }
    document->setUndoRedoEnabled(undo);
}

} // namespace

bool RtfReader::looksLikeRtf(const QByteArray& head) {
    return rtfStart(head) >= 0;
}

void RtfReader::read(const QByteArray& rtf, QTextDocument* document) {
    RtfByteSource source(rtf);
    readFrom(source, document);
}

void RtfReader::read(QIODevice* device, QTextDocument* document) {
    if (!device || !device->isReadable())
        throw AppError(LoadFailed);
    RtfByteSource source(device);
    readFrom(source, document);
}
