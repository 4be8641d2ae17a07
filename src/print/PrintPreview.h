// PrintPreview: the print preview. It shows the main window's layout canvas reduced to an A4 page
// on the screen and prints the layout on one page at (nearly) a quarter millimetre per layout
// pixel. The main window's print button calls MakePreview and then shows the window modally;
// from it the user prints as often as wanted, or closes it.
#pragma once

#include "print/LayoutPrint.h"
#include "print/PaperFit.h"
#include "print/PrintGeometry.h"
#include "print/PrinterCalibration.h"

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>

class ImageView;
class QPrintDialog;
class ColourButton;
class QLabel;

// Runs one print document on a printer: begins it, lets `draw` paint the page, and always ends
// it, also when drawing failed. Throws AppError with a message for the user when the document
// cannot begin (no printer installed, a printer that cannot start a job, an unwritable PDF file),
// and, after the document has been ended, when drawing or the printer failed.
void printDocument(QPrinter& printer, const std::function<void(QPainter&)>& draw);

// The layout on one page of the printer: printed size from the printer's resolution, the
// window's pixels per inch and the screen scale, from the top-left of the printable area; the
// whole page moved and scaled by the calibration (none by default).
void printLayoutOn(QPrinter& printer, const PrintSource& source, double windowDpiX,
                   double windowDpiY, double screenScale, PrintMode mode = PrintMode::Sharp,
                   const PrinterCalibration& calibration = {});

// Where the layout goes on the printer's paper (print/PaperFit.h) for a canvas printed at
// `printed` printer pixels.
PaperFit::Fit fitOnPrinter(const QPrinter& printer, QSize canvas, QSize printed);

// The calibration that prints on this printer: the one stored for its name when it prints on a
// printer, none when it writes a PDF file.
PrinterCalibration calibrationFor(const QPrinter& printer);

// The calibration's test page (print/CalibrationPage.h) on one page of the printer, with the front
// frame's corners where printLayoutOn puts them for a layout canvas of canvasSize.
void printCalibrationPageOn(QPrinter& printer, const PrinterCalibration& calibration,
                            QSize canvasSize, double windowDpiX, double windowDpiY,
                            double screenScale);

// The page as it will print on a paper of this layout, drawn into an image of `box` pixels: the
// paper white on grey, as large as the box allows, the layout placed and cut as the print places
// it (print/PaperFit.h). fit receives where the layout goes.
QImage pagePicture(const PrintSource& source, const QPageLayout& paper, QSize box,
                   bool standardSizes, PaperFit::Fit* fit = nullptr);

class PrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit PrintPreview(QWidget* parent = nullptr);
    ~PrintPreview() override;

    double screenScale = 1.0;

    QWidget* buttonPanel;
    ColourButton* printButton;
    ColourButton* closeButton;
    ColourButton* calibrateButton;
    ImageView* previewView;
    // Under the preview, only while the front picture prints soft or the paper is too small.
    QLabel* resolutionNote;
    // Under the preview, always: "Covers print too small or too large? Calibrate…".
    QLabel* calibrateLink;

    // Opens the calibration of the printer with this name (the one chosen for printing). Filled
    // by the program's start; the button does nothing while it is empty.
    std::function<void(const QString& printerName)> calibrate;
    // The printer chosen in the print dialog; kept for the next print of the run. Made at its
    // first use: making one asks the print system for its printers, which the start of the
    // program must not wait for.
    QPrinter& printer();
    // Made at the first print, so that starting the program does not wait for the print system.
    QPrintDialog* printDialog = nullptr;

    // The preview and the print are made from the main window's canvas and pictures as they are
    // now; the window shows them until the next call.
    void makePreview(const PrintSource& source);
    const PrintSource& Source() const { return source_; }
    const QImage& previewImage() const { return preview_; }

    void initialise();
    void handleShow();
    void keepFixedSize();
    void printCover();
    void printLayout();
    void calibratePrinter();
    void closePreview();
    void handleClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void setTexts();
    void connectHandlers();

    std::unique_ptr<QPrinter> printer_;
    PrintSource source_;
    QImage preview_;
    QString proposedPdf_; // the PDF file last proposed when there is no printer
};
