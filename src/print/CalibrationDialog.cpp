#include "print/CalibrationDialog.h"

#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/RegistryStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int ClientWidth = 460;
constexpr int ClientHeight = 272;
constexpr int RowTop = 54;
constexpr int RowStep = 32;

} // namespace

CalibrationDialog::CalibrationDialog(QWidget* parent) : QDialog(parent) {
    createControls();
    setTexts();
    connectHandlers();
}

CalibrationDialog::~CalibrationDialog() = default;

void CalibrationDialog::createControls() {
    DialogLook::setUpWindow(this, QSize(ClientWidth, ClientHeight));

    printerLabel = new QLabel(this);
    printerLabel->setGeometry(16, 16, 110, 24);
    printerBox = new QComboBox(this);
    printerBox->setGeometry(130, 14, 314, 28);

    const auto makeRow = [this](int row, QLabel*& label, QLineEdit*& edit, const QString& unit) {
        const int top = RowTop + row * RowStep;
        label = new QLabel(this);
        label->setGeometry(16, top, 190, 26);
        edit = new QLineEdit(this);
        edit->setGeometry(210, top, 90, 26);
        edit->setAlignment(Qt::AlignRight);
        auto* unitLabel = new QLabel(unit, this);
        unitLabel->setGeometry(308, top, 40, 26);
    };
    makeRow(0, offsetXLabel, offsetXEdit, QStringLiteral("mm"));
    makeRow(1, offsetYLabel, offsetYEdit, QStringLiteral("mm"));
    makeRow(2, scaleXLabel, scaleXEdit, QStringLiteral("%"));
    makeRow(3, scaleYLabel, scaleYEdit, QStringLiteral("%"));
    standardSizesBox = new QCheckBox(this);
    standardSizesBox->setGeometry(16, RowTop + 4 * RowStep, 428, 26);

    // Wide enough for the Dutch "Testpagina afdrukken" in bold.
    testPageButton = DialogLook::makeButton(this, QRect(16, 224, 200, 35));
    okButton = DialogLook::makeButton(this, QRect(230, 224, 100, 35));
    cancelButton = DialogLook::makeButton(this, QRect(344, 224, 100, 35));
    okButton->setDefault(true);
}

void CalibrationDialog::setTexts() {
    setWindowTitle(ProductName + tr(" - Printer calibration"));
    printerLabel->setText(tr("Printer:"));
    offsetXLabel->setText(calibrationFieldName(CalibrationField::OffsetX) + u':');
    offsetYLabel->setText(calibrationFieldName(CalibrationField::OffsetY) + u':');
    scaleXLabel->setText(calibrationFieldName(CalibrationField::ScaleX) + u':');
    scaleYLabel->setText(calibrationFieldName(CalibrationField::ScaleY) + u':');
    standardSizesBox->setText(tr("Standard jewel-case sizes"));
    standardSizesBox->setToolTip(tr("Prints every cover at the size a jewel case takes: the front "
                                    "120 × 120 mm, the tray card 150 × 118 mm with 6.5 mm "
                                    "spines. Off: the design's slightly smaller scale."));
    testPageButton->setText(tr("Print test page"));
    okButton->setText(tr("OK"));
    cancelButton->setText(tr("Cancel"));
}

void CalibrationDialog::connectHandlers() {
    connect(printerBox, &QComboBox::currentIndexChanged, this,
            guarded(this, &CalibrationDialog::showSelectedPrinter));
    connect(testPageButton, &QPushButton::clicked, this,
            guarded(this, &CalibrationDialog::printTest));
    connect(okButton, &QPushButton::clicked, this,
            guarded(this, &CalibrationDialog::acceptCalibration));
    connect(cancelButton, &QPushButton::clicked, this, &CalibrationDialog::reject);
}

int CalibrationDialog::calibrate(const QStringList& printers, const QString& current,
                                 const QRect& caller) {
    if (printers.isEmpty() && current.isEmpty())
        throw AppError(tr("No printer is installed, or the print service is not running: there "
                          "is no printer to calibrate."));
    showPrinters(printers, current);
    const DialogGeometry::Place place = DialogGeometry::centreOver(caller, frameGeometry().size());
    move(place.left, place.top);
    return exec();
}

void CalibrationDialog::showPrinters(const QStringList& printers, const QString& current) {
    QStringList names = printers;
    if (!current.isEmpty() && !names.contains(current))
        names.prepend(current);
    {
        const QSignalBlocker quiet(printerBox);
        printerBox->clear();
        printerBox->addItems(names);
        printerBox->setCurrentIndex(std::max<qsizetype>(0, names.indexOf(current)));
    }
    showSelectedPrinter();
}

QString CalibrationDialog::selectedPrinter() const {
    return printerBox->currentText();
}

void CalibrationDialog::showSelectedPrinter() {
    // What was typed for the printer shown before and not stored with OK is given up.
    RegistryStore store;
    showValues(loadCalibration(store, selectedPrinter()));
}

void CalibrationDialog::showValues(const PrinterCalibration& c) {
    offsetXEdit->setText(formatCalibrationField(c.offsetX));
    offsetYEdit->setText(formatCalibrationField(c.offsetY));
    scaleXEdit->setText(formatCalibrationField(c.scaleX));
    scaleYEdit->setText(formatCalibrationField(c.scaleY));
    standardSizesBox->setChecked(c.standardSizes);
}

PrinterCalibration CalibrationDialog::enteredCalibration() const {
    PrinterCalibration c = parseCalibration(offsetXEdit->text(), offsetYEdit->text(),
                                            scaleXEdit->text(), scaleYEdit->text());
    c.standardSizes = standardSizesBox->isChecked();
    return c;
}

void CalibrationDialog::printTest() {
    const PrinterCalibration calibration = enteredCalibration();
    if (printTestPage && !selectedPrinter().isEmpty())
        printTestPage(selectedPrinter(), calibration);
}

void CalibrationDialog::acceptCalibration() {
    const PrinterCalibration calibration = enteredCalibration();
    if (selectedPrinter().isEmpty())
        return;
    RegistryStore store;
    saveCalibration(store, selectedPrinter(), calibration);
    done(1);
}

void CalibrationDialog::reject() {
    done(2);
}
