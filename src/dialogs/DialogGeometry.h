// Sizes and places of the dialog kit's windows (question, timed message, text input), computed
// without a window. The windows measure their texts, call these, and apply the results; every
// number here is in pixels, with window positions in screen pixels.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QFont;

namespace DialogGeometry {

// Nearest whole number; a half goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
int roundHalfEven(double value);

// The point size of a font given in pixels, at 96 pixels per inch, rounded as the system does
// (halves away from zero): 14 pixels -> 11 points.
int fontPointSize(int pixelHeight);

struct Place {
    int top;
    int left;
};

// Place of a window of the given outer size centred over the caller's rectangle:
// top = (callerHeight - ownHeight) div 2 + callerTop, left likewise, div rounding toward zero.
// Negative offsets stay; a result beyond the integer range is pinned to it.
Place centreOver(const QRect& caller, QSize own);

// The lines of a message in which a carriage return starts a new line. A line feed after a
// carriage return stays at the start of the next line. An empty message gives one empty line.
QStringList splitAtCarriageReturns(const QString& message);

// Number of lines the text takes on screen when each line wraps (at word boundaries, or anywhere
// in a word longer than the width) to the given width, inside the given margin on each side.
int wrappedLineCount(const QStringList& lines, const QFont& font, int width, int margin = 0);

// --- Question window -----------------------------------------------------------------------

struct QuestionWidths {
    int panelLeft;
    int panelWidth;
    int memoLeft;
    int memoWidth;
    int clientWidth;
    int yesLeft;
    int noLeft;
    int cancelLeft;
};

// Widths of the question window for a message measuring messageWidth pixels on one line. The
// panel is round(sqrt(messageWidth) * 10) wide, but never narrower than reaches the right edge of
// the No button where it stands (noRightEdge), so the window never gets narrower in one run.
QuestionWidths questionWidthLayout(int messageWidth, int noRightEdge, int noWidth, int cancelWidth);

struct QuestionHeights {
    int memoHeight;
    int panelHeight;
    int buttonTop;
    int clientHeight;
};

// Heights of the question window for a memo of memoLines lines (as wrapped) in a font of
// fontPoints points, with buttons buttonHeight high.
QuestionHeights questionHeightLayout(int memoLines, int fontPoints, int buttonHeight);

// --- Timed message window -------------------------------------------------------------------

// The line of the two that sets the width: the longer by characters, line B when equal.
QString longerLine(const QString& lineA, const QString& lineB);

// The text of the window: an empty first line, then line A and line B when they are not empty.
QStringList messageLines(const QString& lineA, const QString& lineB);

// Client width for a measured line width: width + 50 up to 500, 500 beyond.
int messageClientWidth(int lineWidth);

// Client height: (lines + 4) * fontPoints, at most screenHeight - 200.
int messageClientHeight(int lineCount, int fontPoints, int screenHeight);

// --- Text input window ----------------------------------------------------------------------

struct InputLayout {
    int labelHeight;
    int editTop;
    int buttonTop;
    int clientHeight;
};

// Vertical layout of the input window: the prompt label gets 30 pixels per label width of
// prompt text (integer division), and the edit field and the buttons follow 10 pixels apart.
InputLayout inputVerticalLayout(int promptWidth, int labelTop, int labelWidth, int editHeight,
                                int buttonHeight);

} // namespace DialogGeometry
