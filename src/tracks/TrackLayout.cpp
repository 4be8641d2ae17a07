#include "tracks/TrackLayout.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

// One line of a column: the number, a piece of the title (or of a line kept as it was), and
// the duration on the title's last line.
struct ColumnLine {
    QString number;
    QString text;
    QString duration;
    bool bold = false;
    bool continues = false; // the second or a later line of one entry
};

// A paragraph of the document: a heading across the width, a row of one or two columns, or the
// total time.
struct Row {
    enum class Kind { Heading, Columns, Total } kind = Kind::Columns;
    QString text;     // Heading, Total
    QString duration; // Total
    QList<ColumnLine> cells;
};

struct Geometry {
    int width = 0;       // of the text, between the document's margins
    int numberWidth = 0; // from a column's left edge to its titles
    int durationWidth = 0;
    int columnWidth = 0;
    int gap = 0; // between two columns
};

QFont fontAt(double pointSize, bool bold = false) {
    QFont font(TrackLayout::FontFamily);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QString numberText(const QString& number) {
    bool numeric = false;
    number.toInt(&numeric);
    return numeric ? number + QLatin1Char('.') : number;
}

QString entryText(const Track& track, bool compilation) {
    if (compilation && !track.artist.isEmpty() && !track.plainLine)
        return track.title + QStringLiteral(" \u2013 ") + track.artist;
    return track.title;
}

// The text broken into lines no wider than width, at word boundaries where it can be.
QStringList breakText(const QString& text, const QFont& font, double width) {
    if (text.isEmpty())
        return {QString()};
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1.0, width));
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

QList<ColumnLine> columnLines(const TrackList& list, const QFont& font, const Geometry& g) {
    const bool compilation = list.isCompilation();
    const bool severalDiscs = list.hasSeveralDiscs();
    const double titleWidth = g.columnWidth - g.numberWidth - g.durationWidth;
    QList<ColumnLine> lines;
    int disc = -1;
    for (const Track& track : list.tracks) {
        if (severalDiscs && !track.plainLine && track.disc != disc) {
            disc = track.disc;
            lines << ColumnLine{{},
                                QCoreApplication::translate("TrackLayout", "Disc %1").arg(disc),
                                {},
                                true,
                                false};
        }
        const QStringList pieces = breakText(entryText(track, compilation), font, titleWidth);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            ColumnLine line;
            line.continues = i > 0;
            line.number = i == 0 ? numberText(track.number) : QString();
            line.text = pieces[i];
            if (i == pieces.size() - 1)
                line.duration = durationText(track.durationMs);
            lines << line;
        }
    }
    return lines;
}

Geometry measure(const TrackList& list, const QFont& font, int width, int columns) {
    const QFontMetricsF metrics(font);
    Geometry g;
    g.width = width;
    const double space = metrics.horizontalAdvance(QStringLiteral("  "));
    double number = 0, duration = 0;
    for (const Track& track : list.tracks) {
        if (track.plainLine)
            continue;
        number = std::max(number, metrics.horizontalAdvance(numberText(track.number)));
        duration = std::max(duration, metrics.horizontalAdvance(durationText(track.durationMs)));
    }
    g.numberWidth = number > 0 ? int(std::ceil(number + space)) : 0;
    g.durationWidth = duration > 0 ? int(std::ceil(duration + space)) : 0;
    g.gap = columns > 1 ? int(std::ceil(metrics.horizontalAdvance(QStringLiteral("MM")))) : 0;
    g.columnWidth = (width - g.gap) / columns;
    return g;
}

// Two columns of about equal length; the right one never begins in the middle of an entry.
QList<Row> splitIntoColumns(const QList<ColumnLine>& lines) {
    qsizetype split = (lines.size() + 1) / 2;
    while (split < lines.size() && lines[split].continues)
        ++split;
    QList<Row> rows;
    for (qsizetype i = 0; i < std::max(split, lines.size() - split); ++i) {
        Row row;
        row.cells << (i < split ? lines[i] : ColumnLine{});
        if (split + i < lines.size())
            row.cells << lines[split + i];
        rows << row;
    }
    return rows;
}

QList<Row> rowsOf(const TrackList& list, const QFont& font, const Geometry& g, int columns) {
    QList<Row> rows;
    const QString heading = list.heading();
    if (!heading.isEmpty())
        rows << Row{Row::Kind::Heading, heading, {}, {}};
    const QList<ColumnLine> lines = columnLines(list, font, g);
    if (columns > 1) {
        rows << splitIntoColumns(lines);
    } else {
        for (const ColumnLine& line : lines)
            rows << Row{Row::Kind::Columns, {}, {}, {line}};
    }
    const qint64 total = list.totalMs();
    if (total >= 0 && list.trackCount() > 1)
        rows << Row{Row::Kind::Total,
                    QCoreApplication::translate("TrackLayout", "Total time"),
                    durationText(total),
                    {}};
    return rows;
}

