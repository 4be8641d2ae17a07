// Printing through the real spooler: the layout goes from the preview's print button through
// the print dialog to the CUPS queue "PDF" (the cups-pdf driver, set up by
// scripts/services/cups.sh), and the PDF that CUPS writes is measured.
#include "LayoutFixture.h"
#include "PdfMeasure.h"
#include "PrintThroughDialog.h"
#include "controls/ColourButton.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "print/PrintPreview.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString outFolder() {
    const QString env = qEnvironmentVariable("SLEEVIX_CUPS_PDF_OUT");
    return env.isEmpty() ? QStringLiteral("/var/spool/cups-pdf/sleevix") : env;
}

// The finished PDF of the job whose title holds the token; empty after the time-out.
QString waitForPdf(const QString& token, int seconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        for (const QFileInfo& f : QDir(outFolder()).entryInfoList({QStringLiteral("*.pdf")})) {
            if (!f.fileName().contains(token))
                continue;
            QFile file(f.filePath());
            if (file.open(QIODevice::ReadOnly) && file.size() > 64) {
                file.seek(file.size() - 64);
                if (file.readAll().contains("%%EOF"))
                    return f.filePath();
            }
        }
        QThread::msleep(200);
    }
    return QString();
}

} // namespace

TEST(CupsPrint, LayoutThroughThePrintDialogAndTheSpooler) {
    if (!QPrinterInfo::availablePrinterNames().contains(QStringLiteral("PDF")))
        GTEST_SKIP() << "cupsd is not running or has no queue named PDF (scripts/services/cups.sh "
                        "starts it; it needs the Debian packages cups and printer-driver-cups-pdf)";
    if (!QDir(outFolder()).exists())
        GTEST_SKIP() << "the cups-pdf output folder " << outFolder().toStdString()
                     << " is missing (set up by scripts/services/cups.sh)";
    if (!pdfmeasure::toolsPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";

    // A job title of its own, so that runs side by side never take each other's PDF.
    const QString token = QStringLiteral("cupstest%1x%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    PrintPreview form;
    form.makePreview(
        fixture::layout(845, fixture::solid(QSize(960, 960), QColor(100, 100, 100)), token));
    form.printer.setPrinterName(QStringLiteral("PDF"));
    form.printer.setResolution(600);
    form.show();
    const QString error = fixture::printAcceptingTheDialog(form);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_TRUE(form.isVisible());
    const int dpi = form.printer.resolution();
    const QPoint origin = form.printer.pageLayout().paintRectPixels(dpi).topLeft();
    form.hide();

    const QString pdf = waitForPdf(token, 90);
    ASSERT_FALSE(pdf.isEmpty()) << "CUPS wrote no PDF for the job into "
                                << outFolder().toStdString();
    const auto info = pdfmeasure::info(pdf);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->pages, 1);
    EXPECT_NEAR(info->pointSize.width(), 595.28, 0.5); // A4
    EXPECT_NEAR(info->pointSize.height(), 841.89, 0.5);
    const QSize printed = PrintGeometry::printedSize(
        QSize(845, 1188), PrintGeometry::scaleFor(dpi, dpi, 96, 96, 1.0));
    pdfmeasure::ExpectFrontPrinted(pdf, dpi, origin, printed, QSize(845, 1188));
    QFile::remove(pdf);
}

// A queue that refuses the job: the document is ended, and then the refusal is told instead of
// the job being lost without a word.
TEST(CupsPrint, RefusedJobIsToldAfterTheDocumentIsEnded) {
    if (!QPrinterInfo::availablePrinterNames().contains(QStringLiteral("SleevixRefusing")))
        GTEST_SKIP() << "cupsd is not running or has no queue named SleevixRefusing "
                        "(scripts/services/cups.sh adds it)";
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QStringLiteral("SleevixRefusing"));
    printer.setResolution(600);
    bool drawn = false;
    try {
        printDocument(printer, [&](QPainter& painter) {
            paintLayout(painter, fixture::layout(845, QImage(), QStringLiteral("Refused")),
                        QSize(4953, 6940), PrintMode::Sharp);
            drawn = true;
        });
        FAIL() << "the refusal was not told";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("not accepting")))
            << e.message().toStdString();
    }
    EXPECT_TRUE(drawn);
    EXPECT_FALSE(printer.paintEngine()->isActive()); // the document was ended
}
