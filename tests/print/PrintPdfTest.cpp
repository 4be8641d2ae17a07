// The layout printed to a PDF through the printer object, measured as printed: page size, where
// the front frame lies, the front picture's printed size in millimetres, and its sharpness.
#include "LayoutFixture.h"
#include "PdfMeasure.h"
#include "common/TestEnv.h"
#include "platform/AppError.h"
#include "print/PrintPreview.h"

#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QString Spine = QStringLiteral("Velmora - Last Rose Of Summer 2002");
constexpr int Dpi = 600;

void pdfPrinter(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(Dpi);
}

QString printToPdf(const PrintSource& source, PrintMode mode, QPoint* origin = nullptr) {
    const QString file = testenv::freshFolder(QStringLiteral("pdf")) + QStringLiteral("/out.pdf");
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, file);
    if (origin)
        *origin = printer.pageLayout().paintRectPixels(Dpi).topLeft();
    printLayoutOn(printer, source, 96, 96, 1.0, mode);
    return file;
}

} // namespace

class PdfPrintTest : public ::testing::TestWithParam<PrintMode> {
protected:
    void SetUp() override {
        if (!pdfmeasure::toolsPresent())
            GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    }
};

// 845 x 1188 layout pixels at 600 dpi print as 4953 x 6940 printer pixels from the printable
// area's corner; the 480-pixel front picture measures 119.1 x 118.7 mm.
TEST_P(PdfPrintTest, FrontPrintsAtItsSizeAndPlace) {
    const PrintSource source =
        fixture::layout(845, fixture::solid(QSize(960, 960), QColor(100, 100, 100)), Spine);
    QPoint origin;
    const QString pdf = printToPdf(source, GetParam(), &origin);

    const auto info = pdfmeasure::info(pdf);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->pages, 1);
    EXPECT_NEAR(info->pointSize.width(), 595.28, 0.5); // A4
    EXPECT_NEAR(info->pointSize.height(), 841.89, 0.5);

    pdfmeasure::ExpectFrontPrinted(pdf, Dpi, origin, QSize(4953, 6940), QSize(845, 1188));
}

INSTANTIATE_TEST_SUITE_P(Modes, PdfPrintTest,
                         ::testing::Values(PrintMode::Stretch, PrintMode::Sharp),
                         [](const auto& info) {
                             return info.param == PrintMode::Stretch ? "Stretch" : "Sharp";
                         });

// A photo with 2400 separate columns across the front (512 per printed inch) keeps them in the
// sharp print; the canvas stretch has only its 480 pixels (about 102 per inch).
TEST(PdfPrint, SharpFrontCarriesThePhotosOwnDetail) {
    if (!pdfmeasure::toolsPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    const PrintSource source = fixture::layout(845, fixture::stripes(QSize(2400, 600)), Spine);
    const double kx = 4953.0 / 845, ky = 6940.0 / 1188;
    const auto perInch = [&](PrintMode mode) {
        QPoint origin;
        const QString pdf = printToPdf(source, mode, &origin);
        const QImage across =
            pdfmeasure::render(pdf, Dpi, QRect(0, origin.y() + int(300 * ky), 4961, 1));
        const auto line = pdfmeasure::row(across, 0);
        // Inside the picture, clear of its edges.
        const int first = origin.x() + int(182 * kx), last = origin.x() + int(658 * kx);
        return pdfmeasure::runs(line, first, last) / ((last - first) / double(Dpi));
    };
    EXPECT_GT(perInch(PrintMode::Sharp), 400);
    EXPECT_LT(perInch(PrintMode::Stretch), 150);
}

TEST(PrintDocument, UnwritablePdfFileIsToldAndNothingCrashes) {
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, QStringLiteral("/nonexistent-folder/sub/out.pdf"));
    bool drawn = false;
    try {
        printDocument(printer, [&](QPainter&) { drawn = true; });
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("/nonexistent-folder/sub/out.pdf")))
            << e.message().toStdString();
    }
    EXPECT_FALSE(drawn);
}

// A failure while the page is drawn still ends the document (the PDF is complete and closed),
// and the error comes after that.
TEST(PrintDocument, FailureWhileDrawingEndsTheDocumentFirst) {
    const QString file = testenv::freshFolder(QStringLiteral("fail")) + QStringLiteral("/out.pdf");
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, file);
    try {
        printDocument(printer, [](QPainter& painter) {
            painter.fillRect(QRect(100, 100, 500, 500), Qt::black);
            throw AppError(QStringLiteral("The printer is out of paper"));
        });
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("The printer is out of paper"));
    }
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().trimmed().endsWith("%%EOF"));
}

// A disk that fills up while the PDF is written: the printer object says nothing, the print
// says so.
TEST(PrintDocument, PdfThatCannotBeWrittenWholeIsAnError) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full on this system";
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, QStringLiteral("/dev/full"));
    EXPECT_THROW(printDocument(printer, [](QPainter& p) { p.fillRect(0, 0, 99, 99, Qt::black); }),
                 AppError);
}
