// The preview's Print button as a user presses it: through the print dialog into a PDF file.
#include "LayoutFixture.h"
#include "NoSpoolerChild.h"
#include "PdfMeasure.h"
#include "PrintThroughDialog.h"
#include "common/TestEnv.h"
#include "dialogs/ErrorGuard.h"
#include "platform/RegistryStore.h"
#include "print/PrintPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const char* ChildVariable = "SLEEVIX_PRINT_BUTTON_CHILD";

// Separately printed stripes per inch across the middle of the front picture.
double stripesPerInch(const QString& pdf, int dpi, QPoint origin, QSize printed) {
    const double kx = printed.width() / 845.0, ky = printed.height() / 1188.0;
    const QImage across = pdfmeasure::render(
        pdf, dpi, QRect(0, origin.y() + int(300 * ky), origin.x() + printed.width(), 1));
    const QList<int> line = pdfmeasure::row(across, 0);
    const int first = origin.x() + int(182 * kx), last = origin.x() + int(658 * kx);
    return pdfmeasure::runs(line, first, last) / ((last - first) / double(dpi));
}

// Presses Print, and in the print dialog chooses a PDF file instead of the printer, as a user
// would; gives the text of the error box, empty when none was shown.
QString printToFileThroughTheDialog(PrintPreview& form, const QString& file) {
    QString error;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { error = text; });
    QTimer::singleShot(0, &form, [file] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        // The last entry of the printer list is the PDF file.
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers")))
            printers->setCurrentIndex(printers->count() - 1);
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            name->setText(file);
        dialog->accept();
    });
    form.printButton->click();
    ErrorGuard::setReporter(qApp, nullptr);
    return error;
}

} // namespace

// Run in a child that sees no print spooler, so that the dialog offers the PDF file whether or
// not cupsd runs here.
TEST(PrintButtonChild, PrintsTheSharpLayoutIntoAPdfFile) {
    if (qEnvironmentVariableIsEmpty(ChildVariable))
        GTEST_SKIP() << "runs only as the child of PrintButton.PrintsTheSharpLayoutIntoAPdfFile";
    PrintPreview form;
    form.show();
    // 2400 separate columns across the front: 512 per printed inch in the photo, 102 on the canvas.
    form.makePreview(fixture::layout(845, fixture::stripes(QSize(2400, 600)), QStringLiteral("S")));
    const QString folder = testenv::freshFolder(QStringLiteral("button"));
    form.printer().setOutputFormat(QPrinter::PdfFormat);
    form.printer().setOutputFileName(folder + QStringLiteral("/first.pdf"));
    form.printer().setResolution(600);
    ASSERT_EQ(fixture::printAcceptingTheDialog(form), QString());
    ASSERT_EQ(form.printer().outputFormat(), QPrinter::PdfFormat);
    const QString first = form.printer().outputFileName();
    const int dpi = form.printer().resolution();
    const QPoint origin = form.printer().pageLayout().paintRectPixels(dpi).topLeft();
    const QSize printed = PrintGeometry::printedSize(
        QSize(845, 1188), PrintGeometry::scaleFor(dpi, dpi, form.logicalDpiX(),
                                                  form.logicalDpiY(), form.screenScale));
    EXPECT_GT(stripesPerInch(first, dpi, origin, printed), 400) << "the sharp print";
    form.hide();
}

TEST(PrintButton, PrintsTheSharpLayoutIntoAPdfFile) {
    if (!pdfmeasure::toolsPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    fixture::runWithoutSpooler(
        ChildVariable, QStringLiteral("PrintButtonChild.PrintsTheSharpLayoutIntoAPdfFile"));
}

// A PDF file chosen in the print dialog instead of an installed printer gets none of that
// printer's calibration: the page comes out as it does uncalibrated.
TEST(PrintButton, APdfFileChosenInsteadOfAPrinterGetsNoCalibration) {
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (printers.isEmpty())
        GTEST_SKIP() << "no printer is installed (scripts/services/cups.sh adds one)";
    if (!pdfmeasure::toolsPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    const QString folder = testenv::freshFolder(QStringLiteral("calibrated"));
    PrintPreview form;
    form.show();
    form.makePreview(fixture::layout(845, fixture::solid(QSize(960, 960), QColor(100, 100, 100)),
                                     QStringLiteral("C")));
    form.printer().setPrinterName(printers.first());
    ASSERT_EQ(form.printer().printerName(), printers.first());
    const QString plain = folder + QStringLiteral("/plain.pdf");
    ASSERT_EQ(printToFileThroughTheDialog(form, plain), QString());
    ASSERT_EQ(form.printer().outputFormat(), QPrinter::PdfFormat);
    ASSERT_EQ(form.printer().outputFileName(), plain);

    // Calibrated: the printer chosen before and the one the printer object names now.
    for (const QString& name : {printers.first(), form.printer().printerName()}) {
        if (name.isEmpty())
            continue;
        RegistryStore store;
        saveCalibration(store, name, PrinterCalibration{100, -80, 960, 1040});
    }
    form.printer().setPrinterName(printers.first());
    const QString calibrated = folder + QStringLiteral("/calibrated.pdf");
    ASSERT_EQ(printToFileThroughTheDialog(form, calibrated), QString());
    const QRect page(0, 0, 827, 1169); // A4 at 100 dpi
    ASSERT_EQ(form.printer().outputFileName(), calibrated);
    const QImage printedPlain = pdfmeasure::render(plain, 100, page);
    const QImage printedCalibrated = pdfmeasure::render(calibrated, 100, page);
    ASSERT_FALSE(printedPlain.isNull());
    ASSERT_EQ(printedCalibrated.size(), printedPlain.size());
    EXPECT_TRUE(printedCalibrated == printedPlain) << "the calibration moved or scaled the page";
    form.hide();
}
