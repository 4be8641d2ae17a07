#include "back/RichTextEdit.h"

#include "cover/TabLeaders.h"
#include "platform/AppError.h"
#include "platform/FileBytes.h"
#include "platform/SaveWhole.h"
#include "platform/SystemReason.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"
#include "rtf/TextFile.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

RichTextEdit::RichTextEdit(QWidget* parent) : QTextEdit(parent) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    setFont(font);
    document()->setDefaultFont(font);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setAcceptRichText(true);
    setTabChangesFocus(false); // tab characters go into the text
    setTabStopDistance(48);    // half an inch, as word processors do
}

void RichTextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::ControlModifier) {
        const QTextCharFormat current = currentCharFormat();
        QTextCharFormat change;
        switch (event->key()) {
        case Qt::Key_B:
            change.setFontWeight(current.fontWeight() > QFont::Normal ? QFont::Normal
                                                                      : QFont::Bold);
            break;
        case Qt::Key_I:
            change.setFontItalic(!current.fontItalic());
            break;
        case Qt::Key_U:
            change.setFontUnderline(!current.fontUnderline());
            break;
        default:
            QTextEdit::keyPressEvent(event);
            return;
        }
        mergeCurrentCharFormat(change);
        event->accept();
        return;
    }
    const bool newParagraph = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                              (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (newParagraph && !isReadOnly()) {
        // The new paragraph goes on in the paragraph's format (its tab stops, its alignment) and
        // in the style the next letter would get, also one switched on by a key just before.
        // The toolkit's own Return drops a paragraph format, and on the empty line that follows
        // such a paragraph it only resets the format and swallows the key: every second Return
        // in a list read from a file was lost.
        QTextCursor cursor = textCursor();
        const QTextCharFormat pending = currentCharFormat();
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock(cursor.blockFormat(), pending);
        cursor.endEditBlock();
        setTextCursor(cursor);
        setCurrentCharFormat(pending);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextEdit::paintEvent(QPaintEvent* event) {
    QTextEdit::paintEvent(event);
    // Qt leaves a tab's gap empty: the dots of a dot leader are painted over it.
    QPainter painter(viewport());
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-scrolled);
    TabLeaders::paint(painter, *document(), QRectF(event->rect().translated(scrolled)),
                      palette().color(QPalette::Text));
}

void RichTextEdit::loadFromFile(const QString& fileName) {
    adopt(readFile(fileName));
}

QTextDocument* RichTextEdit::readFile(const QString& fileName) {
    // Only a regular file: a FIFO or a device would keep the program waiting for good.
    const RegularFile source(fileName);
    if (source.size() > MaxListFileBytes)
        throw AppError(tr("%1 is too large for a list of contents (%2 MB; at most %3 MB).")
                           .arg(QDir::toNativeSeparators(fileName))
                           .arg(source.size() / (1024 * 1024))
                           .arg(MaxListFileBytes / (1024 * 1024)));
    QFile file;
    if (!file.open(source.handle(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        source.failRead();
    auto* loaded = new QTextDocument(this);
    loaded->setDefaultFont(document()->defaultFont());
    loaded->setDefaultTextOption(document()->defaultTextOption());
    loaded->setDocumentMargin(document()->documentMargin());
    // A table wider than the editor is narrowed to fit it while it is read, leaving room for the
    // scroll bar a long list may bring, so that a right-aligned last column does not wrap, and
    // a margin on the right as wide as the document's, so that the copy onto the back (which
    // cuts the editor's last pixels) keeps that column whole.
    const int scrollBar =
        verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
            ? 0
            : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    const int rightMargin = 2 * qRound(document()->documentMargin());
    loaded->setTextWidth(std::max(1, contentsRect().width() - scrollBar - rightMargin));
    try {
        try {
            RtfReader::read(&file, loaded);
        } catch (const RtfFormatError&) {
            // Not RTF: read it again from its start as plain text.
            if (!file.seek(0))
                throw AppError(QStringLiteral("Failed to Load Stream"));
            const QByteArray bytes = file.readAll();
            if (file.error() != QFileDevice::NoError)
                throw AppError(QStringLiteral("Failed to Load Stream"));
            loaded->setPlainText(decodeTextFile(bytes));
        }
    } catch (...) {
        delete loaded;
        throw;
    }
    return loaded;
}

void RichTextEdit::adopt(QTextDocument* loaded) {
    // The control deletes a document it made itself; one read earlier belongs to this widget.
    QPointer<QTextDocument> old = document();
    setDocument(loaded);
    if (old && old->parent() == this)
        delete old;
    moveCursor(QTextCursor::Start);
}

QByteArray RichTextEdit::toRtf() const {
    QByteArray rtf;
    QBuffer buffer(&rtf);
    buffer.open(QIODevice::WriteOnly);
    RtfWriter::write(document(), &buffer);
    return rtf;
}

void RichTextEdit::saveToFile(const QString& fileName) const {
    if (!saveFileWhole(fileName, toRtf()))
        throw AppError(withReason(
            QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(fileName)),
            whyCannotWrite(fileName)));
}

QStringList RichTextEdit::displayedLines() const {
    QStringList lines;
    QTextDocument* doc = document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out if it is not yet
        const QTextLayout* lines_ = block.layout();
        const QString text = block.text();
        if (!lines_ || lines_->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < lines_->lineCount(); ++i) {
            const QTextLine line = lines_->lineAt(i);
            QString part = text.mid(line.textStart(), line.textLength());
            if (part.endsWith(QChar(QChar::LineSeparator)))
                part.chop(1);
            lines << part;
        }
    }
    return lines;
}
