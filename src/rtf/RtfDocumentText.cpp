// The text side of the RTF document builder: bytes decoded in their code page, \uN characters,
// runs of equally formatted text, paragraphs, the font and colour tables, and pictures.
#include "rtf/RtfCodePages.h"
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfTokenizer.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cstring>

namespace {

// Tables of a hostile file must not grow without end.
constexpr qsizetype MaxColors = 4096;

// Characters Word and LibreOffice give the double-byte (East Asian) font.
bool isEastAsian(char16_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x9FFF) ||
           (c >= 0xA000 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

} // namespace

// One byte of text in the group's destination.
void RtfDocumentBuilder::textByte(uchar byte) {
    RtfGroupState& group = top();
    if (fallbackToSkip_ > 0 && group.destination != RtfDestination::Skipped) {
        --fallbackToSkip_;
        return;
    }
    switch (group.destination) {
    case RtfDestination::Skipped:
    case RtfDestination::AnsiAlternative:
        return;
    case RtfDestination::Picture: {
        const int value = RtfTokenizer::hexDigitValue(byte);
        if (value < 0 || picture_.tooBig)
            return;
        if (picture_.pendingNibble < 0) {
            picture_.pendingNibble = value;
        } else {
            if (picture_.data.size() >= RtfReader::MaxPictureBytes) {
                picture_.tooBig = true;
                picture_.data.clear();
                return;
            }
            picture_.data.append(char(picture_.pendingNibble * 16 + value));
            picture_.pendingNibble = -1;
        }
        return;
    }
    case RtfDestination::ColorTable:
        if (byte == ';')
            finishColor();
        return;
    case RtfDestination::FontTable:
        if (byte == ';') {
            decodePendingBytes();
            finishFontName();
            return;
        }
        codePageByte(byte);
        return;
    case RtfDestination::Text:
        if (byte == '\t') {
            decodePendingBytes();
            insertText(QChar(u'\t'));
            return;
        }
        if (byte < 0x20)
            return; // control characters are no text
        codePageByte(byte);
        return;
    }
}

// One byte of text in the current code page; multi-byte characters are collected first.
void RtfDocumentBuilder::codePageByte(uchar byte) {
    const RtfCodePage* codePage =
        top().codePage ? top().codePage : &codePages_.get(documentCodePage_);
    if (byte < 0x20) {
        decodePendingBytes();
        if (byte == '\t')
            insertText(QChar(u'\t'));
        return; // control characters are no text
    }
    if (codePage->kind() == RtfCodePage::Kind::SingleByte) {
        decodePendingBytes();
        insertText(codePage->map(byte));
        return;
    }
    if (pendingBytesCodePage_ != codePage)
        decodePendingBytes();
    if (awaitingTrailByte_) {
        pendingBytes_.append(char(byte));
        awaitingTrailByte_ = false;
        return;
    }
    if (byte < 0x80) {
        decodePendingBytes();
        insertText(QChar(char16_t(byte)));
        return;
    }
    pendingBytesCodePage_ = codePage;
    pendingBytes_.append(char(byte));
    awaitingTrailByte_ = codePage->isLeadByte(byte);
    if (pendingBytes_.size() > 4096)
        decodePendingBytes();
}

void RtfDocumentBuilder::decodePendingBytes() {
    awaitingTrailByte_ = false;
    if (pendingBytes_.isEmpty())
        return;
    QString text = pendingBytesCodePage_->decode(pendingBytes_);
    pendingBytes_.clear();
    text.remove(QChar(0xFFFC));
    insertText(text);
}

void RtfDocumentBuilder::insertUnicode(int value) {
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0xFFFF) {
        pendingHighSurrogate_ = 0;
        insertText(QChar(0xFFFD));
        return;
    }
    if ((value < 0x20 && value != '\t') || value == 0xFFFC)
        return; // control characters are no text; U+FFFC stands for pictures only
    const char16_t unit = char16_t(value);
    if (QChar::isHighSurrogate(unit)) {
        if (pendingHighSurrogate_) {
            pendingHighSurrogate_ = 0;
            insertText(QChar(0xFFFD));
        }
        pendingHighSurrogate_ = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (pendingHighSurrogate_) {
            const char16_t pair[2] = {char16_t(pendingHighSurrogate_), unit};
            pendingHighSurrogate_ = 0;
            insertText(QStringView(pair, 2));
        } else {
            insertText(QChar(0xFFFD));
        }
        return;
    }
    insertText(QChar(unit));
}

