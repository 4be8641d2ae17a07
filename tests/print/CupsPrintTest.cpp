// Printing through the real spooler: the layout goes from the preview's print button through
// the print dialog to the CUPS queue "PDF" (the cups-pdf driver, set up by
// scripts/services/cups.sh), and the PDF that CUPS writes is measured.
#include "LayoutFixture.h"
#include "PdfMeasure.h"
#include "PrintThroughDialog.h"
#include "common/TestEnv.h"
#include "controls/ColourButton.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/RegistryStore.h"
#include "print/CalibrationPage.h"
#include "print/PrintPreview.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QThread>
#include <QTimer>
#include <cstdio>
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

// A job title of its own, so that runs side by side never take each other's PDF.
QString jobToken(const char* what) {
    return QStringLiteral("%1%2x%3")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch());
}

// A grey front on the layout, the preview shown with the queue "PDF" at 600 dpi chosen.
void showGreyCoverForThePdfQueue(PrintPreview& form, const QString& token) {
    form.makePreview(
        fixture::layout(845, fixture::solid(QSize(960, 960), QColor(100, 100, 100)), token));
    form.printer().setPrinterName(QStringLiteral("PDF"));
    form.printer().setResolution(600);
    form.show();
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

    const QString token = jobToken("cupstest");
    PrintPreview form;
    showGreyCoverForThePdfQueue(form, token);
    const QString error = fixture::printAcceptingTheDialog(form);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_TRUE(form.isVisible());
    const int dpi = form.printer().resolution();
    const QPoint origin = form.printer().pageLayout().paintRectPixels(dpi).topLeft();
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

namespace {

bool cupsReady() {
    return QPrinterInfo::availablePrinterNames().contains(QStringLiteral("PDF")) &&
           QDir(outFolder()).exists() && pdfmeasure::toolsPresent();
}

// Where the front frame's outline came out across the page, in printer pixels (at 600 dpi),
// measured at four times that resolution through the front's middle.
struct FrameAcross {
    double left = -1;
    double right = -1; // one past the right outline
};

// The cover printed on the queue "PDF" from the preview, with whatever calibration the store
// holds for it; the frame measured across.
FrameAcross printAndMeasureFrame(const char* what) {
    const QString token = jobToken(what);
    PrintPreview form;
    showGreyCoverForThePdfQueue(form, token);
    const QString error = fixture::printAcceptingTheDialog(form);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    const QPoint origin = form.printer().pageLayout().paintRectPixels(600).topLeft();
    form.hide();
    const QString pdf = waitForPdf(token, 90);
    EXPECT_FALSE(pdf.isEmpty()) << "CUPS wrote no PDF for " << token.toStdString();
    if (pdf.isEmpty())
        return {};
    const double ky = 6940.0 / 1188;
    const QImage strip =
        pdfmeasure::render(pdf, 2400, QRect(0, int((origin.y() + 300 * ky) * 4), 4961 * 4, 1));
    QFile::remove(pdf);
    const pdfmeasure::FrontCut cut = pdfmeasure::cutFront(pdfmeasure::row(strip, 0));
    return FrameAcross{cut.frameStart / 4.0, cut.frameEnd / 4.0};
}

void storeCalibration(const QString& printer, const PrinterCalibration& calibration) {
    RegistryStore store;
    saveCalibration(store, printer, calibration);
}

} // namespace

// The calibration stored for the queue moves and scales the whole printed page; the values of
// another printer do not reach it.
TEST(CupsPrint, CalibrationOfThePrinterMovesAndScalesTheCover) {
    if (!cupsReady())
        GTEST_SKIP() << "cupsd with the queue PDF, its output folder or poppler-utils missing";
    // A store of its own, given back afterwards so that later prints go uncalibrated.
    const QString savedDir = QDir::currentPath();
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME"), savedData = qgetenv("XDG_DATA_HOME");
    testenv::prepareWorkspace(QStringLiteral("cupscalibration"));
    const double mmPerPixel = 25.4 / 600;
    const double kx = 4953.0 / 845;
    QPrinter probe(QPrinter::HighResolution);
    probe.setPrinterName(QStringLiteral("PDF"));
    probe.setResolution(600);
    const double originX = probe.pageLayout().paintRectPixels(600).left();
    const double left = originX + 177 * kx, width = (663 - 177) * kx;

    storeCalibration(QStringLiteral("SleevixRefusing"), PrinterCalibration{-50, 30, 960, 1040});
    storeCalibration(QStringLiteral("PDF"), PrinterCalibration{20, 0, 1000, 1000});
    const FrameAcross moved = printAndMeasureFrame("offset");
    const double shift = (moved.left - left) * mmPerPixel;
    EXPECT_NEAR(shift, 2.0, 0.1);
    EXPECT_NEAR((moved.right - moved.left) * mmPerPixel, width * mmPerPixel, 0.1);
    std::printf("[ measured ] +2.0 mm across: the frame moved %.3f mm\n", shift);

    storeCalibration(QStringLiteral("PDF"), PrinterCalibration{0, 0, 980, 1000});
    const FrameAcross scaled = printAndMeasureFrame("scale");
    const double shrunk = (scaled.right - scaled.left) * mmPerPixel;
    EXPECT_NEAR(shrunk, 0.98 * width * mmPerPixel, 0.1);
    // Scaled about the page's origin: the frame's left outline moves towards it too.
    EXPECT_NEAR(scaled.left, originX + 0.98 * 177 * kx, 0.1 / mmPerPixel);
    std::printf("[ measured ] 98.0 %% across: frame %.3f mm wide instead of %.3f mm (%.3f %%)\n",
                shrunk, width * mmPerPixel, 100 * shrunk / (width * mmPerPixel));

    RegistryStore store;
    EXPECT_EQ(loadCalibration(store, QStringLiteral("SleevixRefusing")),
              (PrinterCalibration{-50, 30, 960, 1040}));
    QDir::setCurrent(savedDir);
    qputenv("XDG_CONFIG_HOME", savedConfig);
    qputenv("XDG_DATA_HOME", savedData);
}

// The test page with +1.5 mm and 99.0 % across: the horizontal line's ticks from 0 to 100 lie
// 99.0 mm apart, its 0 mark 1.5 mm right of where 99 % puts it.
TEST(CupsPrint, TestPageRulerComesOutCalibrated) {
    if (!cupsReady())
        GTEST_SKIP() << "cupsd with the queue PDF, its output folder or poppler-utils missing";
    const QString token = jobToken("testpage");
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QStringLiteral("PDF"));
    printer.setResolution(600);
    printer.setDocName(token);
    const QPointF originMm = printer.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    printCalibrationPageOn(printer, PrinterCalibration{15, 0, 990, 1000}, QSize(845, 1188), 96, 96,
                           1.0);
    const QString pdf = waitForPdf(token, 90);
    ASSERT_FALSE(pdf.isEmpty());
    // One millimetre below the line, where only the ticks are, at 2400 dpi.
    const double px = 2400 / 25.4;
    const QImage strip = pdfmeasure::render(
        pdf, 2400, QRect(0, int((originMm.y() + RulerTop + 1) * px), int(210 * px), 1));
    QFile::remove(pdf);
    // Left of the vertical line, which the row crosses too.
    const QList<int> line = pdfmeasure::row(strip, 0).mid(0, int((originMm.x() + 140) * px));
    QList<double> ticks;
    for (int x = 0; x < line.size(); ++x)
        if (line[x] < 128) {
            const int start = x;
            while (x < line.size() && line[x] < 128)
                ++x;
            ticks.append((start + x - 1) / 2.0 / px); // the tick's middle, in mm
        }
    ASSERT_EQ(ticks.size(), 101);
    const double zero = ticks.first() - originMm.x();
    const double length = ticks.last() - ticks.first();
    EXPECT_NEAR(zero, 1.5 + 0.99 * RulerLeft, 0.1);
    EXPECT_NEAR(length, 99.0, 0.1);
    std::printf("[ measured ] test page at +1.5 mm / 99.0 %%: 0 mark at %.3f mm from the origin "
                "(%.3f expected), line %.3f mm long\n",
                zero, 1.5 + 0.99 * RulerLeft, length);
}
