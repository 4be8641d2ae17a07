#include "app/Startup.h"

#include "about/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/ProjectCommands.h"
#include "back/BackTextEditor.h"
#include "browse/BrowseDialog.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"
#include "back/RichTextEdit.h"
#include "dialogs/FrontFillDialog.h"
#include "label/DiscLabelDialog.h"
#include "print/LabelPrint.h"
#include "print/CalibrationDialog.h"
#include "print/LayoutPrint.h"
#include "print/PrintPreview.h"
#include "settings/OptionsDialog.h"
#include "settings/Settings.h"
#include "controls/ColourButton.h"
#include "update/UpdateDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTranslator>

bool installToolkitTexts(bool dutch) {
    if (!dutch)
        return true;
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_nl"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

bool installProgramTexts(bool dutch) {
    const QString name = QStringLiteral("sleevix_nl");
    QCoreApplication* app = QCoreApplication::instance();
    for (QTranslator* old : app->findChildren<QTranslator*>(name, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (!dutch)
        return true;
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    if (!translator->load(name, QStringLiteral(":/i18n"))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

ProgramWindows::ProgramWindows(const StartupFacts& facts, const QString& startFolder,
                               UpdateServer updateServer)
    : updateServer_(std::move(updateServer)),
      workspace_(std::make_unique<Workspace>(facts, startFolder)),
      cover_(std::make_unique<Cover>(*workspace_)) {
    // What a run killed while saving the settings left beside them.
    RegistryStore::removeLeftovers(RegistryStore::defaultLocation());
    createWindows();
    wireMainWindow();
    wireOptions();
    wireCalibration();
    wireUpdateCheck();
}

ProgramWindows::~ProgramWindows() {
    main_.reset();
}

// Every window is made once, hidden, in this order: the main window first (it gives the data
// folder its first value), then the dialogs, the update window, the print preview, the
// back-cover editor, the options (whose creation loads the stored settings), the input dialog,
// the browse dialog (which asks for new folders' names through the input dialog) and the About
// box.
void ProgramWindows::createWindows() {
    main_ = std::make_unique<MainWindow>(*workspace_, *cover_);
    MainWindow* main = main_.get();
    questions_ = new QuestionDialog(main);
    message_ = new TimedMessage(main);
    const StartupFacts& facts = workspace_->facts();
    update_ = new UpdateDialog(
        {updateServer_, main->versionText, facts.programFolder, facts.downloadsFolder}, {}, main);
    preview_ = new PrintPreview(main);
    calibration_ = new CalibrationDialog(main);
    frontFill_ = new FrontFillDialog(main);
    discLabel_ = new DiscLabelDialog(main);
    // The back-cover editor stays open beside the main window (not modal).
    backEditor_ = new BackTextEditor(*workspace_, *cover_, main);
    // Its creation loads the stored settings: the data folder, the project and the update
    // option are valid from here on, before the main window first shows.
    options_ = new OptionsDialog(*workspace_, main);
    input_ = new TextInputDialog(main);
    browse_ = new BrowseDialog(*input_, *message_, main);
    about_ =
        new AboutDialog({main->versionText, main->copyrightText}, *message_, main, &Shell::open);
    // Read Project and Read Front Picture choose with the browse dialog.
    projects_ = std::make_unique<ProjectCommands>(
        *workspace_, *cover_, *main, *backEditor_, *message_,
        [this](const BrowseRequest& request) { return browse(request); });
}

void ProgramWindows::wireMainWindow() {
    MainWindow* main = main_.get();
    MainWindowServices& services = main->services;
    services.askSaveProject = [this, main] {
        const Question question{
            ProductName,
            QCoreApplication::translate("Startup", "Do you want to save the current project?"),
            QCoreApplication::translate("Startup", "Yes"),
            QCoreApplication::translate("Startup", "No"),
            QCoreApplication::translate("Startup", "Cancel"),
            true,
            true};
        switch (questions_->ask(main->frameGeometry(), question)) {
        case QuestionDialog::Answer::Yes:
            return SaveAnswer::Yes;
        case QuestionDialog::Answer::No:
            return SaveAnswer::No;
        case QuestionDialog::Answer::Cancel:
            break;
        }
        return SaveAnswer::Cancel;
    };
    services.showPrintPreview = [this] {
        preview_->makePreview(printSourceOf(*cover_));
        preview_->exec();
    };
    services.showFrontFill = [this, main] {
        const std::optional<CoverOptions> chosen = frontFill_->choose(
            cover_->frontPicture().image(), cover_->coverOptions(), main->frameGeometry());
        if (!chosen || *chosen == cover_->coverOptions())
            return;
        cover_->setCoverOptions(*chosen);
        workspace_->setUnsavedChanges(true);
    };
    services.showDiscLabel = [this, main] {
        DiscLabel::Content content;
        // Enough of the picture for 117 mm at more than 300 dpi, also when cropped.
        content.picture = cover_->frontPicture().decode(QSize(1600, 1600));
        content.options = cover_->coverOptions();
        content.albumName = cover_->spineText().trimmed();
        content.tracks =
            DiscLabel::trackLines(backEditor_->editor->toPlainText(), content.albumName);
        const std::optional<CoverOptions> chosen = discLabel_->choose(content, main->frameGeometry());
        if (!chosen || *chosen == cover_->coverOptions())
            return;
        cover_->setCoverOptions(*chosen);
        workspace_->setUnsavedChanges(true);
    };
    discLabel_->printLabel = [this](const DiscLabel::Content& content,
                                    const DiscLabel::Sheet& sheet) {
        QPrinter& printer = preview_->printer;
        printer.setDocName(ProductName + QStringLiteral(" - ") + content.albumName);
        QPrintDialog dialog(&printer, discLabel_);
        if (dialog.exec() != QDialog::Accepted)
            return;
        printLabelOn(printer, content, sheet, calibrationFor(printer));
    };
    services.loadBackText = [this](const QString& file) { backEditor_->loadContents(file); };
    services.newProject = [this] { projects_->newProject(); };
    // A project read or saved is the current one from then on, for a later start and for an
    // export run beside this one.
    services.saveProject = [this] {
        projects_->saveProject();
        recordCurrentProject(*workspace_);
    };
    services.readProject = [this] {
        projects_->readProject();
        recordCurrentProject(*workspace_);
    };
    // The editor's Save makes the list's project the current one (after its own handler).
    QObject::connect(backEditor_->saveButton, &QPushButton::clicked, main,
                     [this] { recordCurrentProject(*workspace_); });
    services.readFrontPicture = [this] { projects_->readFrontPicture(); };
    services.frontPictureTaken = [this] { projects_->warnOfSoftFront(); };
    services.showBackEditor = [this] {
        backEditor_->show();
        backEditor_->raise();
        backEditor_->activateWindow();
    };
    services.showOptions = [this] { options_->exec(); };
    services.saveSettings = [this](RegistryStore& store) { options_->saveSettingsAndPlace(store); };
    services.showAbout = [this, main] { about_->showCentredOver(main->frameGeometry()); };
}

// The browse dialog as a command asks for it: prepared under the hourglass, shown modally. The
// choice counts when the dialog ended with OK, or with a double click on a file.
std::optional<QString> ProgramWindows::browse(const BrowseRequest& request) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    browse_->setFolderPath(request.startPath);
    browse_->setFileMask(request.fileMask);
    browse_->setWindowTitle(request.caption);
    browse_->setHeading(request.heading);
    browse_->setShowFiles(request.showFiles);
    if (request.openAfresh)
        browse_->setInitialized(false);
    QApplication::restoreOverrideCursor();
    if (browse_->exec() == 2 && !browse_->wasDoubleClicked())
        return std::nullopt;
    return browse_->folderPath();
}

// Browse in the options chooses the data folder: the browse dialog in its small mode, folders
// only, opened afresh at the data folder the options show.
void ProgramWindows::wireOptions() {
    options_->chooseFolder = [this](const OptionsDialog::FolderQuestion& question) {
        BrowseRequest request;
        request.caption = question.caption;
        request.heading = question.heading;
        request.fileMask = QStringLiteral("*.*");
        request.startPath = question.start;
        request.showFiles = false;
        request.openAfresh = true;
        return browse(request);
    };
}

// The preview's "Calibrate…" opens the calibration of the printer chosen there; its test page
// prints with the preview's geometry, so that the front's corners lie where a cover print puts
// them.
void ProgramWindows::wireCalibration() {
    preview_->calibrate = [this](const QString& printer) {
        calibration_->calibrate(QPrinterInfo::availablePrinterNames(), printer,
                                preview_->frameGeometry());
    };
    calibration_->printTestPage = [this](const QString& name,
                                         const PrinterCalibration& calibration) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(name);
        printer.setDocName(ProductName +
                           QCoreApplication::translate("Startup", " - Calibration test page"));
        printCalibrationPageOn(printer, calibration, cover_->canvas().size(),
                               preview_->logicalDpiX(), preview_->logicalDpiY(),
                               preview_->screenScale);
    };
}

// The main window's update timer and the options' "Check Now" reach the update window; its
// "Install" asks the main window's closing question first and then ends the program.
void ProgramWindows::wireUpdateCheck() {
    MainWindow* main = main_.get();
    main->services.checkForUpdate = [this] { update_->autoCheck(); };
    options_->checkNow = [this](const QRect& caller) { update_->checkNow(caller); };
    update_->actions.offerToSave = [main] { return main->offerToSave(); };
    update_->actions.endProgram = [] { QCoreApplication::exit(0); };
    // The automatic check stopped the main window's timer; it runs again from the moment the
    // update window closes, not from the main window's next painting.
    QObject::connect(update_, &QDialog::finished, main, [main] { main->handlePaint(); });
}
