// The layout on the paper it is printed on, measured in the PDF as a ruler would: on US Letter
// every mark lies on the page and the covers keep their size; on A4 nothing moves; the standard
// sizes print the front 120 mm square; a paper too small is refused before anything is written.
#include "LayoutFixture.h"
#include "PdfMeasure.h"
#include "common/TestEnv.h"
#include "platform/AppError.h"
#include "print/PageExport.h"
#include "print/PaperFit.h"
#include "print/PrintGeometry.h"
#include "print/PrintPreview.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using PaperFit::Paper;

// The darkest of the lines within two pixels of a row or column: a thin line rendered between two
// pixels is found whole.
QList<int> band(const QImage& page, int at, bool isRow) {
    QList<int> line = isRow ? pdfmeasure::row(page, at) : pdfmeasure::column(page, at);
    for (int d = -2; d <= 2; ++d) {
        const QList<int> near = isRow ? pdfmeasure::row(page, at + d) : pdfmeasure::column(page, at + d);
        for (int i = 0; i < line.size(); ++i)
            line[i] = std::min(line[i], near[i]);
    }
    return line;
}

// One dark run along a line of grey values between two places (pixels), of at least minLength.
bool hasMark(const QList<int>& line, int from, int to, int minLength) {
    int run = 0;
    for (int i = std::max(0, from); i < std::min<int>(int(line.size()), to); ++i) {
        run = line[i] < 128 ? run + 1 : 0;
        if (run >= minLength)
            return true;
    }
    return false;
}

struct Measured {
    double frontWidthMm = 0, frontHeightMm = 0; // the front picture
    int marks = 0;                              // the outer marks found, of 16
    QRectF darkMm;                              // everything printed, in mm from the paper's corner
};

// Measures a printed page whose printable area starts at originMm and whose layout pixels print
// mmPerPixel; fit says where the layout went, to find the front.
Measured measurePage(const QString& pdf, QPointF originMm, QSizeF mmPerPixel,
                     const PaperFit::Fit& fit) {
    Measured m;
    const double px = 600 / 25.4;
    const auto pageX = [&](double layoutX) {
        return (originMm.x() + (layoutX + fit.shift.x()) * mmPerPixel.width()) * px;
    };
    const auto pageY = [&](double layoutY) {
        return (originMm.y() + (layoutY + fit.shift.y()) * mmPerPixel.height()) * px;
    };
    // Down through the front's middle to above the back, then across its measured middle.
    const QImage down = pdfmeasure::render(
        pdf, 600, QRect(int(pageX(420)), int(pageY(0) < 0 ? 0 : pageY(0)), 1,
                        int(pageY(590) - std::max(0.0, pageY(0)))));
    const pdfmeasure::FrontCut v = pdfmeasure::cutFront(pdfmeasure::column(down, 0));
    m.frontHeightMm = (v.pictureEnd - v.pictureStart) / px;
    const int middleRow = int(std::max(0.0, pageY(0))) + (v.pictureStart + v.pictureEnd) / 2;
    const QImage across =
        pdfmeasure::render(pdf, 600, QRect(0, middleRow, int(pageX(845)), 1));
    const pdfmeasure::FrontCut h = pdfmeasure::cutFront(pdfmeasure::row(across, 0));
    m.frontWidthMm = (h.pictureEnd - h.pictureStart) / px;

    // The whole page at 150 dpi: the marks, each at least 2 mm long, and the printed extent.
    const double q = 150 / 25.4;
    const auto info = pdfmeasure::info(pdf);
    const QSizeF paper = info->pointSize / 72 * 25.4;
    const QImage page = pdfmeasure::render(
        pdf, 150, QRect(0, 0, int(paper.width() * q), int(paper.height() * q)));
    const int least = int(1.9 * q);
    const auto x = [&](double l) { return int(pageX(l) / px * q); };
    const auto y = [&](double l) { return int(pageY(l) / px * q); };
    // Up and down: the front's sides above and below it, the spines' folds above and below.
    for (int lx : {177, 662}) {
        m.marks += hasMark(band(page, x(lx), false), 0, y(57) - 3, least);
        m.marks += hasMark(band(page, x(lx), false), y(543) + 3, y(610) - 3, least);
    }
    for (int lx : {116, 723}) {
        m.marks += hasMark(band(page, x(lx), false), y(543) + 3, y(610) - 3, least);
        m.marks += hasMark(band(page, x(lx), false), y(1088) + 3, page.height(), least);
    }
    // Across: level with the front's and the back's outlines, left and right.
    for (int ly : {57, 542}) {
        m.marks += hasMark(band(page, y(ly), true), 0, x(177) - 3, least);
        m.marks += hasMark(band(page, y(ly), true), x(663) + 3, page.width(), least);
    }
    for (int ly : {610, 1087}) {
        m.marks += hasMark(band(page, y(ly), true), 0, x(116) - 3, least);
        m.marks += hasMark(band(page, y(ly), true), x(724) + 3, page.width(), least);
    }
    QRect dark;
    for (int r = 0; r < page.height(); ++r)
        for (int c = 0; c < page.width(); ++c)
            if (qGray(page.pixel(c, r)) < 200)
                dark |= QRect(c, r, 1, 1);
    m.darkMm = QRectF(dark.x() / q, dark.y() / q, dark.width() / q, dark.height() / q);
    return m;
}

