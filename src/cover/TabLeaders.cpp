#include "cover/TabLeaders.h"

#include "rtf/TabStops.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

namespace {

// The stop a tab character starting at x (in the block's layout) ends at: the first one beyond
// it, as Qt chooses it.
const QTextOption::Tab* stopAfter(const QList<QTextOption::Tab>& tabs, qreal x) {
    for (const QTextOption::Tab& tab : tabs)
        if (tab.position > x + 0.01)
            return &tab;
    return nullptr;
}

QTextCharFormat formatAt(const QTextBlock& block, int at) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().contains(block.position() + at))
            return it.fragment().charFormat();
    return block.charFormat();
}

void paintBlock(QPainter& painter, const QTextBlock& block, const QList<QTextOption::Tab>& tabs,
                const QColor& automatic) {
    const QTextLayout* layout = block.layout();
    if (!layout)
        return;
    const QString text = block.text();
    const QPointF origin = layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const int end = line.textStart() + line.textLength();
        for (int at = line.textStart(); at < end; ++at) {
            if (text.at(at) != QLatin1Char('\t'))
                continue;
            const qreal from = line.cursorToX(at);
            const qreal to = line.cursorToX(at + 1);
            const QTextOption::Tab* stop = stopAfter(tabs, from);
            if (!stop || !TabStops::hasDotLeader(*stop) || to <= from)
                continue;
            // The dots are in the font and colour of the tab character.
            const QTextCharFormat format = formatAt(block, at);
            const QFont font = format.font().resolve(block.document()->defaultFont());
            // Laid out as the document is, for the screen, so that a scaled painter (the back
            // picture, the print) draws the dot at the size the text has there.
            QTextLayout dot(QStringLiteral("."), font);
            dot.beginLayout();
            const QTextLine dotLine = dot.createLine();
            dot.endLayout();
            const qreal pitch = std::max<qreal>(2.0, dotLine.horizontalAdvance());
            // On a grid of the dot's width from the line's start, so that the dots of one line
            // stand under those of the next; a dot's width stays free at either end.
            qreal x = std::ceil((from + pitch) / pitch) * pitch;
            const qreal last = to - 2 * pitch;
            painter.setPen(format.hasProperty(QTextFormat::ForegroundBrush)
                               ? format.foreground().color()
                               : automatic);
            const qreal top = origin.y() + line.y() + line.ascent() - dotLine.ascent();
            for (; x <= last + 0.001; x += pitch)
                dot.draw(&painter, QPointF(origin.x() + x, top));
        }
    }
}

} // namespace

namespace TabLeaders {

void paint(QPainter& painter, const QTextDocument& document, const QRectF& clip,
           const QColor& automatic) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    painter.save();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QList<QTextOption::Tab> tabs = block.blockFormat().tabPositions();
        if (std::none_of(tabs.begin(), tabs.end(), &TabStops::hasDotLeader))
            continue;
        if (!layout->blockBoundingRect(block).intersects(clip))
            continue;
        paintBlock(painter, block, tabs, automatic);
    }
    painter.restore();
}

} // namespace TabLeaders
