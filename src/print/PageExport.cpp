#include "print/PageExport.h"

#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "platform/SaveWhole.h"
#include "print/PrintGeometry.h"
#include "print/PrintPreview.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

namespace {

// The preview's window on a 96-dpi screen, whose scale the print takes.
constexpr double WindowDpi = 96;
constexpr double ScreenScale = 1;

AppError cannotCreate(const QString& file) {
    return AppError(QCoreApplication::translate("PageExport", "Cannot create file %1")
                        .arg(QDir::toNativeSeparators(file)));
}

// The printer as printing to a PDF file has it: the printer object's high resolution, an A4
// page upright, the job named after the cover.
void setUpPdfPrinter(QPrinter& printer, const QString& file, const PrintSource& source,
                     PaperFit::Paper paper) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(PaperFit::pageSizeOf(paper));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setCreator(ProductName);
    printer.setDocName(source.spineText.isEmpty()
                           ? ProductName
                           : ProductName + QStringLiteral(" - ") + source.spineText);
}

// Writes bytes in the file's place whole, or throws leaving it as it was.
void putInPlace(const QString& file, const QByteArray& bytes) {
    if (!saveFileWhole(file, bytes))
        throw cannotCreate(file);
}

} // namespace

namespace PageExport {

QSize pageSizeAt(int dpi, PaperFit::Paper paper) {
    // Rounded to the nearest pixel: 3507.87 pixels down at 300 dpi make 3508.
    const QSizeF mm = PaperFit::pageSizeOf(paper).size(QPageSize::Millimeter);
    return QSize(qRound(mm.width() / 25.4 * dpi), qRound(mm.height() / 25.4 * dpi));
}

QImage pageImage(const PrintSource& source, int dpi, const PageChoice& choice) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, QString(), source, choice.paper);
    const QSize canvas = source.canvas.size();
    const QSize printed = PrintGeometry::printedSizeOn(canvas, dpi, dpi, WindowDpi, WindowDpi,
                                                       ScreenScale, choice.standardSizes);
    const PaperFit::Fit fit = PaperFit::fitLayout(
        printer.pageLayout().paintRect(QPageLayout::Millimeter).size(),
        PaperFit::mmPerPixel(canvas, printed, dpi, dpi));
    if (!fit.fits)
        throw AppError(PaperFit::tooSmallMessage(printer.pageLayout()));
    QImage page(pageSizeAt(dpi, choice.paper), QImage::Format_RGB32);
    if (page.isNull())
        throw AppError(
            QCoreApplication::translate("PageExport", "Not enough memory for a page at %1 dpi.")
                .arg(dpi));
    page.fill(Qt::white);
    const int dotsPerMetre = qRound(dpi / 0.0254);
    page.setDotsPerMeterX(dotsPerMetre);
    page.setDotsPerMeterY(dotsPerMetre);

    const QPoint corner = printer.pageLayout().paintRectPixels(dpi).topLeft();
    QPainter painter(&page);
    painter.translate(corner);
    PaperFit::applyFit(painter, fit, canvas, printed);
    paintLayout(painter, source, printed, PrintMode::Sharp);
    return page;
}

void writePdf(const PrintSource& source, const QString& file, const PageChoice& choice) {
    // The printer writes a file of its own beside the target; what it wrote is put in the
    // target's place only when it is complete.
    const QFileInfo target(file);
    QTemporaryFile draft(
        target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (file.isEmpty() || target.isDir() || !draft.open())
        throw cannotCreate(file);
    draft.close();
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, draft.fileName(), source, choice.paper);
    PrinterCalibration scale;
    scale.standardSizes = choice.standardSizes;
    try {
        printLayoutOn(printer, source, WindowDpi, WindowDpi, ScreenScale, PrintMode::Sharp, scale);
    } catch (const AppError& e) {
        // The user knows the file by the name given, not by the draft's.
        throw AppError(QString(e.message())
                           .replace(QDir::toNativeSeparators(draft.fileName()),
                                    QDir::toNativeSeparators(file)));
    }
    QFile written(draft.fileName());
    if (!written.open(QIODevice::ReadOnly))
        throw cannotCreate(file);
    const QByteArray bytes = written.readAll();
    if (written.error() != QFileDevice::NoError)
        throw cannotCreate(file);
    putInPlace(file, bytes);
}

void writePng(const PrintSource& source, const QString& file, int dpi,
              const PageChoice& choice) {
    if (dpi < MinDpi || dpi > MaxDpi)
        throw AppError(
            QCoreApplication::translate("PageExport", "No PNG page at %1 dpi: from %2 to %3.")
                .arg(dpi)
                .arg(MinDpi)
                .arg(MaxDpi));
    if (file.isEmpty() || QFileInfo(file).isDir())
        throw cannotCreate(file);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!pageImage(source, dpi, choice).save(&buffer, "PNG"))
            throw cannotCreate(file);
    }
    putInPlace(file, bytes);
}

} // namespace PageExport