QSizeF designMmPerPixel() {
    return QSizeF(25.4 / 96 * PrintGeometry::WidthFactor, 25.4 / 96 * PrintGeometry::HeightFactor);
}

struct PaperCase {
    const char* name;
    Paper paper;
    bool standard;
    double frontWidthMm, frontHeightMm;
    bool moved;
};
class PaperExportTest : public ::testing::TestWithParam<PaperCase> {};

TEST_P(PaperExportTest, EveryMarkOnThePageAndTheCoversAtTheirSize) {
    if (!pdfmeasure::toolsPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    const PaperCase& c = GetParam();
    const QString pdf = testenv::freshFolder(QStringLiteral("paper")) + QStringLiteral("/p.pdf");
    const PrintSource source = fixture::layout(
        845, fixture::solid(QSize(960, 960), QColor(100, 100, 100)), QStringLiteral("Paper"));
    PageExport::writePdf(source, pdf, {c.paper, c.standard});

    const auto info = pdfmeasure::info(pdf);
    ASSERT_TRUE(info);
    const QSizeF paperMm = PaperFit::pageSizeOf(c.paper).size(QPageSize::Millimeter);
    EXPECT_NEAR(info->pointSize.height() / 72 * 25.4, paperMm.height(), 0.2);
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    probe.setPageSize(PaperFit::pageSizeOf(c.paper));
    const QRectF printable = probe.pageLayout().paintRect(QPageLayout::Millimeter);
    const QSizeF perPixel =
        c.standard ? QSizeF(0.25, 0.25) : designMmPerPixel();
    const PaperFit::Fit fit = PaperFit::fitLayout(printable.size(), perPixel);
    EXPECT_EQ(fit.moved, c.moved);

    const Measured m = measurePage(pdf, printable.topLeft(), perPixel, fit);
    EXPECT_NEAR(m.frontWidthMm, c.frontWidthMm, 0.2);
    EXPECT_NEAR(m.frontHeightMm, c.frontHeightMm, 0.2);
    EXPECT_EQ(m.marks, 16);
    // Everything printed lies inside the printable area (to the 150-dpi pixel).
    EXPECT_TRUE(printable.adjusted(-0.2, -0.2, 0.2, 0.2).contains(m.darkMm))
        << m.darkMm.x() << " " << m.darkMm.y() << " " << m.darkMm.right() << " "
        << m.darkMm.bottom();
    std::printf("[ measured ] %s: front %.2f x %.2f mm, %d of 16 marks, printed %.1f..%.1f mm "
                "down (printable %.1f..%.1f)\n",
                c.name, m.frontWidthMm, m.frontHeightMm, m.marks, m.darkMm.top(),
                m.darkMm.bottom(), printable.top(), printable.bottom());
}
INSTANTIATE_TEST_SUITE_P(
    Papers, PaperExportTest,
    ::testing::Values(PaperCase{"A4", Paper::A4, false, 119.07, 118.68, false},
                      PaperCase{"Letter", Paper::Letter, false, 119.07, 118.68, true},
                      PaperCase{"A4 standard", Paper::A4, true, 120.0, 120.0, true},
                      PaperCase{"Letter standard", Paper::Letter, true, 120.0, 120.0, true}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.name);
        return name.remove(u' ').toStdString();
    });

