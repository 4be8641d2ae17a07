// A JPEG front goes into the exported PDF as the file's own bytes when a PDF can show them as
// they are; otherwise it is drawn from its decoded pixels. Either way the page shows the photo.
#include "print/PageExport.h"
#include "LayoutFixture.h"
#include "PdfMeasure.h"
#include "common/TestEnv.h"
#include "platform/JpegTestUtil.h"
#include "print/PdfJpeg.h"
#include "print/PrintGeometry.h"

#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

struct FrontCase {
    const char* name;
    QByteArray jpeg;
    bool drawnOn; // the picture was drawn on after loading
    bool ownBytes;
};

QImage halves(QSize size) {
    // Dark on the left, light on the right: a picture drawn sideways shows it.
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(210, 210, 210));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixel(x, y, qRgb(60, 60, 60));
    return image;
}

} // namespace

TEST(PdfJpeg, TheFrontsOwnBytesGoInWhereAPdfShowsThemAsTheyAre) {
    const QImage picture = halves(QSize(900, 900));
    const QByteArray colour = jpegtest::encodeJpeg(picture);
    const QByteArray grey = fixture::jpegBytes(picture.convertToFormat(QImage::Format_Grayscale8));
    // Turned by its EXIF orientation and stored turned back: upright, the same picture.
    QTransform quarter;
    quarter.rotate(-90);
    const QByteArray turned =
        jpegtest::withExifOrientation(jpegtest::encodeJpeg(picture.transformed(quarter)), 6, true);
    const QByteArray cmyk = jpegtest::encodeJpeg(picture, true);
    const FrontCase cases[] = {{"colour", colour, false, true},
                               {"grey", grey, false, true},
                               {"turned by EXIF", turned, false, false},
                               {"CMYK", cmyk, false, false},
                               {"drawn on", colour, true, false}};
    const QString folder = testenv::freshFolder(QStringLiteral("pdfjpeg"));
    for (const FrontCase& c : cases) {
        SCOPED_TRACE(c.name);
        PrintSource source = fixture::layout(845, QImage(), QStringLiteral("Cover"));
        source.front.loadFromData(c.jpeg, QStringLiteral("jpg"), Layout::FrontRect.size());
        if (c.drawnOn)
            source.front.setImage(source.front.image(), Picture::Format::Jpeg);
        Canvas canvas(&source.canvas);
        canvas.stretchDraw(Layout::FrontRect, source.front.image());

        const QString pdf = folder + QStringLiteral("/%1.pdf").arg(QLatin1String(c.name));
        PageExport::writePdf(source, pdf);
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().contains(c.jpeg), c.ownBytes);

        if (!pdfmeasure::toolsPresent())
            continue;
        // The picture upright in the front frame: dark left of the middle, light right of it.
        constexpr int Dpi = 50;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const QPoint corner = printer.pageLayout().paintRectPixels(Dpi).topLeft();
        const auto at = [&](int x, int y) {
            return corner + QPoint(qRound(x * Dpi / 96.0 * PrintGeometry::WidthFactor),
                                   qRound(y * Dpi / 96.0 * PrintGeometry::HeightFactor));
        };
        const QImage page = pdfmeasure::render(pdf, Dpi, QRect(QPoint(0, 0),
                                                               PageExport::pageSizeAt(Dpi)));
        ASSERT_FALSE(page.isNull());
        const QRect front = Layout::FrontRect;
        const int middle = front.center().y();
        EXPECT_NEAR(qGray(page.pixel(at(front.left() + front.width() / 4, middle))), 60, 25);
        EXPECT_NEAR(qGray(page.pixel(at(front.right() - front.width() / 4, middle))), 210, 25);
    }
}

TEST(PdfJpeg, APdfNotShapedAsExpectedIsLeftAsItWas) {
    const auto picture = PdfJpeg::passable(fixture::jpegBytes(fixture::solid(QSize(8, 8), Qt::red)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->size, QSize(8, 8));
    for (QByteArray pdf : {QByteArray(), QByteArray("%PDF-1.4\nnot a page\n"),
                           QByteArray("1 0 obj\n<<\n/Subtype /Image\n/Width 7\n/Height 3\n/Length "
                                      "99\n>>\nstream\nshort\nendstream\nendobj\n")}) {
        const QByteArray before = pdf;
        EXPECT_FALSE(PdfJpeg::putInPlaceOfStandIn(pdf, "jpeg", *picture));
        EXPECT_EQ(pdf, before);
    }
}
