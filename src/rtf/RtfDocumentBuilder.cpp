#include "rtf/RtfDocumentBuilder.h"

#include "rtf/RtfCodePages.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfTokenizer.h"

void RtfDocumentBuilder::build(RtfTokenizer& tokens) {
    groups_.reserve(64);
    cursor_ = QTextCursor(document_);
    cursor_.beginEditBlock(); // one layout pass at the end instead of one per insertion
    // The block must be ended whatever happens, or the document never lays itself out again.
    struct EndEditBlock {
        QTextCursor& cursor;
        ~EndEditBlock() { cursor.endEditBlock(); }
    } endEditBlock{cursor_};
    for (RtfToken token = tokens.next(); token.kind != RtfToken::Kind::End; token = tokens.next()) {
        switch (token.kind) {
        case RtfToken::Kind::GroupStart:
            decodePendingBytes();
            openGroup(token.beyondDepthCap);
            break;
        case RtfToken::Kind::GroupEnd:
            decodePendingBytes();
            closeGroup(token.beyondDepthCap);
            break;
        case RtfToken::Kind::ControlWord:
            controlWord(token);
            break;
        case RtfToken::Kind::ControlSymbol:
            controlSymbol(token.character);
            break;
        case RtfToken::Kind::EscapedByte:
            escapedByte(token.character);
            break;
        case RtfToken::Kind::Text:
            text(token.bytes);
            break;
        case RtfToken::Kind::BinaryData:
            binaryData(token.bytes);
            break;
        case RtfToken::Kind::End:
            break;
        }
    }
    finishDocument();
}

void RtfDocumentBuilder::text(QByteArrayView bytes) {
    qsizetype i = 0;
    while (i < bytes.size() && !groups_.empty()) {
        RtfGroupState& group = top();
        if (group.ignorable) {
            group.ignorable = false; // "\*" before text: not a destination anyone knows
            group.destination = RtfDestination::Skipped;
        }
        if (group.destination == RtfDestination::Skipped ||
            group.destination == RtfDestination::AnsiAlternative)
            return;
        const uchar byte = uchar(bytes[i]);
        if (group.destination == RtfDestination::Text && fallbackToSkip_ == 0 && byte >= 0x20 &&
            byte < 0x80 && !awaitingTrailByte_) {
            // The common case: a stretch of ordinary ASCII text in the document.
            qsizetype end = i + 1;
            while (end < bytes.size() && uchar(bytes[end]) >= 0x20 && uchar(bytes[end]) < 0x80)
                ++end;
            decodePendingBytes();
            insertText(QString::fromLatin1(bytes.data() + i, end - i));
            i = end;
            continue;
        }
        textByte(byte);
        ++i;
    }
}

void RtfDocumentBuilder::escapedByte(uchar byte) {
    if (groups_.empty())
        return;
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    if (top().destination == RtfDestination::Text || top().destination == RtfDestination::FontTable)
        codePageByte(byte);
}

void RtfDocumentBuilder::controlSymbol(uchar symbol) {
    if (groups_.empty() || top().destination == RtfDestination::Skipped)
        return;
    RtfGroupState& group = top();
    if (symbol == '*') {
        group.ignorable = true;
        return;
    }
    decodePendingBytes();
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(symbol); // escaped, so never a brace or a control word
        return;
    case '~':
        insertText(QChar(0x00A0));
        return;
    case '-':
        insertText(QChar(0x00AD));
        return;
    case '_':
        insertText(QChar(0x2011));
        return;
    case '\r':
    case '\n':
        if (group.destination == RtfDestination::Text)
            endParagraph();
        return;
    case '\t':
        insertText(QChar(u'\t'));
        return;
    default:
        return; // \: \| and other symbols have no text
    }
}

