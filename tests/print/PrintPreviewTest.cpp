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
    EXPECT_EQ(form.size(), QSize(630, 891 + 54));
    EXPECT_EQ(form.previewView->geometry(), QRect(0, 54, 630, 891));
    form.resize(300, 300);
    QApplication::processEvents();
    EXPECT_EQ(form.size(), QSize(630, 891 + 54));
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

// The whole canvas, whatever its width, fills the page-sized preview.
TEST(PrintPreview, PreviewStretchesTheWholeCanvas) {
    PrintPreview form;
    PrintSource source =
        fixture::layout(845, fixture::solid(QSize(480, 480), QColor(200, 0, 0)), Spine);
    form.makePreview(source);
    const QImage& preview = form.previewImage();
    ASSERT_EQ(preview.size(), QSize(630, 891));
    // The middle of the front, layout (420, 300), at 630/845 and 891/1188 of it.
    EXPECT_EQ(QColor(preview.pixel(313, 225)), QColor(200, 0, 0));
    // The canvas's far corners reach the preview's corners.
    EXPECT_EQ(QColor(preview.pixel(0, 0)), QColor(Qt::white));
    EXPECT_EQ(QColor(preview.pixel(629, 890)), QColor(Qt::white));

    // A canvas half as wide is stretched across the whole width.
    form.makePreview(fixture::layout(422, QImage(), Spine));
    // The left spine's frame (x = 116 of 422) is at 173 of 630.
    int darkest = 255;
    for (int x = 170; x < 177; ++x)
        darkest = std::min(darkest, qGray(form.previewImage().pixel(x, 700)));
    EXPECT_LT(darkest, 160);
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