// Text for the group's destination: a font name, or characters added to the current run.
void RtfDocumentBuilder::insertText(QStringView text) {
    if (text.isEmpty() || groups_.empty())
        return;
    if (pendingHighSurrogate_) {
        // A high surrogate not followed by its low half.
        const bool pairing = text.size() == 2 && text[0].isHighSurrogate();
        if (!pairing) {
            pendingHighSurrogate_ = 0;
            insertText(QChar(0xFFFD));
        }
    }
    RtfGroupState& group = top();
    if (group.destination == RtfDestination::FontTable) {
        if (fontBeingDefined_ < 0)
            return;
        RtfFontEntry& font = fonts_[fontBeingDefined_];
        if (!font.nameComplete && font.name.size() < 256)
            font.name.append(text.left(256));
        return;
    }
    if (group.destination != RtfDestination::Text || group.character.hidden)
        return;
    startPendingParagraph();
    const RtfCharacterState& character = group.character;
    const bool associated = character.eastAsianFont >= 0 || character.eastAsianSize > 0;
    qsizetype from = 0;
    while (from < text.size()) {
        // A stretch of characters that share their font: all of it, unless a \dbch font is set.
        const bool eastAsian = associated && isEastAsian(text[from].unicode());
        qsizetype to = from + 1;
        if (associated)
            while (to < text.size() && isEastAsian(text[to].unicode()) == eastAsian)
                ++to;
        else
            to = text.size();
        const RtfCharacterState state = character.shown(eastAsian);
        if (!run_.isEmpty() && !(runState_ == state))
            flushRun();
        if (run_.isEmpty())
            runState_ = state;
        run_.append(text.mid(from, to - from));
        from = to;
    }
}

void RtfDocumentBuilder::flushRun() {
    if (run_.isEmpty())
        return;
    cursor_.insertText(run_, characterFormat(runState_));
    run_.clear();
}

void RtfDocumentBuilder::startPendingParagraph() {
    if (!paragraphBreakPending_)
        return;
    paragraphBreakPending_ = false;
    cursor_.insertBlock();
}

void RtfDocumentBuilder::endParagraph() {
    flushRun();
    startPendingParagraph();
    cursor_.setBlockFormat(paragraphFormat(top().paragraph));
    cursor_.setBlockCharFormat(characterFormat(top().character));
    paragraphBreakPending_ = true;
}

void RtfDocumentBuilder::finishDocument() {
    decodePendingBytes();
    if (pendingHighSurrogate_) {
        pendingHighSurrogate_ = 0;
        insertText(QChar(0xFFFD));
    }
    if (picture_.active)
        finishPicture();
    if (tableRow_.open) // a table at the end without its last \row
        endTableRow();
    flushRun();
    // A final \par ends the last paragraph; it does not start an empty one.
    if (!paragraphBreakPending_ && !groups_.empty()) {
        cursor_.setBlockFormat(paragraphFormat(top().paragraph));
        if (cursor_.block().length() <= 1)
            cursor_.setBlockCharFormat(characterFormat(top().character));
    }
}

