// The track list printed as text: after Copy to Back Cover the sharp print draws the list itself
// into the back rectangle, at the printer's resolution, where the back picture has it; a back
// picture from anywhere else prints as a picture. Measured in PDFs as printed and on images of the
// page; the figures are written to the test's output.
#include "LayoutFixture.h"
#include "PdfMeasure.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "common/TestEnv.h"
#include "cover/Cover.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "print/PrintPreview.h"

#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>
#include <iostream>

namespace {

constexpr int Dpi = 600;

void measured(const std::string& what, double value) {
    std::cout << "[ measure  ] " << what << ": " << value << std::endl;
}

class BackTextPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!pdfmeasure::textToolsPresent())
            GTEST_SKIP() << "pdftoppm, pdftotext, pdfimages (Debian poppler-utils) are missing";
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("backprint"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        std::tie(cover_, editor_) = openSample(QStringLiteral(SLEEVIX_BINARY_DIR "/"));
    }
    void TearDown() override {
        if (!savedDir_.isEmpty())
            QDir::setCurrent(savedDir_);
    }

    // A cover and its editor with a project's files read as the start reads them.
    std::pair<std::unique_ptr<Cover>, std::unique_ptr<BackTextEditor>>
    openSample(const QString& folder) {
        auto cover = std::make_unique<Cover>(*ws_);
        auto editor = std::make_unique<BackTextEditor>(*ws_, *cover);
        cover->drawTemplate();
        const QStringList failures = Project::readFiles(
            folder, *cover, [&](const QString& file) { editor->loadContents(file); });
        EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
        cover->applySpineText(QStringLiteral("Velmora - Last Rose Of Summer 2002"));
        return {std::move(cover), std::move(editor)};
    }

    QString printPdf(const PrintSource& source, const QString& name) {
        const QString file = root_ + u'/' + name + QStringLiteral(".pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setResolution(Dpi);
        origin_ = printer.pageLayout().paintRectPixels(Dpi).topLeft();
        printLayoutOn(printer, source, 96, 96, 1.0, PrintMode::Sharp);
        return file;
    }

    // A part of the layout (in layout pixels) as printed at `dpi`, from the PDF.
    QImage renderLayoutPart(const QString& pdf, const QRect& layoutPart, int dpi) {
        const QSize printed =
            PrintGeometry::printedSize(QSize(Cover::CanvasWidth, Layout::CanvasHeight),
                                       PrintGeometry::scaleFor(Dpi, Dpi, 96, 96, 1));
        const QRect r =
            PrintGeometry::toPrinted(layoutPart, QSize(845, 1188), printed).translated(origin_);
        const double k = double(dpi) / Dpi;
        return pdfmeasure::render(pdf, dpi,
                                  QRect(qRound(r.x() * k), qRound(r.y() * k), qRound(r.width() * k),
                                        qRound(r.height() * k)));
    }

    QString savedDir_, root_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
    std::unique_ptr<BackTextEditor> editor_;
    QPoint origin_;
};

// The share of a part's ink (darker than light grey) that is grey rather than black: the soft rim
// that a picture enlarged from 102 pixels per inch gives every letter.
double greyShareOfInk(const QImage& grey) {
    int ink = 0, soft = 0;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(grey.pixel(x, y));
            ink += g < 208;
            soft += g >= 48 && g < 208;
        }
    return ink ? double(soft) / ink : 1.0;
}

// Pixels of two equally large pictures whose grey differs by more than `tolerance`.
double differingShare(const QImage& a, const QImage& b, int tolerance) {
    int apart = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            apart += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > tolerance;
    return double(apart) / (a.width() * a.height());
}

QImage paintPage(const PrintSource& source, QSize printed, PrintMode mode) {
    QImage page(printed, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    paintLayout(painter, source, printed, mode);
    return page;
}

} // namespace

