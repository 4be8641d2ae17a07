// What the RTF reader keeps for each open group: where its text goes, the character and
// paragraph formatting in force, and how its bytes are decoded. A group starts as a copy of the
// one it is in; closing it brings the outer state back.
#pragma once

#include <QList>
#include <QTextCharFormat>
#include <QTextOption>

class RtfCodePage;

// Lengths in RTF are in twips: 1440 an inch, against 96 pixels an inch.
constexpr double RtfTwipsPerPixel = 15.0;

// Where the text of a group goes.
enum class RtfDestination : quint8 {
    Text,            // the document
    Skipped,         // nowhere: a destination that is not part of the document
    FontTable,       // font names
    ColorTable,      // `;` ends a colour
    Picture,         // hexadecimal picture data
    AnsiAlternative, // the first half of `\upr`, skipped until `{\*\ud` brings its Unicode twin
};

enum class RtfCharacterRange : quint8 { LowAnsi, HighAnsi, DoubleByte }; // \loch \hich \dbch

struct RtfCharacterState {
    int font = -1;       // RTF font number; -1 for the document's default font (\deff)
    int size = 24;       // half points
    int foreground = -1; // colour table index; -1 automatic
    int background = -1; // colour table index; -1 none
    quint8 underline = QTextCharFormat::NoUnderline;
    quint8 verticalAlignment = QTextCharFormat::AlignNormal;
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
    bool hidden = false;
    // East Asian characters take the font and size given with \af and \afs after \dbch.
    RtfCharacterRange range = RtfCharacterRange::LowAnsi;
    int eastAsianFont = -1;
    int eastAsianSize = 0;
    bool operator==(const RtfCharacterState&) const = default;

    // The formatting a character actually shows with.
    RtfCharacterState shown(bool eastAsian) const {
        RtfCharacterState state = *this;
        if (eastAsian && eastAsianFont >= 0)
            state.font = eastAsianFont;
        if (eastAsian && eastAsianSize > 0)
            state.size = eastAsianSize;
        state.range = RtfCharacterRange::LowAnsi;
        state.eastAsianFont = -1;
        state.eastAsianSize = 0;
        return state;
    }
};

// Lengths in twips.
struct RtfParagraphState {
    int alignment = 0; // 0 left, 1 centre, 2 right, 3 justify
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineSpacingMultiple = false;
    QList<QTextOption::Tab> tabs;
    bool inTable = false; // \intbl: the paragraph is (part of) a table cell
};

struct RtfGroupState {
    RtfDestination destination = RtfDestination::Text;
    RtfDestination destinationAfterAlternative = RtfDestination::Text; // where \ud leads back to
    bool ignorable = false;   // "\*" seen: the next control word decides whether the group is known
    int unicodeSkipCount = 1; // \ucN: fallback characters after each \uN
    const RtfCodePage* codePage = nullptr;
    RtfCharacterState character;
    RtfParagraphState paragraph;
};

struct RtfFontEntry {
    QString name;
    int codePage = 0; // 0: the document's
    bool nameComplete = false;
};

struct RtfPictureState {
    enum class Format { Unknown, Png, Jpeg };
    QByteArray data;
    Format format = Format::Unknown;
    int width = 0; // \picw, \pich: the picture's own size
    int height = 0;
    int goalWidth = 0; // \picwgoal, \pichgoal: the size it is shown at, in twips
    int goalHeight = 0;
    int scaleX = 100; // percent
    int scaleY = 100;
    int pendingNibble = -1; // the first hexadecimal digit of a byte, until the second comes
    bool tooBig = false;
    bool active = false; // a \pict group is open
    int depth = 0;       // the number of groups open when it started
};
