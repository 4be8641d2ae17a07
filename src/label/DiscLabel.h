// The disc label: a round label 117 mm across with a centre hole (41 mm, or 15 mm for a
// full-face label), the front picture cropped to the circle, the album name and, when wanted,
// the track list in a ring along the edge or in a block below the hole. Labels are printed on a
// sheet: a page of their own, plain paper with the cut circle drawn, or a sheet of ready-cut
// labels whose places a small text file gives (the built-in sheets first, then the user's own).
#pragma once

#include "cover/CoverOptions.h"

#include <QImage>
#include <QList>
#include <QPageSize>
#include <QPointF>
#include <QString>
#include <QStringList>

class QPainter;
class QPageLayout;

namespace DiscLabel {

inline constexpr double OuterMm = 117.0;

struct Sheet {
    QString name;
    QPageSize paper;        // invalid: any paper (the one printed on)
    QList<QPointF> centres; // in millimetres from the paper's top-left; empty: its middle
    bool cutCircle = false; // draw the circles to cut along
};

// The sheets every user has.
QList<Sheet> builtInSheets();

// Sheets from the text of a sheet file: one a line, "name | paper | centres | cut", where paper
// is A4, Letter or any, centres are "x,y" pairs in millimetres separated by blanks (or "middle"),
// and the last field is "cut" for the cut circle or empty. Blank lines and lines starting with #
// are skipped; a line that cannot be read is named in problems and left out.
QList<Sheet> readSheets(const QString& text, QStringList* problems = nullptr);

// The built-in sheets followed by those in the user's file (label-sheets.txt in the program's
// settings folder); problems receives the lines of that file that could not be read.
QList<Sheet> availableSheets(QStringList* problems = nullptr);
QString userSheetFile();
// The sheet of this name, or the first one.
Sheet sheetNamed(const QList<Sheet>& sheets, const QString& name);

// What a label shows.
struct Content {
    QImage picture;          // the front picture, upright
    CoverOptions options;    // the crop, the hole and the track list's form
    QString albumName;
    QStringList tracks;
};

// The tracks of a list of contents: its lines that hold text, without the album's name, tabs
// made blanks.
QStringList trackLines(const QString& list, const QString& albumName);

// The square of the picture the label shows, in its pixels.
QImage labelSquare(const Content& content);

// Paints one label, its centre at the painter's origin, in millimetres (the painter scaled to
// millimetres).
void paintLabel(QPainter& painter, const Content& content, bool cutCircle);

// Where the labels go on a page: the centres in millimetres from the paper's top-left.
QList<QPointF> centresOn(const Sheet& sheet, QSizeF paperMm);

// Paints the page in device pixels, origin at the printable area's top-left (as a printer's
// painter has it), at dpiX by dpiY.
void paintSheet(QPainter& painter, const Content& content, const Sheet& sheet,
                const QPageLayout& layout, double dpiX, double dpiY);

} // namespace DiscLabel
