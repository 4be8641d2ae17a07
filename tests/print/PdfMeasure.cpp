#include "PdfMeasure.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pdfmeasure {

bool toolsPresent() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

std::optional<PdfInfo> info(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return std::nullopt;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    PdfInfo result;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(out);
    if (!pages.hasMatch() || !size.hasMatch())
        return std::nullopt;
    result.pages = pages.captured(1).toInt();
    result.pointSize = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    return result;
}

bool textToolsPresent() {
    return toolsPresent() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty();
}

namespace {

QString outputOf(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString text(const QString& pdf) {
    return outputOf(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("1"),
                     QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
}

QList<QSize> images(const QString& pdf) {
    // page num type width height ...; two heading lines first.
    QList<QSize> sizes;
    const QStringList lines =
        outputOf(QStringLiteral("pdfimages"),
                 {QStringLiteral("-list"), QStringLiteral("-f"), QStringLiteral("1"),
                  QStringLiteral("-l"), QStringLiteral("1"), pdf})
            .split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList f = line.simplified().split(u' ');
        bool page = false, w = false, h = false;
        if (f.size() < 5)
            continue;
        f[0].toInt(&page);
        const QSize size(f[3].toInt(&w), f[4].toInt(&h));
        // A soft mask belongs to the picture before it.
        if (page && w && h && f[2] != QStringLiteral("smask"))
            sizes.append(size);
    }
    return sizes;
}

QImage render(const QString& pdf, int dpi, const QRect& part) {
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/page");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-x"),
             QString::number(part.x()), QStringLiteral("-y"), QString::number(part.y()),
             QStringLiteral("-W"), QString::number(part.width()), QStringLiteral("-H"),
             QString::number(part.height()), pdf, base});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return QImage();
    return QImage(base + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

QList<int> row(const QImage& grey, int y) {
    QList<int> line;
    for (int x = 0; x < grey.width(); ++x)
        line.append(qGray(grey.pixel(x, y)));
    return line;
}

QList<int> column(const QImage& grey, int x) {
    QList<int> line;
    for (int y = 0; y < grey.height(); ++y)
        line.append(qGray(grey.pixel(x, y)));
    return line;
}

FrontCut cutFront(const QList<int>& line) {
    FrontCut cut;
    const int n = int(line.size());
    int i = 0;
    while (i < n && line[i] >= 128) // to the frame's outline
        ++i;
    if (i == n)
        return cut;
    cut.frameStart = i;
    while (i < n && line[i] < 128) // across it
        ++i;
    while (i < n && line[i] >= 240) // into the white gap
        ++i;
    // The picture's edge is where the grey is halfway between white and the picture's middle.
    int middle = i;
    for (int k = i; k < n; ++k)
        if (line[k] < 128)
            middle = (i + k) / 2;
    const int edge = (255 + line[middle]) / 2;
    while (i < n && line[i] >= edge)
        ++i;
    cut.pictureStart = i;
    // The picture ends at the last pixel darker than 200 before the opposite outline's white gap:
    // search from the far side.
    int j = n - 1;
    while (j > i && line[j] >= 128)
        --j;
    cut.frameEnd = j + 1;
    while (j > i && line[j] < 128)
        --j;
    while (j > i && line[j] >= edge)
        --j;
    cut.pictureEnd = j + 1;
    return cut;
}

int runs(const QList<int>& line, int first, int last) {
    int count = 1;
    for (int i = first + 1; i <= last && i < line.size(); ++i)
        if ((line[i] < 128) != (line[i - 1] < 128))
            ++count;
    return count;
}

void ExpectFrontPrinted(const QString& pdf, int dpi, QPoint origin, QSize printed, QSize canvas) {
    const int f = 4;
    const double kx = double(printed.width()) / canvas.width();
    const double ky = double(printed.height()) / canvas.height();
    const auto cut = [&](bool acrossThePage) {
        // Through the front's middle, layout (420, 300); down the page only to y = 590, above
        // the back frame.
        const QRect part = acrossThePage ? QRect(0, int((origin.y() + 300 * ky) * f),
                                                 int((origin.x() + canvas.width() * kx) * f), 1)
                                         : QRect(int((origin.x() + 420 * kx) * f), 0, 1,
                                                 int((origin.y() + 590 * ky) * f));
        const QImage strip = render(pdf, dpi * f, part);
        EXPECT_FALSE(strip.isNull()) << "pdftoppm failed on " << pdf.toStdString();
        const FrontCut c = cutFront(acrossThePage ? row(strip, 0) : column(strip, 0));
        return FrontCutF{c.frameStart / double(f), c.pictureStart / double(f),
                         c.pictureEnd / double(f), c.frameEnd / double(f)};
    };
    const FrontCutF h = cut(true);
    const FrontCutF v = cut(false);
    // The frame's outline: x = 177 and 662, y = 57 and 542 of the layout.
    EXPECT_NEAR(h.frameStart, origin.x() + 177 * kx, 1.0);
    EXPECT_NEAR(h.frameEnd, origin.x() + 663 * kx, 1.0);
    EXPECT_NEAR(v.frameStart, origin.y() + 57 * ky, 1.0);
    EXPECT_NEAR(v.frameEnd, origin.y() + 543 * ky, 1.0);
    // The picture: (180, 60) to (660, 540).
    EXPECT_NEAR(h.pictureStart, origin.x() + 180 * kx, 1.0);
    EXPECT_NEAR(h.pictureEnd, origin.x() + 660 * kx, 1.0);
    EXPECT_NEAR(v.pictureStart, origin.y() + 60 * ky, 1.0);
    EXPECT_NEAR(v.pictureEnd, origin.y() + 540 * ky, 1.0);
    const double onePixelMm = 25.4 / dpi;
    const double mmAcross = 480 * 0.93781 / 96 * 25.4, mmDown = 480 * 0.93474 / 96 * 25.4;
    EXPECT_NEAR(toMm(h.pictureEnd - h.pictureStart, dpi), mmAcross, onePixelMm);
    EXPECT_NEAR(toMm(v.pictureEnd - v.pictureStart, dpi), mmDown, onePixelMm);
}

} // namespace pdfmeasure
