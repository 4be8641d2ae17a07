#include "label/DiscLabel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>

namespace DiscLabel {
namespace {

constexpr double Pi = 3.14159265358979323846;

QString tr(const char* text) {
    return QCoreApplication::translate("DiscLabel", text);
}

QFont labelFont(double sizeMm, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(1); // replaced below: the painter is in millimetres
    font.setPointSizeF(sizeMm * 72 / 25.4);
    font.setBold(bold);
    return font;
}

// Text at a size in millimetres on a painter in millimetres: the font is made large and the
// painter scaled down, so that hinting at a tiny size does not spoil the shapes.
constexpr double TextScale = 20;

void drawTextMm(QPainter& painter, const QRectF& box, int flags, const QString& text,
                double sizeMm, bool bold) {
    painter.save();
    painter.scale(1 / TextScale, 1 / TextScale);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(std::lround(sizeMm * TextScale))));
    font.setBold(bold);
    painter.setFont(font);
    painter.drawText(QRectF(box.topLeft() * TextScale, box.size() * TextScale), flags, text);
    painter.restore();
}

double textWidthMm(const QString& text, double sizeMm, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(std::lround(sizeMm * TextScale))));
    font.setBold(bold);
    return QFontMetricsF(font).horizontalAdvance(text) / TextScale;
}

// The tracks along a circle of radius r, reading clockwise from the bottom's left, each letter
// turned to the circle.
void drawRing(QPainter& painter, const QStringList& tracks, double r) {
    const QString text = tracks.join(QStringLiteral("  •  "));
    if (text.isEmpty())
        return;
    // As large as 3 mm, or smaller until the text takes at most 300 degrees of the circle.
    double size = 3.0;
    const double room = 2 * Pi * r * 300 / 360;
    while (size > 1.2 && textWidthMm(text, size, false) > room)
        size -= 0.1;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(std::lround(size * TextScale))));
    const QFontMetricsF metrics(font);
    const double total = metrics.horizontalAdvance(text) / TextScale;
    // Centred on the top of the circle: angles measured clockwise from straight up.
    double angle = -total / r / 2;
    painter.save();
    painter.setFont(font);
    for (const QChar c : text) {
        const double advance = metrics.horizontalAdvance(c) / TextScale;
        const double middle = angle + advance / r / 2;
        painter.save();
        painter.rotate(middle * 180 / Pi);
        painter.translate(0, -r);
        painter.scale(1 / TextScale, 1 / TextScale);
        painter.drawText(QPointF(-advance / 2 * TextScale, 0), QString(c));
        painter.restore();
        angle += advance / r;
    }
    painter.restore();
}

} // namespace

QList<Sheet> builtInSheets() {
    QList<Sheet> sheets = readSheets(QStringLiteral("own | any | middle |\n"
                                                    "plain | any | middle | cut\n"
                                                    "sheet | A4 | 105,78.5 105,218.5 |\n"));
    sheets[0].name = tr("Own page");
    sheets[1].name = tr("Plain paper with a cut circle");
    sheets[2].name = tr("A4 sheet of two labels");
    return sheets;
}

QList<Sheet> readSheets(const QString& text, QStringList* problems) {
    QList<Sheet> sheets;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'|');
        Sheet sheet;
        bool ok = fields.size() == 3 || fields.size() == 4;
        if (ok) {
            sheet.name = fields[0].trimmed();
            const QString paper = fields[1].trimmed().toLower();
            if (paper == u"a4")
                sheet.paper = QPageSize(QPageSize::A4);
            else if (paper == u"letter")
                sheet.paper = QPageSize(QPageSize::Letter);
            else
                ok = paper == u"any";
            const QString centres = fields[2].trimmed();
            if (centres.toLower() != u"middle")
                for (const QString& pair : centres.split(u' ', Qt::SkipEmptyParts)) {
                    const QStringList xy = pair.split(u',');
                    bool okX = false, okY = false;
                    const double x = xy.value(0).toDouble(&okX), y = xy.value(1).toDouble(&okY);
                    if (xy.size() != 2 || !okX || !okY || x < 0 || y < 0 || x > 1000 || y > 1000)
                        ok = false;
                    else
                        sheet.centres.append(QPointF(x, y));
                }
            const QString cut = fields.value(3).trimmed().toLower();
            sheet.cutCircle = cut == u"cut";
            ok = ok && !sheet.name.isEmpty() && (cut.isEmpty() || sheet.cutCircle);
        }
        if (ok)
            sheets.append(sheet);
        else if (problems)
            *problems << tr("Line %1 is not a label sheet (name | A4, Letter or any | x,y ... "
                            "or middle | cut or nothing): %2")
                             .arg(i + 1)
                             .arg(line);
    }
    return sheets;
}

QString userSheetFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Sleevix/label-sheets.txt"));
}

