// The calibration window and the preview's parts of it: the "Calibrate…" button, the values per
// printer, refusals, the test page's values; the line under the preview on a soft front picture.
#include "print/CalibrationDialog.h"

#include "LayoutFixture.h"
#include "common/TestEnv.h"
#include "controls/ColourButton.h"
#include "controls/ImageView.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/RegistryStore.h"
#include "print/PrintPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CalibrationDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        testenv::prepareWorkspace(QStringLiteral("calibrate"));
        ErrorGuard::setReporter(qApp, [this](const QString& text) { errors_.append(text); });
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        QDir::setCurrent(savedDir_);
    }

    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static PrinterCalibration stored(const QString& printer) {
        RegistryStore store;
        return loadCalibration(store, printer);
    }

    QString savedDir_;
    QStringList errors_;
};

} // namespace

TEST_F(CalibrationDialogTest, EachPrinterShowsAndKeepsItsOwnValues) {
    {
        RegistryStore store;
        saveCalibration(store, QStringLiteral("Office"), PrinterCalibration{-12, 7, 990, 1004});
    }
    CalibrationDialog dialog;
    dialog.showPrinters({QStringLiteral("Office"), QStringLiteral("Home")}, QStringLiteral("Home"));
    EXPECT_EQ(dialog.selectedPrinter(), "Home");
    EXPECT_EQ(dialog.offsetXEdit->text(), "0.0") << "never calibrated";
    EXPECT_EQ(dialog.scaleYEdit->text(), "100.0");

    type(dialog.offsetXEdit, QStringLiteral("1.5"));
    type(dialog.scaleXEdit, QStringLiteral("99"));
    EXPECT_FALSE(dialog.standardSizesBox->isChecked());
    QTest::mouseClick(dialog.standardSizesBox, Qt::LeftButton, {}, QPoint(8, 13));
    dialog.okButton->click();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join(u'\n').toStdString();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(stored(QStringLiteral("Home")), (PrinterCalibration{15, 0, 990, 1000, true}));
    EXPECT_EQ(stored(QStringLiteral("Office")), (PrinterCalibration{-12, 7, 990, 1004}));

    dialog.printerBox->setCurrentText(QStringLiteral("Office"));
    EXPECT_EQ(dialog.offsetXEdit->text(), "-1.2");
    EXPECT_EQ(dialog.offsetYEdit->text(), "0.7");
    EXPECT_EQ(dialog.scaleXEdit->text(), "99.0");
    EXPECT_EQ(dialog.scaleYEdit->text(), "100.4");
    EXPECT_FALSE(dialog.standardSizesBox->isChecked()) << "the choice is the printer's own";
    dialog.printerBox->setCurrentText(QStringLiteral("Home"));
    EXPECT_TRUE(dialog.standardSizesBox->isChecked());

    // A printer chosen for printing that is not (or no longer) installed is still offered.
    dialog.showPrinters({QStringLiteral("Office")}, QStringLiteral("Gone"));
    EXPECT_EQ(dialog.printerBox->count(), 2);
    EXPECT_EQ(dialog.selectedPrinter(), "Gone");
    EXPECT_THROW(dialog.calibrate({}, QString(), QRect(0, 0, 600, 800)), AppError);
}

TEST_F(CalibrationDialogTest, RefusedValuesAreToldAndNothingIsStored) {
    CalibrationDialog dialog;
    dialog.showPrinters({QStringLiteral("Office")}, QStringLiteral("Office"));
    type(dialog.offsetYEdit, QStringLiteral("12.5"));
    dialog.okButton->click();
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_EQ(errors_[0], "Vertical offset must be a number from -10.0 to +10.0 mm, in tenths of "
                          "a millimetre; \"12.5\" is not.");
    EXPECT_NE(dialog.result(), 1) << "the window stays open";
    EXPECT_TRUE(stored(QStringLiteral("Office")).isNone());

    type(dialog.offsetYEdit, QStringLiteral("2"));
    type(dialog.scaleYEdit, QStringLiteral("a lot"));
    int printed = 0;
    dialog.printTestPage = [&](const QString&, const PrinterCalibration&) { ++printed; };
    dialog.testPageButton->click();
    EXPECT_EQ(printed, 0);
    ASSERT_EQ(errors_.size(), 2);
    EXPECT_TRUE(errors_[1].startsWith(QStringLiteral("Vertical scale must be")));
}

// The test page prints the values as typed, before they are stored, on the printer shown.
TEST_F(CalibrationDialogTest, TestPageWithTheValuesAsTyped) {
    CalibrationDialog dialog;
    dialog.showPrinters({QStringLiteral("Office"), QStringLiteral("Home")},
                        QStringLiteral("Office"));
    QString printer;
    PrinterCalibration calibration;
    dialog.printTestPage = [&](const QString& name, const PrinterCalibration& c) {
        printer = name;
        calibration = c;
    };
    type(dialog.offsetXEdit, QStringLiteral("-0,8"));
    type(dialog.scaleYEdit, QStringLiteral("101.5 %"));
    dialog.testPageButton->click();
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(printer, "Office");
    EXPECT_EQ(calibration, (PrinterCalibration{-8, 0, 1000, 1015}));
    EXPECT_TRUE(stored(QStringLiteral("Office")).isNone());

    dialog.cancelButton->click();
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_TRUE(stored(QStringLiteral("Office")).isNone());
}

