// What each control word the reader knows does to the document, the group state or the tables.
#include "rtf/RtfCodePages.h"
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfTokenizer.h"
#include "rtf/TabStops.h"

#include <QTextDocument>
#include <algorithm>

namespace {

// Tables of a hostile file must not grow without end.
constexpr qsizetype MaxFonts = 4096;
// Indents, spacing and tab stops beyond 22 inches are cut to that.
constexpr int MaxTwips = 31680;

// A toggle such as \b is on without a parameter and with any parameter but 0.
bool switchedOn(const RtfToken& token) {
    return !token.hasParameter || token.parameter != 0;
}

} // namespace

void RtfDocumentBuilder::applyDocumentWord(RtfControlWord word, const RtfToken& token) {
    RtfGroupState& group = top();
    const int parameter = token.parameter;
    switch (word) {
    case RtfControlWord::AnsiCharacterSet:
        documentCodePage_ = 1252;
        break;
    case RtfControlWord::MacCharacterSet:
        documentCodePage_ = 10000;
        break;
    case RtfControlWord::PcCharacterSet:
        documentCodePage_ = 437;
        break;
    case RtfControlWord::PcaCharacterSet:
        documentCodePage_ = 850;
        break;
    case RtfControlWord::AnsiCodePage:
        if (token.hasParameter)
            documentCodePage_ = codePages_.get(parameter).number();
        group.codePage = codePageOfFont(group.character.font);
        break;
    case RtfControlWord::DefaultFont:
        defaultFont_ = parameter;
        group.codePage = codePageOfFont(group.character.font);
        break;
    case RtfControlWord::DefaultTabWidth:
        if (parameter > 0 && parameter < 1440 * 22) {
            QTextOption option = document_->defaultTextOption();
            option.setTabStopDistance(parameter / RtfTwipsPerPixel);
            document_->setDefaultTextOption(option);
        }
        break;
    case RtfControlWord::UnicodeSkipCount:
        if (token.hasParameter && parameter >= 0 && parameter <= 10)
            group.unicodeSkipCount = parameter;
        break;
    case RtfControlWord::UnicodeCharacter:
        if (!token.hasParameter)
            break;
        decodePendingBytes();
        insertUnicode(parameter);
        fallbackToSkip_ = group.unicodeSkipCount;
        break;
    case RtfControlWord::FontTable:
        group.destination = RtfDestination::FontTable;
        fontBeingDefined_ = -1;
        break;
    case RtfControlWord::ColorTable:
        group.destination = RtfDestination::ColorTable;
        colors_.clear();
        colorComponentsSet_ = false;
        break;
    case RtfControlWord::Picture:
        if (group.destination != RtfDestination::Text) {
            group.destination = RtfDestination::Skipped;
            break;
        }
        flushRun();
        picture_ = RtfPictureState();
        picture_.active = true;
        picture_.depth = int(groups_.size());
        group.destination = RtfDestination::Picture;
        break;
    case RtfControlWord::SkippedDestination:
        group.destination = RtfDestination::Skipped;
        break;
    case RtfControlWord::Note:
        group.destination = RtfDestination::Skipped;
        noteDepth_ = groups_.size();
        break;
    case RtfControlWord::NoteKinds:
        endnotesOnly_ = parameter == 1;
        break;
    case RtfControlWord::FootnoteNumbering:
        footnotes_.style = rtfNoteStyle(token.word);
        break;
    case RtfControlWord::EndnoteNumbering:
        endnotes_.style = rtfNoteStyle(token.word);
        break;
    case RtfControlWord::FootnoteStart:
    case RtfControlWord::EndnoteStart:
        if (token.hasParameter && parameter >= 1 && parameter <= 32767)
            (word == RtfControlWord::FootnoteStart ? footnotes_ : endnotes_).start = parameter;
        break;
    case RtfControlWord::AnsiAndUnicodePair:
        group.destinationAfterAlternative = group.destination;
        group.destination = RtfDestination::AnsiAlternative;
        break;
    default: // destinations whose text is the document's, and \ud outside \upr
        break;
    }
}