QList<QTextOption::Tab> columnTabs(const Geometry& g, int columns) {
    QList<QTextOption::Tab> tabs;
    for (int column = 0; column < columns; ++column) {
        const int left = column * (g.columnWidth + g.gap);
        if (g.numberWidth > 0)
            tabs << QTextOption::Tab(left + g.numberWidth, QTextOption::LeftTab);
        tabs << QTextOption::Tab(left + g.columnWidth, QTextOption::RightTab);
        if (column + 1 < columns)
            tabs << QTextOption::Tab(left + g.columnWidth + g.gap, QTextOption::LeftTab);
    }
    return tabs;
}

void writeRows(QTextDocument& document, const QList<Row>& rows, double pointSize, const Geometry& g,
               int columns) {
    QTextCharFormat plain;
    plain.setFontFamilies(QStringList{TrackLayout::FontFamily});
    plain.setFontPointSize(pointSize);
    plain.setFontWeight(QFont::Normal);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);

    QTextBlockFormat columnFormat;
    columnFormat.setTabPositions(columnTabs(g, columns));
    QTextBlockFormat headingFormat;
    headingFormat.setBottomMargin(std::round(QFontMetricsF(fontAt(pointSize)).height() / 2));
    QTextBlockFormat totalFormat;
    totalFormat.setTopMargin(headingFormat.bottomMargin());
    totalFormat.setTabPositions({QTextOption::Tab(g.width, QTextOption::RightTab)});

    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    bool first = true;
    const auto startParagraph = [&](const QTextBlockFormat& format, const QTextCharFormat& chars) {
        if (first) {
            cursor.setBlockFormat(format);
            cursor.setBlockCharFormat(chars);
            first = false;
        } else {
            cursor.insertBlock(format, chars);
        }
    };
    const auto tab = QStringLiteral("\t");
    for (const Row& row : rows) {
        switch (row.kind) {
        case Row::Kind::Heading:
            startParagraph(headingFormat, bold);
            cursor.insertText(row.text, bold);
            break;
        case Row::Kind::Total:
            startParagraph(totalFormat, plain);
            cursor.insertText(row.text + tab + row.duration, plain);
            break;
        case Row::Kind::Columns:
            startParagraph(columnFormat, plain);
            for (qsizetype c = 0; c < row.cells.size(); ++c) {
                const ColumnLine& cell = row.cells[c];
                QString text = c > 0 ? tab : QString();
                if (g.numberWidth > 0)
                    text += cell.number + tab;
                cursor.insertText(text, plain);
                cursor.insertText(cell.text, cell.bold ? bold : plain);
                // The duration's tab only where something follows it on the line.
                if (!cell.duration.isEmpty() || c + 1 < row.cells.size())
                    cursor.insertText(tab + cell.duration, plain);
            }
            break;
        }
    }
    cursor.endEditBlock();
}

struct Attempt {
    QList<Row> rows;
    Geometry geometry;
    bool fits = false;
};

// quick: first rule out, without laying anything out, a size at which the tracks alone (one line
// each) are taller than the back, so that a list of thousands of tracks is not laid out at every
// size.
Attempt attempt(const TrackList& list, const QTextDocument& like, QSizeF area, double pointSize,
                int columns, bool quick) {
    const int width = int(std::floor(area.width() - 2 * like.documentMargin())) - 6;
    const double height = area.height() - TrackLayout::ProductNameBand;
    Attempt result;
    const QFont font = fontAt(pointSize);
    const double rows = std::ceil(double(list.trackCount()) / columns);
    if (quick && rows * QFontMetricsF(font).lineSpacing() > height)
        return result;
    result.geometry = measure(list, font, width, columns);
    result.rows = rowsOf(list, font, result.geometry, columns);
    QTextDocument scratch;
    scratch.setDefaultFont(like.defaultFont());
    scratch.setDocumentMargin(like.documentMargin());
    scratch.setPageSize(QSizeF(area.width(), -1));
    writeRows(scratch, result.rows, pointSize, result.geometry, columns);
    result.fits = scratch.size().height() <= height;
    return result;
}

} // namespace

namespace TrackLayout {

Choice layOut(const TrackList& list, QTextDocument& document, QSizeF textArea) {
    Choice choice;
    Attempt chosen;
    const auto tryAt = [&](double size, int columns) {
        chosen = attempt(list, document, textArea, size, columns, true);
        choice = {size, columns, chosen.fits};
        return chosen.fits;
    };
    bool done = false;
    for (double size = LargestPointSize; !done && size >= SmallestOneColumnPointSize; size -= 0.5)
        done = tryAt(size, 1);
    for (double size = LargestPointSize; !done && size >= SmallestPointSize; size -= 0.5)
        done = tryAt(size, 2);
    if (!done) // too long for the back: two columns at the smallest size, running on below
        chosen = attempt(list, document, textArea, choice.pointSize, choice.columns, false);
    writeRows(document, chosen.rows, choice.pointSize, chosen.geometry, choice.columns);
    return choice;
}

} // namespace TrackLayout