// Hand-edited garbage shows as no calibration, and OK writes a sound one over it.
TEST_F(CalibrationDialogTest, GarbageInTheStoreShowsAsNoCalibration) {
    {
        RegistryStore store;
        store.writeString(calibrationSection(QStringLiteral("Office")), QStringLiteral("X Scale"),
                          QStringLiteral("ninety"));
        store.writeString(calibrationSection(QStringLiteral("Office")), QStringLiteral("X Offset"),
                          QStringLiteral("3.0"));
    }
    CalibrationDialog dialog;
    dialog.showPrinters({QStringLiteral("Office")}, QStringLiteral("Office"));
    EXPECT_EQ(dialog.offsetXEdit->text(), "0.0");
    EXPECT_EQ(dialog.scaleXEdit->text(), "100.0");
    dialog.okButton->click();
    EXPECT_TRUE(errors_.isEmpty());
    RegistryStore store;
    EXPECT_EQ(store.readString(calibrationSection(QStringLiteral("Office")),
                               QStringLiteral("X Scale"), QString()),
              "100.0");
}

TEST_F(CalibrationDialogTest, TextsInBothLanguages) {
    testenv::useLanguage(QStringLiteral("NLD"));
    {
        CalibrationDialog dialog;
        PrintPreview preview;
        testenv::useLanguage(QStringLiteral("ENU"));
        EXPECT_EQ(dialog.windowTitle(), "Sleevix - Printerkalibratie");
        EXPECT_EQ(dialog.offsetXLabel->text(), "Horizontale verschuiving:");
        EXPECT_EQ(dialog.scaleYLabel->text(), "Verticale schaal:");
        EXPECT_EQ(dialog.testPageButton->text(), "Testpagina afdrukken");
        EXPECT_EQ(dialog.cancelButton->text(), "Annuleren");
        EXPECT_EQ(preview.calibrateButton->text(), "Kalibreren…");
    }
    CalibrationDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Sleevix - Printer calibration");
    EXPECT_EQ(dialog.offsetXLabel->text(), "Horizontal offset:");
    EXPECT_EQ(dialog.testPageButton->text(), "Print test page");
}

// The button beside Print and Cancel hands the printer chosen for printing to the calibration.
TEST_F(CalibrationDialogTest, PreviewButtonOpensTheChosenPrintersCalibration) {
    PrintPreview preview;
    EXPECT_EQ(preview.calibrateButton->geometry(), QRect(303, 9, 135, 35));
    EXPECT_EQ(preview.calibrateButton->text(), "Calibrate…");
    preview.calibrateButton->click(); // nothing wired: nothing happens
    QStringList asked;
    preview.calibrate = [&](const QString& name) { asked.append(name); };
    preview.calibrateButton->click();
    EXPECT_EQ(asked, QStringList{preview.printer().printerName()});
}

// A front picture of 400 x 400 pixels prints at 84 pixels per inch: the line says so under the
// preview, which keeps its size while the window grows by the line; 2000 x 2000 shows no line.
TEST_F(CalibrationDialogTest, PreviewTellsOfASoftFrontUnderThePreview) {
    PrintPreview preview;
    preview.makePreview(fixture::layout(845, fixture::solid(QSize(400, 400), Qt::darkCyan),
                                        QStringLiteral("Small")));
    preview.show();
    EXPECT_TRUE(preview.resolutionNote->isVisible());
    EXPECT_EQ(preview.resolutionNote->text(),
              "Front picture: 84 pixels per inch at print size — may print soft.");
    EXPECT_EQ(preview.previewView->geometry(), QRect(0, 54, 630, 891));
    EXPECT_EQ(preview.resolutionNote->geometry(), QRect(0, 54 + 891, 630, 26));
    // Below it, the link to the calibration.
    EXPECT_EQ(preview.calibrateLink->geometry(), QRect(0, 54 + 891 + 26, 630, 26));
    EXPECT_EQ(preview.size(), QSize(630, 54 + 891 + 26 + 26));
    preview.resize(300, 300);
    QApplication::processEvents();
    EXPECT_EQ(preview.size(), QSize(630, 54 + 891 + 26 + 26));
    preview.hide();

    preview.makePreview(fixture::layout(845, fixture::solid(QSize(2000, 2000), Qt::darkCyan),
                                        QStringLiteral("Large")));
    preview.show();
    EXPECT_FALSE(preview.resolutionNote->isVisible());
    EXPECT_EQ(preview.size(), QSize(630, 54 + 891 + 26));
    EXPECT_EQ(preview.previewView->geometry(), QRect(0, 54, 630, 891));
    preview.hide();
}