// The sample's own "Back.bmp" was not made by the editor: it prints as a picture. After Copy to
// Back Cover the list prints as text, the product name too, and the page holds only the front's
// picture.
TEST_F(BackTextPrintTest, AfterCopyTheListPrintsAsTextAndNoBackPicture) {
    ASSERT_TRUE(cover_->backText().isNull()) << "the sample's Back.bmp is no copy of its list";
    const QString before = printPdf(printSourceOf(*cover_), QStringLiteral("before"));
    EXPECT_FALSE(pdfmeasure::text(before).contains(QStringLiteral("Lantern Light")));
    EXPECT_EQ(pdfmeasure::images(before).size(), 2) << "front and back pictures";

    editor_->copyToBackCover();
    ASSERT_FALSE(cover_->backText().isNull());
    const QString after = printPdf(printSourceOf(*cover_), QStringLiteral("after"));
    const QString text = pdfmeasure::text(after);
    EXPECT_TRUE(text.contains(QStringLiteral("Lantern Light"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Velmora - Last Rose Of Summer 2002")));
    EXPECT_TRUE(text.contains(QStringLiteral("Recorded in Galway, summer 2002.")));
    EXPECT_TRUE(text.contains(ProductName)) << "the stamp is text too";
    const QList<QSize> images = pdfmeasure::images(after);
    ASSERT_EQ(images.size(), 1) << "only the front";
    EXPECT_EQ(images[0], cover_->frontPicture().fullSize());
}

// Painted at one device pixel a layout pixel the sharp back is the back picture; on a 96-dpi
// printer (the page factors make the back 518 x 441 pixels) it is close to the picture stretched
// there, as the back printed until now.
TEST_F(BackTextPrintTest, AtScreenResolutionTheListIsWhereThePictureHasIt) {
    editor_->copyToBackCover();
    const PrintSource source = printSourceOf(*cover_);
    const QImage canvas = source.canvas.convertToFormat(QImage::Format_RGB32);

    const QImage same = paintPage(source, canvas.size(), PrintMode::Sharp);
    const double exact =
        differingShare(same.copy(Layout::BackRect), canvas.copy(Layout::BackRect), 32);
    measured("back at 1 device pixel per layout pixel, share of pixels apart from the picture "
             "by more than 32 grey levels",
             exact);
    EXPECT_LT(exact, 0.002);

    const QSize printed = PrintGeometry::printedSize(canvas.size(), {1.0, 1.0});
    ASSERT_EQ(printed, QSize(792, 1110));
    const QRect back = PrintGeometry::toPrinted(Layout::BackRect, canvas.size(), printed);
    const QImage sharp = paintPage(source, printed, PrintMode::Sharp).copy(back);
    const QImage stretched = paintPage(source, printed, PrintMode::Stretch).copy(back);
    const double at96 = differingShare(sharp, stretched, 64);
    measured("back on a 96-dpi printer, share of pixels apart from the stretched picture by more "
             "than 64 grey levels",
             at96);
    EXPECT_LT(at96, 0.05);
    if (const QString dir = qEnvironmentVariable("SLEEVIX_SCREENSHOTS"); !dir.isEmpty()) {
        sharp.save(dir + QStringLiteral("/back-96dpi-sharp.png"));
        stretched.save(dir + QStringLiteral("/back-96dpi-picture.png"));
    }
}

// At 600 dpi the picture is enlarged almost six times and every letter gets a soft grey rim; the
// list as text has edges one printer pixel wide.
TEST_F(BackTextPrintTest, At600DpiTheLettersEdgesAreSharp) {
    editor_->copyToBackCover();
    PrintSource asText = printSourceOf(*cover_);
    PrintSource asPicture = asText;
    asPicture.backText = BackTextView();
    // The track lines, clear of the frame and of the product name.
    const QRect lines(Layout::BackRect.left() + 4, Layout::BackRect.top() + 40, 400, 200);
    const QImage oldPrint =
        renderLayoutPart(printPdf(asPicture, QStringLiteral("old")), lines, Dpi);
    const QImage newPrint = renderLayoutPart(printPdf(asText, QStringLiteral("new")), lines, Dpi);
    ASSERT_FALSE(oldPrint.isNull());
    ASSERT_FALSE(newPrint.isNull());
    const double oldShare = greyShareOfInk(oldPrint), newShare = greyShareOfInk(newPrint);
    measured("600 dpi, grey share of the letters' ink, back as picture", oldShare);
    measured("600 dpi, grey share of the letters' ink, back as text", newShare);
    EXPECT_LT(newShare, oldShare * 0.6);
    if (const QString dir = qEnvironmentVariable("SLEEVIX_SCREENSHOTS"); !dir.isEmpty()) {
        oldPrint.save(dir + QStringLiteral("/back-600dpi-picture.png"));
        newPrint.save(dir + QStringLiteral("/back-600dpi-text.png"));
    }
}

// The cover holds the list as it was copied: typing on in the editor without copying again
// changes neither the back picture nor the print.
TEST_F(BackTextPrintTest, AnEditAfterTheCopyIsNotPrinted) {
    editor_->copyToBackCover();
    const QImage picture = cover_->backPicture().image();
    editor_->editor->moveCursor(QTextCursor::Start);
    editor_->editor->insertPlainText(QStringLiteral("Typed later "));
    editor_->editor->append(QStringLiteral("9. Bonus Track"));

    EXPECT_TRUE(cover_->backPicture().image() == picture);
    const QString text = pdfmeasure::text(printPdf(printSourceOf(*cover_), QStringLiteral("edit")));
    EXPECT_TRUE(text.contains(QStringLiteral("Lantern Light")));
    EXPECT_FALSE(text.contains(QStringLiteral("Typed later")));
    EXPECT_FALSE(text.contains(QStringLiteral("Bonus")));
}

// A saved project whose "Back.bmp" is its list's copy prints the list as text when it is read
// again; the same project with one pixel of "Back.bmp" changed prints the picture.
TEST_F(BackTextPrintTest, AProjectReadFromDiskPrintsAsTextOnlyWhenItsPictureIsTheCopy) {
    editor_->copyToBackCover();
    const QString folder = root_ + QStringLiteral("/saved/");
    Project::writeFiles(folder, editor_->editor->toRtf(), cover_->backPicture(),
                        cover_->frontPicture());

    auto [read, readEditor] = openSample(folder);
    EXPECT_FALSE(read->backText().isNull());
    const QString whole = printPdf(printSourceOf(*read), QStringLiteral("read"));
    EXPECT_TRUE(pdfmeasure::text(whole).contains(QStringLiteral("Lantern Light")));
    EXPECT_EQ(pdfmeasure::images(whole).size(), 1);

    QImage bmp(folder + Project::BackPictureFile);
    ASSERT_FALSE(bmp.isNull());
    bmp.setPixel(500, 300, qRgb(250, 250, 250));
    ASSERT_TRUE(bmp.save(folder + Project::BackPictureFile, "BMP"));
    auto [edited, editedEditor] = openSample(folder);
    EXPECT_TRUE(edited->backText().isNull());
    const QString picture = printPdf(printSourceOf(*edited), QStringLiteral("edited"));
    EXPECT_FALSE(pdfmeasure::text(picture).contains(QStringLiteral("Lantern Light")));
    EXPECT_EQ(pdfmeasure::images(picture).size(), 2) << "the back prints as its picture";
}
