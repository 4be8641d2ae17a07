// Builds a QTextDocument from the tokens of an RTF file: keeps one state per open group, sends
// text to its destination (the document, the font table, the colour table, a picture, or
// nowhere), decodes bytes in the code page of the current font, and writes runs of equally
// formatted text, paragraphs and pictures straight into the document through a cursor.
//
// Text is collected in a run while its formatting stays the same and inserted when it changes;
// bytes of a double-byte code page are collected until the run of bytes ends. A paragraph mark
// ends the current block but starts the next one only when more text comes, so that a final
// \par leaves no empty paragraph behind.
#pragma once

#include "rtf/RtfCodePages.h"
#include "rtf/RtfControlWords.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfNoteNumbers.h"
#include "rtf/RtfTableRows.h"

#include <QByteArrayView>
#include <QColor>
#include <QHash>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <vector>

class QTextDocument;
class RtfTokenizer;
struct RtfToken;

class RtfDocumentBuilder {
public:
    // Adds to the document, which the caller has emptied.
    explicit RtfDocumentBuilder(QTextDocument* document) : document_(document) {}

    // Reads every token and finishes the document, also when reading throws.
    void build(RtfTokenizer& tokens);

private:
    RtfGroupState& top() { return groups_.back(); }

    // Tokens and groups (RtfDocumentBuilder.cpp).
    void text(QByteArrayView bytes);
    void escapedByte(uchar byte);
    void controlSymbol(uchar symbol);
    void controlWord(const RtfToken& token);
    void binaryData(QByteArrayView bytes);
    void openGroup(bool beyondDepthCap);
    void closeGroup(bool beyondDepthCap);
    const RtfCodePage* codePageOfFont(int font);

    // Control words by what they change (RtfControlWordActions.cpp).
    void applyDocumentWord(RtfControlWord word, const RtfToken& token);
    bool applyTableWord(RtfControlWord word, const RtfToken& token);
    bool applyCharacterWord(RtfControlWord word, const RtfToken& token);
    bool applyParagraphWord(RtfControlWord word, const RtfToken& token);
    bool applyPictureWord(RtfControlWord word, const RtfToken& token);
    bool applyTableRowWord(RtfControlWord word, const RtfToken& token);

    // Text, paragraphs, formats, tables and pictures (RtfDocumentText.cpp).
    void textByte(uchar byte);
    void codePageByte(uchar byte);
    void decodePendingBytes();
    void insertText(QStringView text);
    void insertText(QChar c) { insertText(QStringView(&c, 1)); }
    void insertUnicode(int value);
    void flushRun();
    void startPendingParagraph();
    void endParagraph();
    void finishDocument();
    QTextCharFormat characterFormat(const RtfCharacterState& state);
    QTextBlockFormat paragraphFormat(const RtfParagraphState& paragraph) const;
    void finishFontName();
    void finishColor();
    void finishPicture();
    void insertNoteMark();
    void makeLastMarkAnEndnote();

    // Table rows, each one line with tab stops at its cells (RtfTableText.cpp).
    void openTableRow();
    void endTableCell();
    void endTableRow();

    QTextDocument* document_;
    QTextCursor cursor_;
    std::vector<RtfGroupState> groups_;
    int fallbackToSkip_ = 0; // fallback characters still to skip after \uN

    // Footnotes and endnotes: their texts are not read; each mark in the text shows its own
    // counter. A mark comes before its note, so it is written as a footnote's and turned into an
    // endnote's when the note says it is one (\ftnalt).
    struct NoteCounter {
        RtfNoteStyle style = RtfNoteStyle::Arabic;
        int start = 1;
        int count = 0; // marks met so far
    };
    NoteCounter footnotes_;
    NoteCounter endnotes_;
    bool endnotesOnly_ = false; // \fet1
    struct NoteMark {
        int from = -1; // where the last mark stands in the document; -1: none waiting for its note
        int to = -1;
        bool endnote = false;
    };
    NoteMark lastMark_;
    size_t noteDepth_ = 0; // the depth of the {\footnote} group being skipped; 0: none
    int pendingHighSurrogate_ = 0;

    // Document settings and tables.
    RtfCodePages codePages_;
    int documentCodePage_ = 1252;
    int defaultFont_ = 0; // \deff; font 0 when the document names none
    QHash<int, RtfFontEntry> fonts_;
    int fontBeingDefined_ = -1;
    QList<QColor> colors_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colorComponentsSet_ = false;
    int nextTabType_ = QTextOption::LeftTab;
    bool nextTabDotLeader_ = false;

    // Bytes of a multi-byte code page, waiting for the rest of their character.
    QByteArray pendingBytes_;
    const RtfCodePage* pendingBytesCodePage_ = nullptr;
    bool awaitingTrailByte_ = false;

    // Text waiting to be inserted with one format.
    QString run_;
    RtfCharacterState runState_;
    bool paragraphBreakPending_ = false;
    bool cachedFormatValid_ = false;
    RtfCharacterState cachedFormatState_;
    QTextCharFormat cachedFormat_;

    RtfPictureState picture_;
    int imageCount_ = 0;

    // The cells of the row being read, since the last \trowd, and what its line holds so far.
    RtfTableRowDefinition rowDefinition_;
    struct TableRow {
        bool open = false;           // a cell or a paragraph of a cell has been read
        qsizetype cells = 0;         // cells ended so far
        QList<int> alignments;       // their paragraphs' alignments (at most MaxCells)
        QList<int> tabEnds;          // where the tabs after the last, empty cells end
        RtfParagraphState firstCell; // the line takes the first cell's paragraph format
    };
    TableRow tableRow_;
};
