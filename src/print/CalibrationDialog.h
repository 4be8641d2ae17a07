// CalibrationDialog: a printer's calibration, opened from the print preview. The user picks a
// printer (the one chosen for printing comes first), sees and edits its horizontal and vertical
// offset and scale, can print a test page with the values as typed, and stores them with OK.
// Values out of range or not numbers are refused with the field named; the window stays open.
#pragma once

#include "print/PrinterCalibration.h"

#include <QDialog>
#include <functional>

class ColourButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class CalibrationDialog : public QDialog {
    Q_OBJECT
public:
    explicit CalibrationDialog(QWidget* parent = nullptr);
    ~CalibrationDialog() override;

    QLabel* printerLabel;
    QComboBox* printerBox;
    QLabel* offsetXLabel;
    QLabel* offsetYLabel;
    QLabel* scaleXLabel;
    QLabel* scaleYLabel;
    QLineEdit* offsetXEdit;
    QLineEdit* offsetYEdit;
    QLineEdit* scaleXEdit;
    QLineEdit* scaleYEdit;
    QCheckBox* standardSizesBox;
    ColourButton* testPageButton;
    ColourButton* okButton;
    ColourButton* cancelButton;

    // Prints the test page on the printer with the calibration given. Filled by the program's
    // start; nothing is printed while it is empty.
    std::function<void(const QString& printer, const PrinterCalibration&)> printTestPage;

    // Shows the calibration of the printers, current first selected (added when it is not among
    // them), centred over the caller, modally; gives 1 when OK stored the values, 2 otherwise.
    // Throws AppError when there is no printer at all.
    int calibrate(const QStringList& printers, const QString& current, const QRect& caller);

    // Fills the printer list and shows the stored values of the one selected.
    void showPrinters(const QStringList& printers, const QString& current);
    QString selectedPrinter() const;
    // The fields' values; throws AppError for the first field refused.
    PrinterCalibration enteredCalibration() const;

    // Handlers.
    void showSelectedPrinter();
    void printTest();
    void acceptCalibration();

    // Closing by the title bar or Escape ends with 2, like Cancel.
    void reject() override;

private:
    void createControls();
    void setTexts();
    void connectHandlers();
    void showValues(const PrinterCalibration& calibration);
};
