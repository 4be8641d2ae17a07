#include "print/PrintPreview.h"
#include "LayoutFixture.h"
#include "common/TestEnv.h"
#include "controls/ColourButton.h"
#include "controls/ImageView.h"
#include "dialogs/ErrorGuard.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"
#include "support/Support.h"
#include "support/WindowPlacement.h"

#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString Spine = QStringLiteral("Velmora - Last Rose Of Summer 2002");

// Answers the next modal dialog (the print dialog) as soon as the event loop runs.
void answerPrintDialog(bool accept, QWidget* context) {
    QTimer::singleShot(0, context, [accept] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            accept ? dialog->accept() : dialog->reject();
    });
}

class LanguageScope {
public:
    explicit LanguageScope(const QString& code) : saved_(testenv::currentLanguage()) {
        testenv::useLanguage(code);
    }
    ~LanguageScope() { testenv::useLanguage(saved_); }

private:
    QString saved_;
};

} // namespace

TEST(PrintPreview, TitleAndButtonsByLanguage) {
    {
        LanguageScope nl(QStringLiteral("NLD"));
        PrintPreview form;
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Sleevix - Afdrukvoorbeeld"));
        EXPECT_EQ(form.printButton->text(), QStringLiteral("Afdrukken"));
        EXPECT_EQ(form.closeButton->text(), QStringLiteral("Annuleren"));
    }
    LanguageScope en(QStringLiteral("ENU"));
    PrintPreview form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Sleevix - Printing Example"));
    EXPECT_EQ(form.printButton->text(), QStringLiteral("Print"));
    EXPECT_EQ(form.closeButton->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form.printButton->geometry(), QRect(9, 9, 135, 35));
    EXPECT_EQ(form.closeButton->geometry(), QRect(156, 9, 135, 35));
    EXPECT_EQ(form.printButton->backColor(), QColor(255, 255, 227));
}

// Created at two thirds of a page, shown at a whole one, and kept there.
TEST(PrintPreview, SizeAtCreationAndAtEveryResize) {
    PrintPreview form;
    ASSERT_DOUBLE_EQ(form.screenScale, 1.0); // the offscreen screen has 96 pixels per inch
    EXPECT_EQ(form.size(), QSize(420, 594 + 54));
    form.show();
    // The page, and under it the line that leads to the calibration.
    EXPECT_EQ(form.size(), QSize(630, 891 + 54 + 26));
    EXPECT_EQ(form.previewView->geometry(), QRect(0, 54, 630, 891));
    form.resize(300, 300);
    QApplication::processEvents();
    EXPECT_EQ(form.size(), QSize(630, 891 + 54 + 26));
    form.hide();
}

TEST(PrintPreview, RemembersItsPlace) {
    {
        RegistryStore store;
        store.writeString(SettingsSection, QStringLiteral("PrintLeft"), QStringLiteral("rubbish"));
        store.writeInteger(SettingsSection, QStringLiteral("PrintTop"), 140);
    }
    PrintPreview form;
    form.show();
    // Text that is no number: the default, 200; the window is kept inside the screen.
    EXPECT_EQ(form.pos(), keepOnScreen(QPoint(200, 140), form.frameGeometry().size(),
                                       availableScreenAreas(), QPoint(200, 100)));
    form.move(250, 260);
    form.closeButton->click(); // closes the window
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), 2);
    RegistryStore store;
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("PrintLeft"), 0), 250);
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("PrintTop"), 0), 260);
}

// The preview is the page as it prints: on A4 the layout from the printable area's corner at its
// printed size; on US Letter the paper is shorter and the layout moved up so that its lowest
// marks stay on the paper, at the same size.
TEST(PrintPreview, PreviewShowsThePageAsItPrints) {
    PrintPreview form;
    const PrintSource source =
        fixture::layout(845, fixture::solid(QSize(480, 480), QColor(200, 0, 0)), Spine);
    const double mmAcross = 25.4 / 96 * 0.93781, mmDown = 25.4 / 96 * 0.93474;
    const auto lowestDark = [](const QImage& image) {
        for (int y = image.height() - 1; y >= 0; --y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 160)
                    return y;
        return -1;
    };
    form.printer().setPageSize(QPageSize(QPageSize::A4));
    form.makePreview(source);
    QImage preview = form.previewImage();
    ASSERT_EQ(preview.size(), QSize(630, 891));
    const QPointF a4 = form.printer().pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    // The middle of the front, layout (420, 300), at 3 preview pixels a millimetre.
    EXPECT_EQ(QColor(preview.pixel(qRound((a4.x() + 420 * mmAcross) * 3),
                                   qRound((a4.y() + 300 * mmDown) * 3))),
              QColor(200, 0, 0));
    EXPECT_EQ(QColor(preview.pixel(629, 890)), QColor(Qt::white)); // the paper's corner
    // The lower fold marks end at layout 1148.
    EXPECT_NEAR(lowestDark(preview), (a4.y() + 1148 * mmDown) * 3, 1.5);

    form.printer().setPageSize(QPageSize(QPageSize::Letter));
    form.makePreview(source);
    preview = form.previewImage();
    const double perMm = 630 / 215.9; // the wider paper fills the width
    const QRectF letter = form.printer().pageLayout().paintRect(QPageLayout::Millimeter);
    EXPECT_EQ(QColor(preview.pixel(315, int(279.4 * perMm) + 3)), QColor(160, 160, 160));
    // Every mark above the printable area's bottom edge; the front as wide as on A4.
    EXPECT_LT(lowestDark(preview), letter.bottom() * perMm);
    EXPECT_GT(lowestDark(preview), (letter.bottom() - 3) * perMm);
    int left = 0, right = 0;
    const int row = int((letter.top() + 40) * perMm);
    for (int x = 0; x < preview.width(); ++x)
        if (QColor(preview.pixel(x, row)) == QColor(200, 0, 0))
            (left ? right : left) = x, right = x;
    EXPECT_NEAR((right - left + 1) / perMm, 480 * mmAcross, 1.0);
}

TEST(PrintPreview, CancelledPrintDialogPrintsNothingAndKeepsThePreviewOpen) {
    PrintPreview form;
    form.makePreview(fixture::layout(845, QImage(), Spine));
    const QString file =
        testenv::freshFolder(QStringLiteral("cancel")) + QStringLiteral("/never.pdf");
    form.printer().setOutputFormat(QPrinter::PdfFormat);
    form.printer().setOutputFileName(file);
    form.show();
    answerPrintDialog(false, &form);
    form.printButton->click();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(form.isVisible());
    form.hide();
}
