#include "print/LabelPrint.h"

#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "platform/SaveWhole.h"
#include "print/PrintPreview.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {

void checkPaper(const DiscLabel::Sheet& sheet, const QPageLayout& layout) {
    if (!sheet.paper.isValid())
        return;
    const QSizeF wanted = sheet.paper.size(QPageSize::Millimeter);
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size();
    if (std::abs(wanted.width() - paper.width()) > 1 || std::abs(wanted.height() - paper.height()) > 1)
        throw AppError(QCoreApplication::translate(
                           "LabelPrint", "The label sheet \"%1\" is made for %2 paper; the printer "
                                         "has %3. Nothing was printed.")
                           .arg(sheet.name, sheet.paper.name(), layout.pageSize().name()));
}

} // namespace

void printLabelOn(QPrinter& printer, const DiscLabel::Content& content,
                  const DiscLabel::Sheet& sheet, const PrinterCalibration& calibration) {
    checkPaper(sheet, printer.pageLayout());
    printDocument(printer, [&](QPainter& painter) {
        const double dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
        if (!calibration.isNone())
            painter.setWorldTransform(calibration.transform(dpiX, dpiY));
        DiscLabel::paintSheet(painter, content, sheet, printer.pageLayout(), dpiX, dpiY);
    });
}

void writeLabelPdf(const DiscLabel::Content& content, const DiscLabel::Sheet& sheet,
                   PaperFit::Paper paper, const QString& file) {
    const auto cannotCreate = [&file] {
        return AppError(QCoreApplication::translate("PageExport", "Cannot create file %1")
                            .arg(QDir::toNativeSeparators(file)));
    };
    if (file.isEmpty() || QFileInfo(file).isDir())
        throw cannotCreate();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(ProductName);
        writer.setTitle(ProductName + QStringLiteral(" - ") + content.albumName);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(sheet.paper.isValid() ? sheet.paper
                                                               : PaperFit::pageSizeOf(paper),
                                         QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            throw cannotCreate();
        DiscLabel::paintSheet(painter, content, sheet, writer.pageLayout(), 1200, 1200);
        painter.end();
    }
    if (!saveFileWhole(file, bytes))
        throw cannotCreate();
}
