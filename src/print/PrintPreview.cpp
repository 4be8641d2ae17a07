#include "print/PrintPreview.h"

#include "controls/ColourButton.h"
#include "controls/ImageView.h"
#include "cover/FrontResolution.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/Canvas.h"
#include "platform/PrintSpooler.h"
#include "platform/RegistryStore.h"
#include "print/CalibrationPage.h"
#include "settings/Settings.h"
#include "support/Support.h"
#include "support/WindowPlacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QScreen>
#include <QShortcut>

namespace {

QString cannotBeginText(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return QCoreApplication::translate("PrintPreview", "Cannot create file %1")
            .arg(printer.outputFileName());
    // Without a print system (no spooler running, no queue installed) the printer object still
    // calls itself valid, but no document can begin on it.
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return QCoreApplication::translate(
            "PrintPreview", "No printer is installed, or the print service is not running. "
                            "Install a printer, or print to a PDF file.");
    return QCoreApplication::translate("PrintPreview", "The printer %1 cannot start a print job.")
        .arg(printer.printerName());
}

// A PDF written by the printer object ends with its end-of-file marker; a full disk or a file
// that could not be written leaves it short, which the printer object does not report.
bool pdfIsComplete(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().contains("%%EOF");
}

// A file name made from the document's name, without characters that file systems refuse.
QString pdfFileName(const QString& folder, const QString& docName) {
    QString name = docName.isEmpty() ? ProductName : docName;
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

QKeySequence printKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_P);
}

} // namespace

void printDocument(QPrinter& printer, const std::function<void(QPainter&)>& draw) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(cannotBeginText(printer));
    QString failure;
    try {
        draw(painter);
    } catch (const AppError& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    // The document is ended whatever happened, so that no print job stays open.
    const bool ended = painter.end();
    if (!failure.isEmpty())
        throw AppError(failure);
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        const QString refusal = lastSpoolerRefusal();
        if (!refusal.isEmpty())
            throw AppError(QCoreApplication::translate(
                               "PrintPreview", "The print service did not take the print job: %1")
                               .arg(refusal));
    }
    if (!ended || printer.printerState() == QPrinter::Error)
        throw AppError(QCoreApplication::translate(
            "PrintPreview", "The printer reported an error; the print may be incomplete."));
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
        !pdfIsComplete(printer.outputFileName()))
        throw AppError(QCoreApplication::translate("PrintPreview",
                                                   "The file %1 could not be written completely.")
                           .arg(printer.outputFileName()));
}

void printLayoutOn(QPrinter& printer, const PrintSource& source, double windowDpiX,
                   double windowDpiY, double screenScale, PrintMode mode,
                   const PrinterCalibration& calibration) {
    printDocument(printer, [&](QPainter& painter) {
        // The printer's resolution takes the place of the device context's pixels per inch.
        const PrintGeometry::PrintScale scale = PrintGeometry::scaleFor(
            printer.logicalDpiX(), printer.logicalDpiY(), windowDpiX, windowDpiY, screenScale);
        if (!calibration.isNone())
            painter.setWorldTransform(
                calibration.transform(printer.logicalDpiX(), printer.logicalDpiY()));
        paintLayout(painter, source, PrintGeometry::printedSize(source.canvas.size(), scale), mode);
    });
}

PrinterCalibration calibrationFor(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return {};
    RegistryStore store;
    return loadCalibration(store, printer.printerName());
}

void printCalibrationPageOn(QPrinter& printer, const PrinterCalibration& calibration,
                            QSize canvasSize, double windowDpiX, double windowDpiY,
                            double screenScale) {
    printDocument(printer, [&](QPainter& painter) {
        CalibrationPage page;
        page.printerName = printer.printerName();
        page.calibration = calibration;
        page.dpiX = printer.logicalDpiX();
        page.dpiY = printer.logicalDpiY();
        page.paperOrigin = printer.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
        page.canvas = canvasSize;
        page.printed = PrintGeometry::printedSize(
            canvasSize,
            PrintGeometry::scaleFor(page.dpiX, page.dpiY, windowDpiX, windowDpiY, screenScale));
        paintCalibrationPage(painter, page);
    });
}

PrintPreview::PrintPreview(QWidget* parent) : QDialog(parent) {
    createControls();
    connectHandlers();
    initialise();
}

PrintPreview::~PrintPreview() = default;

QPrinter& PrintPreview::printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void PrintPreview::createControls() {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(14);
    setFont(font);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    buttonPanel = new QWidget(this);
    buttonPanel->setAutoFillBackground(true);
    QFont buttonFont(QStringLiteral("Verdana"));
    buttonFont.setPixelSize(16);
    buttonFont.setBold(true);
    const auto makeButton = [&](int left) {
        auto* button = new ColourButton(buttonPanel);
        button->setGeometry(left, 9, 135, 35);
        button->setFont(buttonFont);
        button->setBackColor(QColor(255, 255, 227));
        button->setHoverColor(QColor(255, 255, 136));
        return button;
    };
    printButton = makeButton(9);
    closeButton = makeButton(156);
    calibrateButton = makeButton(303);
    previewView = new ImageView(this);
    resolutionNote = new QLabel(this);
    resolutionNote->setIndent(9);
    resolutionNote->hide();
}

void PrintPreview::setTexts() {
    setWindowTitle(ProductName + tr(" - Printing Example"));
    printButton->setText(tr("Print"));
    printButton->setToolTip(QStringLiteral("%1 (%2)").arg(
        printButton->text(), printKey().toString(QKeySequence::NativeText)));
    closeButton->setText(tr("Cancel"));
    calibrateButton->setText(tr("Calibrate…"));
}