bool RtfDocumentBuilder::applyTableWord(RtfControlWord word, const RtfToken& token) {
    RtfGroupState& group = top();
    const int parameter = token.parameter;
    switch (word) {
    case RtfControlWord::Font:
        if (group.destination == RtfDestination::FontTable) {
            finishFontName();
            if (fonts_.size() >= MaxFonts && !fonts_.contains(parameter))
                break;
            fontBeingDefined_ = parameter;
            fonts_[parameter] = RtfFontEntry();
            group.codePage = &codePages_.get(documentCodePage_);
        } else {
            group.character.font = parameter;
            group.codePage = codePageOfFont(parameter);
        }
        break;
    case RtfControlWord::FontCharset:
        if (group.destination == RtfDestination::FontTable && fontBeingDefined_ >= 0) {
            const int codePage = RtfCodePage::forCharset(parameter);
            fonts_[fontBeingDefined_].codePage = codePage;
            group.codePage = &codePages_.get(codePage > 0 ? codePage : documentCodePage_);
        }
        break;
    case RtfControlWord::FontCodePage:
        if (group.destination == RtfDestination::FontTable && fontBeingDefined_ >= 0 &&
            token.hasParameter) {
            const int codePage = codePages_.get(parameter).number();
            fonts_[fontBeingDefined_].codePage = codePage;
            group.codePage = &codePages_.get(codePage);
        }
        break;
    case RtfControlWord::Red:
        red_ = std::clamp(parameter, 0, 255);
        colorComponentsSet_ = true;
        break;
    case RtfControlWord::Green:
        green_ = std::clamp(parameter, 0, 255);
        colorComponentsSet_ = true;
        break;
    case RtfControlWord::Blue:
        blue_ = std::clamp(parameter, 0, 255);
        colorComponentsSet_ = true;
        break;
    default:
        return false;
    }
    return true;
}

bool RtfDocumentBuilder::applyCharacterWord(RtfControlWord word, const RtfToken& token) {
    RtfGroupState& group = top();
    RtfCharacterState& character = group.character;
    const int parameter = token.parameter;
    const bool on = switchedOn(token);
    const quint8 underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
    switch (word) {
    case RtfControlWord::PlainCharacters:
        character = RtfCharacterState();
        group.codePage = codePageOfFont(character.font);
        break;
    case RtfControlWord::Bold:
        character.bold = on;
        break;
    case RtfControlWord::Italic:
        character.italic = on;
        break;
    case RtfControlWord::Underline:
        character.underline = underline;
        break;
    case RtfControlWord::NoUnderline:
        character.underline = QTextCharFormat::NoUnderline;
        break;
    case RtfControlWord::DottedUnderline:
        character.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        break;
    case RtfControlWord::DashedUnderline:
        character.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        break;
    case RtfControlWord::WavyUnderline:
        character.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        break;
    case RtfControlWord::StrikeOut:
        character.strikeOut = on;
        break;
    case RtfControlWord::Hidden:
        character.hidden = on;
        break;
    case RtfControlWord::Superscript:
        character.verticalAlignment = QTextCharFormat::AlignSuperScript;
        break;
    case RtfControlWord::Subscript:
        character.verticalAlignment = QTextCharFormat::AlignSubScript;
        break;
    case RtfControlWord::NoSuperscriptOrSubscript:
        character.verticalAlignment = QTextCharFormat::AlignNormal;
        break;
    case RtfControlWord::RaisedText:
        character.verticalAlignment = parameter == 0 && token.hasParameter
                                          ? QTextCharFormat::AlignNormal
                                          : QTextCharFormat::AlignSuperScript;
        break;
    case RtfControlWord::LoweredText:
        character.verticalAlignment = parameter == 0 && token.hasParameter
                                          ? QTextCharFormat::AlignNormal
                                          : QTextCharFormat::AlignSubScript;
        break;
    case RtfControlWord::LowAnsiCharacters:
        character.range = RtfCharacterRange::LowAnsi;
        break;
    case RtfControlWord::HighAnsiCharacters:
        character.range = RtfCharacterRange::HighAnsi;
        break;
    case RtfControlWord::DoubleByteCharacters:
        character.range = RtfCharacterRange::DoubleByte;
        break;
    case RtfControlWord::AssociatedFont:
        if (character.range == RtfCharacterRange::DoubleByte && token.hasParameter)
            character.eastAsianFont = parameter;
        break;
    case RtfControlWord::AssociatedFontSize:
        if (character.range == RtfCharacterRange::DoubleByte && token.hasParameter &&
            parameter > 0 && parameter <= 3276)
            character.eastAsianSize = parameter;
        break;
    case RtfControlWord::FontSize:
        character.size =
            (token.hasParameter && parameter > 0 && parameter <= 3276) ? parameter : 24;
        break;
    case RtfControlWord::ForegroundColor:
        character.foreground = (token.hasParameter && parameter >= 0) ? parameter : -1;
        break;
    case RtfControlWord::BackgroundColor:
    case RtfControlWord::Highlight:
        character.background = (token.hasParameter && parameter > 0) ? parameter : -1;
        break;
    default:
        return false;
    }
    return true;
}