QList<Sheet> availableSheets(QStringList* problems) {
    QList<Sheet> sheets = builtInSheets();
    QFile file(userSheetFile());
    if (file.open(QIODevice::ReadOnly) && file.size() < 1024 * 1024) {
        QStringList found;
        sheets += readSheets(QString::fromUtf8(file.readAll()), &found);
        if (problems)
            for (const QString& p : found)
                *problems << QDir::toNativeSeparators(file.fileName()) + QStringLiteral(": ") + p;
    }
    return sheets;
}

Sheet sheetNamed(const QList<Sheet>& sheets, const QString& name) {
    for (const Sheet& s : sheets)
        if (s.name == name)
            return s;
    return sheets.value(0);
}

QStringList trackLines(const QString& list, const QString& albumName) {
    QStringList tracks;
    for (QString line : list.split(QRegularExpression(QStringLiteral("[\\n\\r\\x{2028}\\x{2029}]")))) {
        line.replace(u'\t', QStringLiteral("  "));
        line = line.trimmed();
        if (!line.isEmpty() && line != albumName.trimmed())
            tracks << line;
    }
    return tracks;
}

QImage labelSquare(const Content& content) {
    CoverOptions square = content.options;
    square.fill = FrontFill::Crop;
    if (!content.options.labelCrop.isEmpty())
        square.crop = content.options.labelCrop;
    else if (content.options.fill != FrontFill::Crop)
        square.crop = QRectF(); // the largest square in the middle
    return frontImage(content.picture, square);
}

void paintLabel(QPainter& painter, const Content& content, bool cutCircle) {
    const double r = OuterMm / 2;
    const double hole = (content.options.holeMm == 15 ? 15.0 : 41.0) / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), r, r);
    ring.addEllipse(QPointF(0, 0), hole, hole);
    ring.setFillRule(Qt::OddEvenFill);
    const QImage square = labelSquare(content);
    painter.save();
    painter.setClipPath(ring);
    if (!square.isNull())
        painter.drawImage(QRectF(-r, -r, 2 * r, 2 * r), square);
    painter.restore();

    // The album name above the hole and the tracks, on a light band so that they read on any
    // picture.
    painter.setPen(Qt::black);
    if (!content.albumName.isEmpty()) {
        double size = 5.0;
        while (size > 2 && textWidthMm(content.albumName, size, true) > 70)
            size -= 0.1;
        const QRectF band(-37, -hole - 4 - size * 1.6, 74, size * 1.6);
        painter.fillRect(band, QColor(255, 255, 255, 200));
        drawTextMm(painter, band, Qt::AlignCenter, content.albumName, size, true);
    }
    if (!content.tracks.isEmpty() && content.options.tracks == LabelTracks::Block) {
        const double top = hole + 3, height = r - 8 - top;
        const int lines = int(content.tracks.size());
        const double size = std::clamp(height / lines / 1.3, 1.2, 3.2);
        const QRectF block(-32, top, 64, std::min(height, lines * size * 1.3 + 1));
        painter.fillRect(block, QColor(255, 255, 255, 200));
        for (int i = 0; i < lines && (i + 1) * size * 1.3 <= block.height() + 0.01; ++i)
            drawTextMm(painter, QRectF(-31, top + 0.5 + i * size * 1.3, 62, size * 1.3),
                       Qt::AlignHCenter | Qt::AlignVCenter, content.tracks[i], size, false);
    } else if (!content.tracks.isEmpty() && content.options.tracks == LabelTracks::Ring) {
        QPainterPath band;
        band.addEllipse(QPointF(0, 0), r - 1, r - 1);
        band.addEllipse(QPointF(0, 0), r - 5.5, r - 5.5);
        band.setFillRule(Qt::OddEvenFill);
        painter.fillPath(band, QColor(255, 255, 255, 200));
        drawRing(painter, content.tracks, r - 4.5);
    }
    if (cutCircle) {
        painter.setPen(QPen(QColor(120, 120, 120), 0.15));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(0, 0), r, r);
        painter.drawEllipse(QPointF(0, 0), hole, hole);
    }
    painter.restore();
}

QList<QPointF> centresOn(const Sheet& sheet, QSizeF paperMm) {
    if (sheet.centres.isEmpty())
        return {QPointF(paperMm.width() / 2, paperMm.height() / 2)};
    return sheet.centres;
}

void paintSheet(QPainter& painter, const Content& content, const Sheet& sheet,
                const QPageLayout& layout, double dpiX, double dpiY) {
    const QPointF origin = layout.paintRect(QPageLayout::Millimeter).topLeft();
    for (const QPointF& centre : centresOn(sheet, layout.fullRect(QPageLayout::Millimeter).size())) {
        painter.save();
        painter.scale(dpiX / 25.4, dpiY / 25.4);
        painter.translate(centre - origin);
        paintLabel(painter, content, sheet.cutCircle);
        painter.restore();
    }
}

} // namespace DiscLabel