void PrintPreview::connectHandlers() {
    connect(printButton, &QPushButton::clicked, this, guarded(this, &PrintPreview::printCover));
    connect(closeButton, &QPushButton::clicked, this, guarded(this, &PrintPreview::closePreview));
    connect(calibrateButton, &QPushButton::clicked, this,
            guarded(this, &PrintPreview::calibratePrinter));
    // The main window's Ctrl+P opens the preview; pressed again, it prints.
    auto* print = new QShortcut(printKey(), this);
    connect(print, &QShortcut::activated, printButton, &QAbstractButton::click);
}

void PrintPreview::initialise() {
    setTexts();
    const QScreen* screen = QGuiApplication::primaryScreen();
    screenScale = PrintGeometry::screenScaleFor(screen ? screen->logicalDotsPerInch() : 96.0);
    const QSize client = PrintGeometry::creationClientSize(screenScale);
    resize(client);
    buttonPanel->setGeometry(0, 0, client.width(), PrintGeometry::PanelHeight);
    previewView->setGeometry(0, PrintGeometry::PanelHeight, client.width(),
                             client.height() - PrintGeometry::PanelHeight);
}

void PrintPreview::handleShow() {
    RegistryStore store;
    const QPoint stored(store.readInteger(SettingsSection, QStringLiteral("PrintLeft"), 200),
                        store.readInteger(SettingsSection, QStringLiteral("PrintTop"), 100));
    // A place stored on a screen that is gone would show the modal preview where nobody can
    // reach it, and the whole program would seem to hang.
    move(keepOnScreen(stored, frameGeometry().size(), availableScreenAreas(), QPoint(200, 100)));
}

void PrintPreview::keepFixedSize() {
    // The window keeps the size of an A4 page at 3 pixels per millimetre under its buttons; the
    // line on the front's resolution, when there is one, goes below that page.
    const bool note = !resolutionNote->text().isEmpty();
    const QSize client =
        PrintGeometry::clientSize(screenScale) + QSize(0, note ? PrintGeometry::NoteHeight : 0);
    if (minimumSize() != client || maximumSize() != client)
        setFixedSize(client);
    buttonPanel->setGeometry(0, 0, client.width(), PrintGeometry::PanelHeight);
    const QRect preview(QPoint(0, PrintGeometry::PanelHeight),
                        PrintGeometry::previewSize(screenScale));
    previewView->setGeometry(preview);
    resolutionNote->setGeometry(0, preview.bottom() + 1, client.width(), PrintGeometry::NoteHeight);
    resolutionNote->setVisible(note);
}

void PrintPreview::makePreview(const PrintSource& source) {
    source_ = source;
    // Made at the size the image control has when the window is shown, so that the control
    // does not enlarge a smaller picture.
    preview_ = QImage(PrintGeometry::previewSize(screenScale), QImage::Format_RGB32);
    preview_.fill(Qt::white);
    Canvas canvas(&preview_);
    canvas.stretchDraw(preview_.rect(), source_.canvas);
    previewView->setImage(preview_);
    resolutionNote->setText(softFrontWarning(source_.front));
    if (isVisible())
        keepFixedSize();
}

void PrintPreview::printCover() {
    printLayout();
}

void PrintPreview::printLayout() {
    if (!printDialog)
        printDialog = new QPrintDialog(&printer(), this);
    // The job is named after the cover printed now, not after the first one printed in the run.
    printer().setDocName(source_.spineText.isEmpty()
                           ? ProductName
                           : ProductName + QStringLiteral(" - ") + source_.spineText);
    // Without any printer the dialog offers only a PDF file: propose one named after the job.
    // A file proposed for an earlier cover is proposed afresh, or the next cover would be
    // written over that cover's PDF; a file the user chose is kept.
    if (QPrinterInfo::availablePrinterNames().isEmpty() &&
        (printer().outputFileName().isEmpty() || printer().outputFileName() == proposedPdf_)) {
        proposedPdf_ = pdfFileName(QDir::homePath(), printer().docName());
        printer().setOutputFileName(proposedPdf_);
    }
    if (printDialog->exec() != QDialog::Accepted)
        return;
    // A PDF file chosen as a bare folder gets the job's name.
    const QString file = printer().outputFileName();
    if (printer().outputFormat() == QPrinter::PdfFormat &&
        (file.isEmpty() || file.endsWith(QLatin1Char('/')) || QFileInfo(file).isDir()))
        printer().setOutputFileName(
            pdfFileName(file.isEmpty() ? QDir::homePath() : file, printer().docName()));
    printLayoutOn(printer(), source_, logicalDpiX(), logicalDpiY(), screenScale, PrintMode::Sharp,
                  calibrationFor(printer()));
}

void PrintPreview::calibratePrinter() {
    if (calibrate)
        calibrate(printer().printerName());
}

void PrintPreview::closePreview() {
    done(2);
}

void PrintPreview::handleClose() {
    RegistryStore store;
    store.writeInteger(SettingsSection, QStringLiteral("PrintLeft"), x());
    store.writeInteger(SettingsSection, QStringLiteral("PrintTop"), y());
    store.flush();
}

void PrintPreview::done(int result) {
    ErrorGuard::run(this, [this] { handleClose(); });
    QDialog::done(result);
}

void PrintPreview::showEvent(QShowEvent* event) {
    ErrorGuard::run(this, [this] { handleShow(); });
    keepFixedSize();
    QDialog::showEvent(event);
}

void PrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    keepFixedSize();
}