bool RtfDocumentBuilder::applyParagraphWord(RtfControlWord word, const RtfToken& token) {
    RtfGroupState& group = top();
    RtfParagraphState& paragraph = group.paragraph;
    const int parameter = token.parameter;
    switch (word) {
    case RtfControlWord::PlainParagraph:
        paragraph = RtfParagraphState();
        nextTabType_ = QTextOption::LeftTab;
        nextTabDotLeader_ = false;
        break;
    case RtfControlWord::ParagraphEnd:
        if (group.destination == RtfDestination::Text)
            endParagraph();
        break;
    case RtfControlWord::LineBreak:
        insertText(QChar(QChar::LineSeparator));
        break;
    case RtfControlWord::FootnoteMark:
        insertNoteMark();
        break;
    case RtfControlWord::Tab:
        insertText(QChar(u'\t'));
        break;
    case RtfControlWord::AlignLeft:
        paragraph.alignment = 0;
        break;
    case RtfControlWord::AlignCenter:
        paragraph.alignment = 1;
        break;
    case RtfControlWord::AlignRight:
        paragraph.alignment = 2;
        break;
    case RtfControlWord::AlignJustify:
        paragraph.alignment = 3;
        break;
    case RtfControlWord::LeftIndent:
        paragraph.leftIndent = std::clamp(parameter, -MaxTwips, MaxTwips);
        break;
    case RtfControlWord::RightIndent:
        paragraph.rightIndent = std::clamp(parameter, -MaxTwips, MaxTwips);
        break;
    case RtfControlWord::FirstLineIndent:
        paragraph.firstLineIndent = std::clamp(parameter, -MaxTwips, MaxTwips);
        break;
    case RtfControlWord::SpaceBefore:
        paragraph.spaceBefore = std::clamp(parameter, 0, MaxTwips);
        break;
    case RtfControlWord::SpaceAfter:
        paragraph.spaceAfter = std::clamp(parameter, 0, MaxTwips);
        break;
    case RtfControlWord::LineSpacing:
        paragraph.lineSpacing = std::clamp(parameter, -MaxTwips, MaxTwips);
        break;
    case RtfControlWord::LineSpacingMultiple:
        paragraph.lineSpacingMultiple = switchedOn(token);
        break;
    case RtfControlWord::TabStop:
        if (parameter >= 0 && parameter <= MaxTwips && paragraph.tabs.size() < 64) {
            QTextOption::Tab tab;
            tab.position = parameter / RtfTwipsPerPixel;
            tab.type = QTextOption::TabType(nextTabType_);
            paragraph.tabs.append(TabStops::withDotLeader(tab, nextTabDotLeader_));
        }
        nextTabType_ = QTextOption::LeftTab;
        nextTabDotLeader_ = false;
        break;
    case RtfControlWord::RightTabStop:
        nextTabType_ = QTextOption::RightTab;
        break;
    case RtfControlWord::CenterTabStop:
        nextTabType_ = QTextOption::CenterTab;
        break;
    case RtfControlWord::DecimalTabStop:
        nextTabType_ = QTextOption::DelimiterTab;
        break;
    case RtfControlWord::DotLeaderTabStop:
        nextTabDotLeader_ = true;
        break;
    default:
        return false;
    }
    return true;
}

bool RtfDocumentBuilder::applyPictureWord(RtfControlWord word, const RtfToken& token) {
    const int parameter = token.parameter;
    switch (word) {
    case RtfControlWord::PngPicture:
        picture_.format = RtfPictureState::Format::Png;
        break;
    case RtfControlWord::JpegPicture:
        picture_.format = RtfPictureState::Format::Jpeg;
        break;
    case RtfControlWord::OtherPicture:
        picture_.format = RtfPictureState::Format::Unknown;
        break;
    case RtfControlWord::PictureWidth:
        picture_.width = parameter;
        break;
    case RtfControlWord::PictureHeight:
        picture_.height = parameter;
        break;
    case RtfControlWord::PictureGoalWidth:
        picture_.goalWidth = parameter;
        break;
    case RtfControlWord::PictureGoalHeight:
        picture_.goalHeight = parameter;
        break;
    case RtfControlWord::PictureScaleX:
        picture_.scaleX = parameter;
        break;
    case RtfControlWord::PictureScaleY:
        picture_.scaleY = parameter;
        break;
    default:
        return false;
    }
    return true;
}