// The same through the print system: the queue "PDF" (cups-pdf, scripts/services/cups.sh) with
// US Letter paper, at the design's scale and at the standard sizes.
TEST(CupsPaper, LetterThroughTheSpoolerKeepsEveryMarkAndTheCoversSize) {
    const QString out = qEnvironmentVariable("SLEEVIX_CUPS_PDF_OUT").isEmpty()
                            ? QStringLiteral("/var/spool/cups-pdf/sleevix")
                            : qEnvironmentVariable("SLEEVIX_CUPS_PDF_OUT");
    if (!QPrinterInfo::availablePrinterNames().contains(QStringLiteral("PDF")) ||
        !QDir(out).exists() || !pdfmeasure::toolsPresent())
        GTEST_SKIP() << "cupsd with the queue PDF, its output folder or poppler-utils missing";
    for (const bool standard : {false, true}) {
        const QString token = QStringLiteral("letter%1x%2x%3")
                                  .arg(int(standard))
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QDateTime::currentMSecsSinceEpoch());
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(QStringLiteral("PDF"));
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setDocName(token);
        PrinterCalibration calibration;
        calibration.standardSizes = standard;
        printLayoutOn(printer,
                      fixture::layout(845, fixture::solid(QSize(960, 960), QColor(100, 100, 100)),
                                      token),
                      96, 96, 1.0, PrintMode::Sharp, calibration);
        QString pdf;
        QElapsedTimer clock;
        clock.start();
        while (pdf.isEmpty() && clock.elapsed() < 90000) {
            for (const QFileInfo& f : QDir(out).entryInfoList({QStringLiteral("*.pdf")})) {
                QFile file(f.filePath());
                if (f.fileName().contains(token) && file.open(QIODevice::ReadOnly) &&
                    file.size() > 64 && file.seek(file.size() - 64) &&
                    file.readAll().contains("%%EOF"))
                    pdf = f.filePath();
            }
            QThread::msleep(200);
        }
        ASSERT_FALSE(pdf.isEmpty()) << "CUPS wrote no PDF for " << token.toStdString();
        const auto info = pdfmeasure::info(pdf);
        ASSERT_TRUE(info);
        EXPECT_NEAR(info->pointSize.height(), 792, 0.5); // US Letter
        const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
        const QSizeF perPixel = standard ? QSizeF(0.25, 0.25) : designMmPerPixel();
        const PaperFit::Fit fit = PaperFit::fitLayout(printable.size(), perPixel);
        EXPECT_TRUE(fit.moved);
        const Measured m = measurePage(pdf, printable.topLeft(), perPixel, fit);
        QFile::remove(pdf);
        EXPECT_NEAR(m.frontWidthMm, standard ? 120.0 : 119.07, 0.2);
        EXPECT_NEAR(m.frontHeightMm, standard ? 120.0 : 118.68, 0.2);
        EXPECT_EQ(m.marks, 16);
        EXPECT_TRUE(printable.adjusted(-0.2, -0.2, 0.2, 0.2).contains(m.darkMm));
        std::printf("[ measured ] CUPS Letter%s: front %.2f x %.2f mm, %d of 16 marks, printed "
                    "%.1f..%.1f mm down of 279.4\n",
                    standard ? " standard" : "", m.frontWidthMm, m.frontHeightMm, m.marks,
                    m.darkMm.top(), m.darkMm.bottom());
    }
}

// A paper whose printable area cannot hold the covers is refused before the file is made.
TEST(PaperFit, TooSmallPaperIsRefusedBeforePrinting) {
    const PaperFit::Fit a5 = PaperFit::fitLayout(QSizeF(138, 200), designMmPerPixel());
    EXPECT_FALSE(a5.fits);
    const PaperFit::Fit letter = PaperFit::fitLayout(QSizeF(203.2, 266.7), designMmPerPixel());
    EXPECT_TRUE(letter.fits);
    EXPECT_GE(letter.shortestMarkMm, PaperFit::MinMarkMm);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = testenv::freshFolder(QStringLiteral("a5")) + QStringLiteral("/a5.pdf");
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A5));
    const QString error = testenv::errorOf([&] {
        printLayoutOn(printer, fixture::layout(845, QImage(), QStringLiteral("A5")), 96, 96, 1);
    });
    EXPECT_TRUE(error.contains(QStringLiteral("do not fit"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

struct LocaleCase {
    const char* locale;
    Paper paper;
};
class PaperOfLocaleTest : public ::testing::TestWithParam<LocaleCase> {};
TEST_P(PaperOfLocaleTest, LetterInTheUnitedStatesAndCanada) {
    EXPECT_EQ(PaperFit::paperOfLocale(QString::fromLatin1(GetParam().locale)), GetParam().paper)
        << GetParam().locale;
}
INSTANTIATE_TEST_SUITE_P(
    Locales, PaperOfLocaleTest,
    ::testing::Values(LocaleCase{"en_US.UTF-8", Paper::Letter}, LocaleCase{"fr_CA.UTF-8", Paper::Letter},
                      LocaleCase{"en_CA", Paper::Letter}, LocaleCase{"en_GB.UTF-8", Paper::A4},
                      LocaleCase{"nl_NL.UTF-8@euro", Paper::A4}, LocaleCase{"C", Paper::A4},
                      LocaleCase{"", Paper::A4}));

} // namespace
