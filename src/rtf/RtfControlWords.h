// The control words the RTF reader acts on, by what they do. Words that open a destination whose
// text is not part of the document (style sheet, document information, headers, footnotes…) all
// mean SkippedDestination; those whose text is the document's (fields, objects, list text) mean
// TransparentDestination. Words the reader does not know are none of these.
#pragma once

#include <optional>
#include <string_view>

enum class RtfControlWord {
    // document
    AnsiCharacterSet,
    MacCharacterSet,
    PcCharacterSet,
    PcaCharacterSet,
    AnsiCodePage,
    DefaultFont,
    DefaultTabWidth,
    UnicodeSkipCount,
    UnicodeCharacter,
    // destinations
    FontTable,
    ColorTable,
    Picture,
    SkippedDestination,
    TransparentDestination,
    AnsiAndUnicodePair,
    UnicodeAlternative,
    // font and colour tables
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // character formatting
    PlainCharacters,
    Bold,
    Italic,
    Underline,
    NoUnderline,
    DottedUnderline,
    DashedUnderline,
    WavyUnderline,
    StrikeOut,
    Hidden,
    Superscript,
    Subscript,
    NoSuperscriptOrSubscript,
    RaisedText,
    LoweredText,
    LowAnsiCharacters,
    HighAnsiCharacters,
    DoubleByteCharacters,
    AssociatedFont,
    AssociatedFontSize,
    FontSize,
    ForegroundColor,
    BackgroundColor,
    Highlight,
    // paragraphs
    PlainParagraph,
    ParagraphEnd,
    LineBreak,
    Tab,
    FootnoteMark,
    // notes: the {\footnote} group (an endnote when \ftnalt follows), \fet, the numbering
    Note,
    NoteKinds,
    FootnoteNumbering,
    EndnoteNumbering,
    FootnoteStart,
    EndnoteStart,
    TableCellEnd,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstLineIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineSpacingMultiple,
    TabStop,
    RightTabStop,
    CenterTabStop,
    DecimalTabStop,
    DotLeaderTabStop,
    // characters
    EmDash,
    EnDash,
    Bullet,
    LeftSingleQuote,
    RightSingleQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    LeftToRightMark,
    RightToLeftMark,
    // pictures
    PngPicture,
    JpegPicture,
    OtherPicture,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
    BinaryData,
};

// What the control word of this name does; nothing when the reader does not know it.
std::optional<RtfControlWord> rtfControlWord(std::string_view name);

// The character that a word such as `\emdash` or `\lquote` stands for; 0 for other words.
char16_t rtfSpecialCharacter(RtfControlWord word);
