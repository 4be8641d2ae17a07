#include "PdfMeasure.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

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

} // namespace pdfmeasure
