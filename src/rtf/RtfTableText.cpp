// Table rows in the RTF document builder: each row becomes one line, its cells separated by
// tabs, with tab stops where the cells stand (rtf/RtfTableRows.h). A paragraph break inside a
// cell joins the cell's paragraphs with a space, and a nested table's cells are joined the same
// way, so that the row's columns stay in line.
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfTokenizer.h"

#include <QTextBlock>
#include <QTextDocument>

bool RtfDocumentBuilder::applyTableRowWord(RtfControlWord word, const RtfToken& token) {
    RtfGroupState& group = top();
    RtfTableRowDefinition& row = rowDefinition_;
    const int parameter = token.parameter;
    const bool inText = group.destination == RtfDestination::Text;
    switch (word) {
    case RtfControlWord::InTable:
        group.paragraph.inTable = !token.hasParameter || parameter != 0;
        break;
    case RtfControlWord::RowDefaults:
        row = RtfTableRowDefinition();
        break;
    case RtfControlWord::RowLeft:
        row.left = parameter;
        break;
    case RtfControlWord::RowGap:
        row.gap = parameter;
        break;
    case RtfControlWord::RowPaddingLeft:
        row.paddingLeft = parameter;
        break;
    case RtfControlWord::RowPaddingRight:
        row.paddingRight = parameter;
        break;
    case RtfControlWord::RowPaddingLeftUnit:
        row.paddingLeftUnit = parameter;
        break;
    case RtfControlWord::RowPaddingRightUnit:
        row.paddingRightUnit = parameter;
        break;
    case RtfControlWord::CellMergedFirst:
        row.nextCellMerged = false;
        break;
    case RtfControlWord::CellMerged:
        row.nextCellMerged = true;
        break;
    case RtfControlWord::CellRightEdge:
        if (row.cells.size() < RtfTableRowDefinition::MaxCells)
            row.cells.append({parameter, row.nextCellMerged});
        row.nextCellMerged = false;
        break;
    case RtfControlWord::TableCellEnd:
        if (inText)
            endTableCell();
        break;
    case RtfControlWord::TableRowEnd:
        if (inText)
            endTableRow();
        break;
    case RtfControlWord::NestedCellEnd:
        if (inText)
            insertText(QChar(u' '));
        break;
    case RtfControlWord::NestedRowEnd:
        break;
    case RtfControlWord::ParagraphEnd:
        if (!inText || (!group.paragraph.inTable && !tableRow_.open))
            return false; // an ordinary paragraph
        if (group.paragraph.inTable) {
            openTableRow(); // another paragraph in the same cell
            insertText(QChar(u' '));
        } else {
            endTableRow(); // a table whose last row has no \row
        }
        break;
    default:
        return false;
    }
    return true;
}

void RtfDocumentBuilder::openTableRow() {
    if (tableRow_.open)
        return;
    tableRow_.open = true;
    tableRow_.firstCell = top().paragraph;
}

void RtfDocumentBuilder::endTableCell() {
    openTableRow();
    if (tableRow_.alignments.size() < RtfTableRowDefinition::MaxCells)
        tableRow_.alignments.append(top().paragraph.alignment);
    ++tableRow_.cells;
    if (rowDefinition_.continuesCell(tableRow_.cells))
        return; // the next cell is part of this one
    flushRun();
    QList<int>& tabEnds = tableRow_.tabEnds;
    if (!tabEnds.isEmpty() && tabEnds.last() != cursor_.position())
        tabEnds.clear(); // the cell had text: the tabs before it separate something
    const int before = cursor_.position();
    insertText(QChar(u'\t'));
    flushRun();
    // Only a tab that is there (not hidden text) may be taken away again.
    if (cursor_.position() == before + 1 && tabEnds.size() < RtfTableRowDefinition::MaxCells)
        tabEnds.append(cursor_.position());
}

void RtfDocumentBuilder::endTableRow() {
    openTableRow();
    flushRun();
    startPendingParagraph(); // a row of empty cells is an empty line
    // The tabs after the last cells separate nothing.
    QList<int>& tabEnds = tableRow_.tabEnds;
    while (!tabEnds.isEmpty() && tabEnds.last() == cursor_.position()) {
        cursor_.deletePreviousChar();
        tabEnds.removeLast();
    }

    // Wider than the document's text, when it has a width, the row is narrowed to fit.
    const double textWidth = document_->textWidth();
    const double fitWidth = textWidth > 0 ? textWidth - 2 * document_->documentMargin() : 0;
    const RtfTableRowStops stops = rtfTableRowStops(rowDefinition_, tableRow_.alignments, fitWidth);
    const QTextBlock line = cursor_.block();
    if (stops.leadingTab && line.length() > 1) {
        QTextCursor start(line);
        const QTextCharFormat first = line.begin().fragment().charFormat();
        start.insertText(QStringLiteral("\t"),
                         first.isImageFormat() ? characterFormat(top().character) : first);
    }
    RtfParagraphState paragraph = tableRow_.firstCell;
    paragraph.alignment = 0;
    paragraph.leftIndent = paragraph.rightIndent = paragraph.firstLineIndent = 0;
    paragraph.tabs = stops.tabs;
    cursor_.setBlockFormat(paragraphFormat(paragraph));
    cursor_.setBlockCharFormat(characterFormat(top().character));
    paragraphBreakPending_ = true;
    tableRow_ = TableRow();
}
