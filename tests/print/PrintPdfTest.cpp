// The layout printed to a PDF through the printer object, measured as printed: page size, where
// the front frame lies, the front picture's printed size in millimetres, and its sharpness.
#include "LayoutFixture.h"
#include "PdfMeasure.h"
#include "common/TestEnv.h"
#include "platform/AppError.h"
#include "print/Print.h"

#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QString Spine = QStringLiteral("Velmora - Last Rose Of Summer 2002");
constexpr int Dpi = 600;
constexpr int Oversample = 4;

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
    PrintLayoutOn(printer, source, 96, 96, 1.0, mode);
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

    // Rendered at four times the printer's resolution, so that the renderer's own rounding of
    // an enlarged image stays well below one printer pixel.
    const double kx = 4953.0 / 845, ky = 6940.0 / 1188;
    const auto cut = [&](bool acrossThePage) {
        const int f = Oversample;
        const QRect part = acrossThePage ? QRect(0, (origin.y() + int(300 * ky)) * f, 4961 * f, 1)
                                         : QRect((origin.x() + int(420 * kx)) * f, 0, 1,
                                                 (origin.y() + int(590 * ky)) * f);
        const QImage strip = pdfmeasure::render(pdf, Dpi * f, part);
        EXPECT_FALSE(strip.isNull());
        auto c = pdfmeasure::cutFront(acrossThePage ? pdfmeasure::row(strip, 0)
                                                    : pdfmeasure::column(strip, 0));
        return pdfmeasure::FrontCutF{c.frameStart / double(f), c.pictureStart / double(f),
                                     c.pictureEnd / double(f), c.frameEnd / double(f)};
    };
    const auto h = cut(true);
    const auto v = cut(false);

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
    const double onePixelMm = 25.4 / Dpi;
    EXPECT_NEAR(pdfmeasure::toMm(h.pictureEnd - h.pictureStart, Dpi), 119.10, onePixelMm);
    EXPECT_NEAR(pdfmeasure::toMm(v.pictureEnd - v.pictureStart, Dpi), 118.71, onePixelMm);
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
        PrintDocument(printer, [&](QPainter&) { drawn = true; });
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
        PrintDocument(printer, [](QPainter& painter) {
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
    EXPECT_THROW(PrintDocument(printer, [](QPainter& p) { p.fillRect(0, 0, 99, 99, Qt::black); }),
                 AppError);
}