QTextCharFormat RtfDocumentBuilder::characterFormat(const RtfCharacterState& state) {
    if (cachedFormatValid_ && cachedFormatState_ == state)
        return cachedFormat_;
    QTextCharFormat format;
    auto font = fonts_.constFind(state.font < 0 ? defaultFont_ : state.font);
    if (font != fonts_.constEnd() && !font->name.trimmed().isEmpty())
        format.setFontFamilies({font->name.trimmed()});
    format.setFontPointSize(state.size / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(QTextCharFormat::UnderlineStyle(state.underline));
    if (state.strikeOut)
        format.setFontStrikeOut(true);
    if (state.verticalAlignment != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(QTextCharFormat::VerticalAlignment(state.verticalAlignment));
    if (state.foreground >= 0 && state.foreground < colors_.size() &&
        colors_[state.foreground].isValid())
        format.setForeground(colors_[state.foreground]);
    if (state.background >= 0 && state.background < colors_.size() &&
        colors_[state.background].isValid())
        format.setBackground(colors_[state.background]);
    cachedFormatState_ = state;
    cachedFormat_ = format;
    cachedFormatValid_ = true;
    return format;
}

QTextBlockFormat RtfDocumentBuilder::paragraphFormat(const RtfParagraphState& paragraph) const {
    QTextBlockFormat format;
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    format.setAlignment(alignments[paragraph.alignment] | Qt::AlignAbsolute);
    if (paragraph.leftIndent)
        format.setLeftMargin(paragraph.leftIndent / RtfTwipsPerPixel);
    if (paragraph.rightIndent)
        format.setRightMargin(paragraph.rightIndent / RtfTwipsPerPixel);
    if (paragraph.firstLineIndent)
        format.setTextIndent(paragraph.firstLineIndent / RtfTwipsPerPixel);
    if (paragraph.spaceBefore)
        format.setTopMargin(paragraph.spaceBefore / RtfTwipsPerPixel);
    if (paragraph.spaceAfter)
        format.setBottomMargin(paragraph.spaceAfter / RtfTwipsPerPixel);
    const int spacing = paragraph.lineSpacing;
    if (spacing != 0) {
        if (paragraph.lineSpacingMultiple && spacing > 0)
            format.setLineHeight(spacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (spacing < 0)
            format.setLineHeight(-spacing / RtfTwipsPerPixel, QTextBlockFormat::FixedHeight);
        else if (!paragraph.lineSpacingMultiple)
            format.setLineHeight(spacing / RtfTwipsPerPixel, QTextBlockFormat::MinimumHeight);
    }
    if (!paragraph.tabs.isEmpty())
        format.setTabPositions(paragraph.tabs);
    return format;
}

void RtfDocumentBuilder::finishFontName() {
    if (fontBeingDefined_ < 0)
        return;
    decodePendingBytes();
    auto it = fonts_.find(fontBeingDefined_);
    if (it != fonts_.end() && !it->nameComplete) {
        it->nameComplete = true;
        // Windows names a font's code-page variant "Arial CE", "Arial CYR", …: the same font.
        it->name = it->name.trimmed();
        static const char* const suffixes[] = {" CE",       " CYR",      " Cyr",
                                               " Greek",    " Tur",      " Baltic",
                                               " (Hebrew)", " (Arabic)", " (Vietnamese)"};
        for (const char* suffix : suffixes)
            if (it->codePage != 0 && it->codePage != 1252 &&
                it->name.endsWith(QLatin1String(suffix)) &&
                it->name.size() > qsizetype(strlen(suffix))) {
                it->name.chop(qsizetype(strlen(suffix)));
                break;
            }
    }
    cachedFormatValid_ = false;
    fontBeingDefined_ = -1;
}

void RtfDocumentBuilder::finishColor() {
    cachedFormatValid_ = false;
    if (colors_.size() < MaxColors)
        colors_.append(colorComponentsSet_ ? QColor(red_, green_, blue_) : QColor());
    red_ = green_ = blue_ = 0;
    colorComponentsSet_ = false;
}

void RtfDocumentBuilder::finishPicture() {
    RtfPictureState picture = std::move(picture_);
    picture_ = RtfPictureState();
    if (picture.format == RtfPictureState::Format::Unknown || picture.tooBig ||
        picture.data.isEmpty())
        return;
    QImage image;
    const char* format = picture.format == RtfPictureState::Format::Png ? "PNG" : "JPEG";
    if (!image.loadFromData(picture.data, format) || image.isNull())
        return;
    double width = picture.goalWidth > 0 ? picture.goalWidth / RtfTwipsPerPixel : image.width();
    double height = picture.goalHeight > 0 ? picture.goalHeight / RtfTwipsPerPixel : image.height();
    if (picture.scaleX > 0 && picture.scaleX <= 10000)
        width = width * picture.scaleX / 100.0;
    if (picture.scaleY > 0 && picture.scaleY <= 10000)
        height = height * picture.scaleY / 100.0;
    width = std::clamp(width, 1.0, 20000.0);
    height = std::clamp(height, 1.0, 20000.0);
    if (groups_.empty() || top().destination != RtfDestination::Text)
        return;
    const QString name = QStringLiteral("rtfimage://%1").arg(++imageCount_);
    document_->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat imageFormat;
    imageFormat.setName(name);
    imageFormat.setWidth(width);
    imageFormat.setHeight(height);
    flushRun();
    startPendingParagraph();
    cursor_.insertImage(imageFormat);
}

void RtfDocumentBuilder::insertNoteMark() {
    if (top().destination != RtfDestination::Text)
        return;
    NoteCounter& counter = endnotesOnly_ ? endnotes_ : footnotes_;
    const int number = counter.start + counter.count++;
    flushRun();
    insertText(rtfNoteNumber(number, counter.style));
    const int from = cursor_.position();
    flushRun();
    lastMark_ = {from, cursor_.position(), endnotesOnly_};
}

void RtfDocumentBuilder::makeLastMarkAnEndnote() {
    if (lastMark_.from < 0 || lastMark_.endnote)
        return;
    lastMark_.endnote = true;
    --footnotes_.count;
    const QString mark = rtfNoteNumber(endnotes_.start + endnotes_.count++, endnotes_.style);
    if (lastMark_.to <= lastMark_.from)
        return; // a hidden mark: counted, not shown
    QTextCursor place(document_);
    place.setPosition(lastMark_.to);
    const QTextCharFormat format = place.charFormat();
    place.setPosition(lastMark_.from, QTextCursor::KeepAnchor);
    place.insertText(mark, format);
    lastMark_.to = lastMark_.from + int(mark.size());
}
