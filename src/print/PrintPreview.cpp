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
    // The printer's resolution takes the place of the device context's pixels per inch.
    const double dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
    const QSize canvas = source.canvas.size();
    const QSize printed = PrintGeometry::printedSizeOn(canvas, dpiX, dpiY, windowDpiX, windowDpiY,
                                                       screenScale, calibration.standardSizes);
    // A paper too small for the covers is refused before the job begins.
    const PaperFit::Fit fit = fitOnPrinter(printer, canvas, printed);
    if (!fit.fits)
        throw AppError(PaperFit::tooSmallMessage(printer.pageLayout()));
    printDocument(printer, [&](QPainter& painter) {
        if (!calibration.isNone())
            painter.setWorldTransform(calibration.transform(dpiX, dpiY));
        PaperFit::applyFit(painter, fit, canvas, printed);
        paintLayout(painter, source, printed, mode);
    });
}

PaperFit::Fit fitOnPrinter(const QPrinter& printer, QSize canvas, QSize printed) {
    return PaperFit::fitLayout(
        printer.pageLayout().paintRect(QPageLayout::Millimeter).size(),
        PaperFit::mmPerPixel(canvas, printed, printer.logicalDpiX(), printer.logicalDpiY()));
}

QImage pagePicture(const PrintSource& source, const QPageLayout& paper, QSize box,
                   bool standardSizes, PaperFit::Fit* fitOut) {
    QImage picture(box, QImage::Format_RGB32);
    picture.fill(QColor(160, 160, 160));
    const QSizeF paperMm = paper.fullRect(QPageLayout::Millimeter).size();
    if (paperMm.isEmpty() || box.isEmpty())
        return picture;
    const double perMm = std::min(box.width() / paperMm.width(), box.height() / paperMm.height());
    QPainter painter(&picture);
    painter.fillRect(QRectF(0, 0, paperMm.width() * perMm, paperMm.height() * perMm), Qt::white);
    const QSizeF mmPerPixel = standardSizes
                                  ? QSizeF(PrintGeometry::StandardMmPerPixel,
                                           PrintGeometry::StandardMmPerPixel)
                                  : QSizeF(25.4 / 96 * PrintGeometry::WidthFactor,
                                           25.4 / 96 * PrintGeometry::HeightFactor);
    const QSize canvas = source.canvas.size();
    const QSize printed(qRound(canvas.width() * mmPerPixel.width() * perMm),
                        qRound(canvas.height() * mmPerPixel.height() * perMm));
    const QRectF printable = paper.paintRect(QPageLayout::Millimeter);
    const PaperFit::Fit fit = PaperFit::fitLayout(printable.size(), mmPerPixel);
    if (fitOut)
        *fitOut = fit;
    if (canvas.isEmpty() || printed.isEmpty())
        return picture;
    painter.translate(printable.topLeft() * perMm);
    PaperFit::applyFit(painter, fit, canvas, printed);
    // Reduced with averaging, so that the one-pixel marks stay visible.
    PrintSource reduced = source;
    reduced.canvas =
        source.canvas.scaled(printed, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    paintLayout(painter, reduced, printed, PrintMode::Stretch);
    return picture;
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
        page.printed =
            PrintGeometry::printedSizeOn(canvasSize, page.dpiX, page.dpiY, windowDpiX, windowDpiY,
                                         screenScale, calibration.standardSizes);
        const PaperFit::Fit fit = fitOnPrinter(printer, canvasSize, page.printed);
        if (fit.moved && !canvasSize.isEmpty())
            page.layoutShift =
                QPointF(fit.shift.x() * page.printed.width() / canvasSize.width(),
                        fit.shift.y() * page.printed.height() / canvasSize.height());
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
    resolutionNote->setWordWrap(true);
    calibrateLink = new QLabel(this);
    calibrateLink->setIndent(9);
    calibrateLink->setTextFormat(Qt::RichText);
    calibrateLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                           Qt::LinksAccessibleByKeyboard);
}

void PrintPreview::setTexts() {
    setWindowTitle(ProductName + tr(" - Printing Example"));
    printButton->setText(tr("Print"));
    printButton->setToolTip(QStringLiteral("%1 (%2)").arg(
        printButton->text(), printKey().toString(QKeySequence::NativeText)));
    closeButton->setText(tr("Cancel"));
    calibrateButton->setText(tr("Calibrate…"));
    const QString link =
        QStringLiteral("<a href=\"calibrate\">%1</a>").arg(tr("Calibrate…").toHtmlEscaped());
    calibrateLink->setText(tr("Covers print too small or too large?").toHtmlEscaped() + u' ' +
                           link);
}

void PrintPreview::connectHandlers() {
    connect(printButton, &QPushButton::clicked, this, guarded(this, &PrintPreview::printCover));
    connect(closeButton, &QPushButton::clicked, this, guarded(this, &PrintPreview::closePreview));
    connect(calibrateButton, &QPushButton::clicked, this,
            guarded(this, &PrintPreview::calibratePrinter));
    connect(calibrateLink, &QLabel::linkActivated, this,
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
    const int noteHeight =
        note ? int(resolutionNote->text().count(u'\n') + 1) * PrintGeometry::NoteHeight : 0;
    const QSize client = PrintGeometry::clientSize(screenScale) +
                         QSize(0, PrintGeometry::NoteHeight + noteHeight);
    if (minimumSize() != client || maximumSize() != client)
        setFixedSize(client);
    buttonPanel->setGeometry(0, 0, client.width(), PrintGeometry::PanelHeight);
    const QRect preview(QPoint(0, PrintGeometry::PanelHeight),
                        PrintGeometry::previewSize(screenScale));
    previewView->setGeometry(preview);
    resolutionNote->setGeometry(0, preview.bottom() + 1, client.width(), noteHeight);
    resolutionNote->setVisible(note);
    calibrateLink->setGeometry(0, preview.bottom() + 1 + noteHeight, client.width(),
                               PrintGeometry::NoteHeight);
}

void PrintPreview::makePreview(const PrintSource& source) {
    source_ = source;
    // Made at the size the image control has when the window is shown, so that the control
    // does not enlarge a smaller picture; the page as the chosen printer's paper takes it.
    PaperFit::Fit fit;
    preview_ = pagePicture(source_, printer().pageLayout(), PrintGeometry::previewSize(screenScale),
                           calibrationFor(printer()).standardSizes, &fit);
    previewView->setImage(preview_);
    QStringList notes;
    if (!fit.fits)
        notes << PaperFit::tooSmallMessage(printer().pageLayout());
    if (const QString soft = softFrontWarning(source_.front, source_.coverOptions); !soft.isEmpty())
        notes << soft;
    resolutionNote->setText(notes.join(u'\n'));
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
    // The paper chosen in the dialog is the one the preview shows from now on.
    makePreview(source_);
    printLayoutOn(printer(), source_, logicalDpiX(), logicalDpiY(), screenScale, PrintMode::Sharp,
                  calibrationFor(printer()));
}

void PrintPreview::calibratePrinter() {
    if (!calibrate)
        return;
    calibrate(printer().printerName());
    // The standard sizes may have been turned on or off.
    makePreview(source_);
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
