#include "dialogs/DialogGeometry.h"

#include "support/StringHelpers.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <limits>

namespace DialogGeometry {
namespace {

int pin(qint64 value) {
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace

int roundHalfEven(double value) {
    if (!std::isfinite(value))
        return 0;
    // nearbyint follows the default rounding mode, which is to nearest with ties to even.
    const double r = std::nearbyint(value);
    return pin(qint64(std::clamp(r, -9.0e18, 9.0e18)));
}

int fontPointSize(int pixelHeight) {
    const qint64 scaled = qint64(pixelHeight) * 72;
    const qint64 half = scaled >= 0 ? 48 : -48;
    return pin((scaled + half) / 96);
}

Place centreOver(const QRect& caller, QSize own) {
    // Measured in 64 bits: a rectangle near the ends of the integers has a width that does not
    // fit an int. C++ integer division truncates toward zero, as the placement rule wants.
    const qint64 callerHeight = qint64(caller.bottom()) - caller.top() + 1;
    const qint64 callerWidth = qint64(caller.right()) - caller.left() + 1;
    const qint64 top = (callerHeight - own.height()) / 2 + caller.top();
    const qint64 left = (callerWidth - own.width()) / 2 + caller.left();
    return {pin(top), pin(left)};
}

QStringList splitAtCarriageReturns(const QString& message) {
    const QChar cr(13);
    QStringList lines;
    QString rest = message;
    while (rest.contains(cr)) {
        lines << copyBeforeChar(cr, rest);
        rest = copyAfterChar(cr, rest);
    }
    lines << rest;
    return lines;
}

int wrappedLineCount(const QStringList& lines, const QFont& font, int width, int margin) {
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.setDocumentMargin(margin);
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc.setDefaultTextOption(option);
    doc.setTextWidth(std::max(width, 1));
    doc.setPlainText(lines.join(QLatin1Char('\n')));
    doc.documentLayout()->documentSize(); // lays out every block
    int count = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        count += block.layout() ? std::max(block.layout()->lineCount(), 1) : 1;
    return count;
}

QuestionWidths questionWidthLayout(int messageWidth, int noRightEdge, int noWidth,
                                   int cancelWidth) {
    QuestionWidths w{};
    w.panelLeft = 16;
    w.panelWidth = roundHalfEven(std::sqrt(double(std::max(messageWidth, 0))) * 10);
    w.panelWidth = std::max(w.panelWidth, noRightEdge - w.panelLeft);
    w.memoLeft = 8;
    w.memoWidth = w.panelWidth - 16;
    w.clientWidth = w.panelWidth + 2 * 16;
    w.yesLeft = 16;
    w.noLeft = w.clientWidth - noWidth - 16;
    w.cancelLeft = (w.clientWidth - cancelWidth) / 2;
    return w;
}

QuestionHeights questionHeightLayout(int memoLines, int fontPoints, int buttonHeight) {
    QuestionHeights h{};
    h.memoHeight = pin((qint64(memoLines) + 1) * roundHalfEven(fontPoints * 1.6));
    h.panelHeight = pin(qint64(h.memoHeight) + 15);
    h.buttonTop = pin(qint64(h.panelHeight) + 27);
    h.clientHeight = pin(qint64(h.buttonTop) + buttonHeight + 20);
    return h;
}

QString longerLine(const QString& lineA, const QString& lineB) {
    return lineB.size() >= lineA.size() ? lineB : lineA;
}

QStringList messageLines(const QString& lineA, const QString& lineB) {
    QStringList lines{QString()};
    if (!lineA.isEmpty())
        lines << lineA;
    if (!lineB.isEmpty())
        lines << lineB;
    return lines;
}

int messageClientWidth(int lineWidth) {
    return lineWidth <= 500 ? lineWidth + 50 : 500;
}

int messageClientHeight(int lineCount, int fontPoints, int screenHeight) {
    const qint64 height = (qint64(lineCount) + 4) * fontPoints;
    const qint64 limit = qint64(screenHeight) - 200;
    return pin(height > limit ? limit : height);
}

InputLayout inputVerticalLayout(int promptWidth, int labelTop, int labelWidth, int editHeight,
                                int buttonHeight) {
    InputLayout l{};
    l.labelHeight = labelWidth > 0 ? pin(qint64(promptWidth) * 30 / labelWidth) : 0;
    l.editTop = pin(qint64(labelTop) + l.labelHeight + 10);
    l.buttonTop = pin(qint64(l.editTop) + editHeight + 10);
    l.clientHeight = pin(qint64(l.buttonTop) + buttonHeight + 10);
    return l;
}

} // namespace DialogGeometry