void RtfDocumentBuilder::controlWord(const RtfToken& token) {
    if (groups_.empty())
        return;
    RtfGroupState& group = top();
    if (group.destination == RtfDestination::Skipped && token.word == "ftnalt" &&
        groups_.size() == noteDepth_)
        makeLastMarkAnEndnote();
    if (group.destination == RtfDestination::Skipped && token.word != "bin")
        return;
    const std::optional<RtfControlWord> known = rtfControlWord(token.word);

    // \bin counts everywhere; the tokenizer hands its data on next.
    if (known == RtfControlWord::BinaryData) {
        decodePendingBytes();
        if (fallbackToSkip_ > 0)
            --fallbackToSkip_;
        return;
    }
    if (group.destination == RtfDestination::Skipped)
        return;
    if (group.destination == RtfDestination::AnsiAlternative) {
        if (known == RtfControlWord::UnicodeAlternative && group.ignorable)
            group.destination = group.destinationAfterAlternative;
        else
            group.destination = RtfDestination::Skipped;
        group.ignorable = false;
        return;
    }
    const bool ignorable = group.ignorable;
    group.ignorable = false;
    if (!known) {
        if (ignorable)
            group.destination = RtfDestination::Skipped; // an ignorable destination unknown here
        else if (fallbackToSkip_ > 0)
            --fallbackToSkip_;
        return;
    }
    const RtfControlWord word = *known;
    if (word != RtfControlWord::UnicodeCharacter)
        decodePendingBytes();
    if (fallbackToSkip_ > 0 && word != RtfControlWord::UnicodeSkipCount) {
        --fallbackToSkip_;
        return;
    }
    if (const char16_t character = rtfSpecialCharacter(word)) {
        insertText(QChar(character));
        return;
    }
    if (applyTableRowWord(word, token) || applyTableWord(word, token) || applyCharacterWord(word, token) ||
        applyParagraphWord(word, token) || applyPictureWord(word, token))
        return;
    applyDocumentWord(word, token);
}

void RtfDocumentBuilder::binaryData(QByteArrayView bytes) {
    const bool keep =
        !groups_.empty() && top().destination == RtfDestination::Picture && picture_.active;
    if (!keep || picture_.tooBig)
        return;
    if (picture_.data.size() + bytes.size() > RtfReader::MaxPictureBytes) {
        picture_.tooBig = true;
        picture_.data.clear();
    } else {
        picture_.data.append(bytes);
    }
}

void RtfDocumentBuilder::openGroup(bool beyondDepthCap) {
    if (groups_.empty()) {
        groups_.emplace_back();
        groups_.back().codePage = &codePages_.get(documentCodePage_);
        return;
    }
    fallbackToSkip_ = 0;
    if (top().ignorable) {
        top().ignorable = false;
        top().destination = RtfDestination::Skipped;
    }
    if (beyondDepthCap)
        return; // shares the state of the deepest group
    RtfGroupState child = top();
    child.ignorable = false;
    if (child.destination == RtfDestination::ColorTable)
        child.destination = RtfDestination::Skipped;
    groups_.push_back(std::move(child));
}

void RtfDocumentBuilder::closeGroup(bool beyondDepthCap) {
    fallbackToSkip_ = 0;
    if (beyondDepthCap || groups_.empty())
        return;
    const RtfGroupState& closing = top();
    if (closing.destination == RtfDestination::FontTable && fontBeingDefined_ >= 0 &&
        groups_.size() >= 2 && groups_[groups_.size() - 2].destination == RtfDestination::FontTable)
        finishFontName(); // end of one {\fN …} entry
    if (closing.destination == RtfDestination::ColorTable && colorComponentsSet_)
        finishColor();
    const bool endsPicture = picture_.active && int(groups_.size()) == picture_.depth;
    if (groups_.size() == noteDepth_) { // the note after the last mark has ended
        noteDepth_ = 0;
        lastMark_ = NoteMark();
    }
    if (groups_.size() == 1)
        return; // the document's closing brace: the tokenizer reads no further
    const bool leavingFontTable =
        closing.destination == RtfDestination::FontTable &&
        groups_[groups_.size() - 2].destination != RtfDestination::FontTable;
    groups_.pop_back();
    if (endsPicture)
        finishPicture();
    if (leavingFontTable)
        finishFontName();
    if (!groups_.empty() && top().destination == RtfDestination::Text)
        top().codePage = codePageOfFont(top().character.font);
}

const RtfCodePage* RtfDocumentBuilder::codePageOfFont(int font) {
    auto it = fonts_.constFind(font < 0 ? defaultFont_ : font);
    const int codePage =
        (it != fonts_.constEnd() && it->codePage > 0) ? it->codePage : documentCodePage_;
    return &codePages_.get(codePage);
}
