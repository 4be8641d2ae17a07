// The page written to a file: the PNG is the PDF's page at its resolution, and a file is
// replaced only by a whole page.
#include "print/PageExport.h"
#include "LayoutFixture.h"
#include "ObeyFilePermissions.h"
#include "PdfMeasure.h"
#include "common/TestEnv.h"
#include "platform/AppError.h"
#include "print/PrintGeometry.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

const QString Spine = QStringLiteral("Velmora - Last Rose Of Summer 2002");

PrintSource greyFront() {
    return fixture::layout(845, fixture::solid(QSize(960, 960), QColor(100, 100, 100)), Spine);
}

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QImage grey(const QImage& image) {
    return image.convertToFormat(QImage::Format_Grayscale8);
}

} // namespace

TEST(PageExport, APageIsA4AtTheResolutionRoundedToThePixel) {
    EXPECT_EQ(PageExport::pageSizeAt(300), QSize(2480, 3508));
    EXPECT_EQ(PageExport::pageSizeAt(100), QSize(827, 1169));
    EXPECT_EQ(PageExport::pageSizeAt(72), QSize(595, 842));
    EXPECT_EQ(PageExport::pageSizeAt(1), QSize(8, 12));

    const QImage page = PageExport::pageImage(greyFront(), 150);
    EXPECT_EQ(page.size(), QSize(1240, 1754));
    EXPECT_EQ(qRound(page.dotsPerMeterX() * 0.0254), 150);
    // The smallest page still paints without failing.
    EXPECT_EQ(PageExport::pageImage(greyFront(), PageExport::MinDpi).size(), QSize(8, 12));
}

// The front frame and picture lie in the PNG where the PDF puts them, to a pixel, across and
// down.
TEST(PageExport, ThePictureIsThePdfsPage) {
    if (!pdfmeasure::toolsPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    constexpr int Dpi = 150;
    const PrintSource source = greyFront();
    const QString folder = testenv::freshFolder(QStringLiteral("export"));
    const QString pdf = folder + QStringLiteral("/page.pdf");
    PageExport::writePdf(source, pdf);
    const QImage png = grey(PageExport::pageImage(source, Dpi));
    const QImage rendered =
        pdfmeasure::render(pdf, Dpi, QRect(QPoint(0, 0), PageExport::pageSizeAt(Dpi)));
    ASSERT_FALSE(rendered.isNull());

    // A row and a column through the front's middle (layout 420, 300).
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QPoint corner = printer.pageLayout().paintRectPixels(Dpi).topLeft();
    const int y = corner.y() + qRound(300 * Dpi / 96.0 * PrintGeometry::HeightFactor);
    const int x = corner.x() + qRound(420 * Dpi / 96.0 * PrintGeometry::WidthFactor);
    for (const auto& [inPng, inPdf] :
         {std::pair(pdfmeasure::cutFront(pdfmeasure::row(png, y)),
                    pdfmeasure::cutFront(pdfmeasure::row(rendered, y))),
          std::pair(pdfmeasure::cutFront(pdfmeasure::column(png, x)),
                    pdfmeasure::cutFront(pdfmeasure::column(rendered, x)))}) {
        ASSERT_GT(inPng.frameStart, 0);
        EXPECT_NEAR(inPng.frameStart, inPdf.frameStart, 1);
        EXPECT_NEAR(inPng.pictureStart, inPdf.pictureStart, 1);
        EXPECT_NEAR(inPng.pictureEnd, inPdf.pictureEnd, 1);
        EXPECT_NEAR(inPng.frameEnd, inPdf.frameEnd, 1);
    }
}

TEST(PageExport, AFileIsReplacedOnlyByAWholePage) {
    const PrintSource source = greyFront();
    const QString folder = testenv::freshFolder(QStringLiteral("replace"));
    const QString pdf = testenv::writeFile(folder + QStringLiteral("/cover.pdf"), "old page");
    const QString png = testenv::writeFile(folder + QStringLiteral("/cover.png"), "old picture");
    {
        // A folder that takes no new files: nothing can be written beside the old ones.
        ObeyFilePermissions obey;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_EQ(testenv::errorOf([&] { PageExport::writePdf(source, pdf); }),
                  QStringLiteral("Cannot create file %1").arg(pdf));
        EXPECT_EQ(testenv::errorOf([&] { PageExport::writePng(source, png, 30); }),
                  QStringLiteral("Cannot create file %1").arg(png));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    EXPECT_EQ(contents(pdf), "old page");
    EXPECT_EQ(contents(png), "old picture");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);

    PageExport::writePdf(source, pdf);
    PageExport::writePng(source, png, 30);
    EXPECT_TRUE(contents(pdf).startsWith("%PDF"));
    EXPECT_EQ(QImage(png).size(), PageExport::pageSizeAt(30));
    // The printer's draft beside the file is gone.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(PageExport, AFileThatCannotBeIsNamed) {
    const PrintSource source = greyFront();
    const QString folder = testenv::freshFolder(QStringLiteral("cannot"));
    const QString missing = folder + QStringLiteral("/no such folder/cover.pdf");
    EXPECT_EQ(testenv::errorOf([&] { PageExport::writePdf(source, missing); }),
              QStringLiteral("Cannot create file %1").arg(missing));
    EXPECT_EQ(testenv::errorOf([&] { PageExport::writePng(source, folder, 30); }),
              QStringLiteral("Cannot create file %1").arg(folder));
    EXPECT_EQ(testenv::errorOf([&] { PageExport::writePdf(source, folder); }),
              QStringLiteral("Cannot create file %1").arg(folder));
    EXPECT_TRUE(
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}
