#include "print/PageExport.h"

#include "print/PdfJpeg.h"

#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "platform/SaveWhole.h"
#include "print/PrintGeometry.h"
#include "print/PrintPreview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <algorithm>
#include <functional>
#include <optional>
#include <png.h>

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

// Rows of the page painted at a time when it is written as a PNG.
constexpr int BandRows = 256;

struct PageGeometry {
    QSize size;        // the page in pixels
    QPoint corner;     // the printable area's corner, where the layout begins
    QSize printed;     // the layout's printed size
    PaperFit::Fit fit; // where the layout goes in the printable area
};

// Throws AppError when the covers do not fit on the paper.
PageGeometry pageGeometry(const PrintSource& source, int dpi, const PageExport::PageChoice& choice) {
    PageGeometry g;
    g.size = PageExport::pageSizeAt(dpi, choice.paper);
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, QString(), source, choice.paper);
    g.corner = printer.pageLayout().paintRectPixels(dpi).topLeft();
    const QSize canvas = source.canvas.size();
    g.printed = PrintGeometry::printedSizeOn(canvas, dpi, dpi, WindowDpi, WindowDpi, ScreenScale,
                                             choice.standardSizes);
    g.fit = PaperFit::fitLayout(printer.pageLayout().paintRect(QPageLayout::Millimeter).size(),
                                PaperFit::mmPerPixel(canvas, g.printed, dpi, dpi));
    if (!g.fit.fits)
        throw AppError(PaperFit::tooSmallMessage(printer.pageLayout()));
    return g;
}

// The page's rows from `top` down, as many as the band holds: white, the layout from the corner.
void paintBand(QImage& band, int top, const PrintSource& source, const SharpPlan& plan,
               const PageGeometry& geometry) {
    band.fill(Qt::white);
    QPainter painter(&band);
    painter.translate(geometry.corner.x(), geometry.corner.y() - top);
    PaperFit::applyFit(painter, geometry.fit, source.canvas.size(), geometry.printed);
    paintSharpPlan(painter, source, plan, geometry.printed);
}

void appendToArray(png_structp png, png_bytep data, png_size_t size) {
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data),
                                                          qsizetype(size));
}

void flushNothing(png_structp) {}

// Encodes a picture of `size` as an 8-bit RGB PNG with its resolution, row by row: rowAt(y) gives
// row y as 32-bit RGB pixels (QImage::Format_RGB32), rows asked for from the top down. False when
// libpng fails.
bool encodePng(QByteArray* out, QSize size, int dpi, const std::function<const uchar*(int)>& rowAt) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, out, &appendToArray, &flushNothing);
    png_set_IHDR(png, info, png_uint_32(size.width()), png_uint_32(size.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    const png_uint_32 dotsPerMetre = png_uint_32(qRound(dpi / 0.0254));
    png_set_pHYs(png, info, dotsPerMetre, dotsPerMetre, PNG_RESOLUTION_METER);
    // A page is mostly white with one photo: the fastest deflate with the "sub" filter packs it
    // nearly as small as the default effort, in a fraction of the time.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    // Format_RGB32 lies in memory as blue, green, red and an unused byte.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < size.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(rowAt(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

namespace PageExport {

QSize pageSizeAt(int dpi, PaperFit::Paper paper) {
    // Rounded to the nearest pixel: 3507.87 pixels down at 300 dpi make 3508.
    const QSizeF mm = PaperFit::pageSizeOf(paper).size(QPageSize::Millimeter);
    return QSize(qRound(mm.width() / 25.4 * dpi), qRound(mm.height() / 25.4 * dpi));
}

QImage pageImage(const PrintSource& source, int dpi, const PageChoice& choice) {
    const PageGeometry geometry = pageGeometry(source, dpi, choice);
    QImage page(geometry.size, QImage::Format_RGB32);
    if (page.isNull())
        throw AppError(
            QCoreApplication::translate("PageExport", "Not enough memory for a page at %1 dpi.")
                .arg(dpi));
    const int dotsPerMetre = qRound(dpi / 0.0254);
    page.setDotsPerMeterX(dotsPerMetre);
    page.setDotsPerMeterY(dotsPerMetre);
    paintBand(page, 0, source, planSharpPrint(source, geometry.printed), geometry);
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
    // A JPEG front shown whole goes into the PDF as its own bytes: drawn as a stand-in, replaced
    // below. A cropped or fitted front is drawn from its pixels.
    const std::optional<PdfJpeg::Passable> jpeg =
        source.front.getFormat() == Picture::Format::Jpeg && source.front.isUnchanged() &&
                source.coverOptions.fill == FrontFill::Stretch
            ? PdfJpeg::passable(source.front.originalBytes())
            : std::nullopt;
    bool standInDrawn = false;
    try {
        const QSize canvas = source.canvas.size();
        const QSize printed =
            PrintGeometry::printedSizeOn(canvas, printer.logicalDpiX(), printer.logicalDpiY(),
                                         WindowDpi, WindowDpi, ScreenScale, choice.standardSizes);
        // A paper too small for the covers is refused before the file is begun.
        const PaperFit::Fit fit = fitOnPrinter(printer, canvas, printed);
        if (!fit.fits)
            throw AppError(PaperFit::tooSmallMessage(printer.pageLayout()));
        printDocument(printer, [&](QPainter& painter) {
            if (source.canvas.isNull() || printed.isEmpty())
                return;
            PaperFit::applyFit(painter, fit, canvas, printed);
            const SharpPlan plan = planSharpPrint(source, printed, false,
                                                  jpeg ? PdfJpeg::standIn() : QImage());
            standInDrawn = jpeg && !plan.frontImage.isNull();
            paintSharpPlan(painter, source, plan, printed);
        });
    } catch (const AppError& e) {
        // The user knows the file by the name given, not by the draft's.
        throw AppError(QString(e.message())
                           .replace(QDir::toNativeSeparators(draft.fileName()),
                                    QDir::toNativeSeparators(file)));
    }
    QFile written(draft.fileName());
    if (!written.open(QIODevice::ReadOnly))
        throw cannotCreate(file);
    QByteArray bytes = written.readAll();
    if (written.error() != QFileDevice::NoError)
        throw cannotCreate(file);
    if (standInDrawn && !PdfJpeg::putInPlaceOfStandIn(bytes, source.front.originalBytes(), *jpeg))
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
    // The page is painted a band of rows at a time, each band written out before the next is
    // painted: a 600-dpi page never lies in memory whole.
    const PageGeometry geometry = pageGeometry(source, dpi, choice);
    const SharpPlan plan = planSharpPrint(source, geometry.printed);
    QImage band(geometry.size.width(), std::min(BandRows, geometry.size.height()),
                QImage::Format_RGB32);
    if (band.isNull())
        throw AppError(
            QCoreApplication::translate("PageExport", "Not enough memory for a page at %1 dpi.")
                .arg(dpi));
    int bandTop = -band.height();
    QByteArray bytes;
    const bool encoded = encodePng(&bytes, geometry.size, dpi, [&](int y) {
        if (y >= bandTop + band.height()) {
            bandTop = y;
            paintBand(band, bandTop, source, plan, geometry);
        }
        return band.constScanLine(y - bandTop);
    });
    if (!encoded)
        throw cannotCreate(file);
    putInPlace(file, bytes);
}

} // namespace PageExport
