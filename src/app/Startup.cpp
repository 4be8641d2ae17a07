#include "app/Startup.h"

#include "about/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/ProjectCommands.h"
#include "back/BackTextEditor.h"
#include "back/DiscImport.h"
#include "back/RichTextEdit.h"
#include "browse/BrowseDialog.h"
#include "controls/ColourButton.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/FrontFillDialog.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"
#include "label/DiscLabelDialog.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"
#include "print/CalibrationDialog.h"
#include "print/LabelPrint.h"
#include "print/LayoutPrint.h"
#include "print/PrintPreview.h"
#include "settings/OptionsDialog.h"
#include "settings/Settings.h"
#include "update/UpdateDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTimer>
#include <QTranslator>

QIcon programIcon() {
    QIcon icon;
    for (const int size : {48, 256})
        icon.addFile(QStringLiteral(":/icons/%1/org.sleevix.Sleevix.png").arg(size),
                     QSize(size, size));
    return icon;
}

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
    wireUpdateCheck();
}

ProgramWindows::~ProgramWindows() {
    main_.reset();
}

// The windows the start needs are made once, hidden, in this order: the main window first (it
// gives the data folder its first value), the question and message windows, the back-cover
// editor (the start reads the list into it), and the options (whose creation loads the stored
// settings). The others are made at their first use.
void ProgramWindows::createWindows() {
    main_ = std::make_unique<MainWindow>(*workspace_, *cover_);
    MainWindow* main = main_.get();
    // What the other windows' creation cannot do (the stored settings unreadable, say) is told
    // over the main window when it first shows, with what its showing could not do: not in a
    // box before any window of the program stands.
    ErrorGuard::setReporter(main, [main](const QString& text) { main->tellAtFirstShowing(text); });
    const auto tellLater = qScopeGuard([main] { ErrorGuard::setReporter(main, nullptr); });
    questions_ = new QuestionDialog(main);
    message_ = new TimedMessage(main);
    // The back-cover editor stays open beside the main window (not modal).
    backEditor_ = new BackTextEditor(*workspace_, *cover_, main);
    // Its creation loads the stored settings: the data folder, the project and the update
    // option are valid from here on, before the main window first shows.
    options_ = new OptionsDialog(*workspace_, main);
    // Read Project and Read Front Picture choose with the browse dialog.
    projects_ = std::make_unique<ProjectCommands>(
        *workspace_, *cover_, *main, *backEditor_, *message_,
        [this](const BrowseRequest& request) { return browse(request); },
        [this, main](const QString& folder) { return mayReplaceProject(main, folder); });
    backEditor_->confirmReplace = [this](const QString& folder) {
        return mayReplaceProject(backEditor_, folder);
    };
    // The editor's own questions (replace the list, take the album's picture, lay out a disc's
    // times) in the program's question window.
    backEditor_->askYesNo = [this](const QString& question) {
        return askYesNo(backEditor_, question);
    };
    backEditor_->discImport->askYesNo = backEditor_->askYesNo;
    // What the audio CD import only tells (the titles came from the disc's CD-Text) stands over
    // the editor for ten seconds, as the program's other notes do.
    backEditor_->discImport->tell = [this](const QString& text) {
        message_->showTimed(backEditor_->frameGeometry(), text, QString(), 10000);
    };
}

bool ProgramWindows::askYesNo(QWidget* over, const QString& text) {
    const Question question{ProductName,
                            text,
                            QCoreApplication::translate("Startup", "Yes"),
                            QCoreApplication::translate("Startup", "No"),
                            QString(),
                            false,
                            false};
    return questions_->ask(over->frameGeometry(), question) == QuestionDialog::Answer::Yes;
}

// Saving under the name of another project replaces it only when the user says so.
bool ProgramWindows::mayReplaceProject(QWidget* over, const QString& folder) {
    return askYesNo(over,
                    QCoreApplication::translate("Startup", "The folder %1 holds another project. "
                                                           "Replace it with this one?")
                        .arg(QDir::toNativeSeparators(folder)));
}

BackTextEditor& ProgramWindows::backTextEditor() {
    backEditor_->showReadContents();
    return *backEditor_;
}

UpdateDialog& ProgramWindows::updateDialog() {
    if (!update_) {
        MainWindow* main = main_.get();
        const StartupFacts& facts = workspace_->facts();
        update_ = new UpdateDialog(
            {updateServer_, main->versionText, facts.programFolder, facts.downloadsFolder}, {},
            main);
        // "Install" asks the main window's closing question first and then ends the program.
        update_->actions.offerToSave = [main] { return main->offerToSave(); };
        update_->actions.endProgram = [] { QCoreApplication::exit(0); };
        // The automatic check stopped the main window's timer; it runs again from the moment
        // the update window closes, not from the main window's next painting.
        QObject::connect(update_, &QDialog::finished, main, [main] { main->handlePaint(); });
    }
    return *update_;
}

// The preview's "Calibrate…" opens the calibration of the printer chosen there.
PrintPreview& ProgramWindows::printPreview() {
    if (!preview_) {
        preview_ = new PrintPreview(main_.get());
        preview_->calibrate = [this](const QString& printer) {
            calibrationDialog().calibrate(QPrinterInfo::availablePrinterNames(), printer,
                                          preview_->frameGeometry());
        };
    }
    return *preview_;
}

// The calibration's test page prints with the preview's geometry, so that the front's corners
// lie where a cover print puts them.
CalibrationDialog& ProgramWindows::calibrationDialog() {
    if (!calibration_) {
        calibration_ = new CalibrationDialog(main_.get());
        calibration_->printTestPage = [this](const QString& name,
                                             const PrinterCalibration& calibration) {
            PrintPreview& preview = printPreview();
            QPrinter printer(QPrinter::HighResolution);
            printer.setPrinterName(name);
            printer.setDocName(ProductName +
                               QCoreApplication::translate("Startup", " - Calibration test page"));
            printCalibrationPageOn(printer, calibration, cover_->canvas().size(),
                                   preview.logicalDpiX(), preview.logicalDpiY(),
                                   preview.screenScale);
        };
    }
    return *calibration_;
}

FrontFillDialog& ProgramWindows::frontFillDialog() {
    if (!frontFill_)
        frontFill_ = new FrontFillDialog(main_.get());
    return *frontFill_;
}

// The label prints on the preview's printer, with that printer's calibration.
DiscLabelDialog& ProgramWindows::discLabelDialog() {
    if (!discLabel_) {
        discLabel_ = new DiscLabelDialog(main_.get());
        discLabel_->printLabel = [this](const DiscLabel::Content& content,
                                        const DiscLabel::Sheet& sheet) {
            QPrinter& printer = printPreview().printer();
            printer.setDocName(ProductName + QStringLiteral(" - ") + content.albumName);
            QPrintDialog dialog(&printer, discLabel_);
            if (dialog.exec() != QDialog::Accepted)
                return;
            printLabelOn(printer, content, sheet, calibrationFor(printer));
        };
    }
    return *discLabel_;
}

TextInputDialog& ProgramWindows::textInputDialog() {
    if (!input_)
        input_ = new TextInputDialog(main_.get());
    return *input_;
}

// The browse dialog asks for new folders' names through the input dialog.
BrowseDialog& ProgramWindows::browseDialog() {
    if (!browse_)
        browse_ = new BrowseDialog(textInputDialog(), *message_, main_.get());
    return *browse_;
}

AboutDialog& ProgramWindows::aboutDialog() {
    if (!about_)
        about_ = new AboutDialog({main_->versionText, main_->copyrightText}, *message_, main_.get(),
                                 &Shell::open);
    return *about_;
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
        backEditor_->showReadContents(); // the print takes the list as text when it is the back
        PrintPreview& preview = printPreview();
        preview.makePreview(printSourceOf(*cover_));
        preview.exec();
    };
    services.showFrontFill = [this, main] {
        const std::optional<CoverOptions> chosen = frontFillDialog().choose(
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
        backEditor_->showReadContents();
        content.tracks =
            DiscLabel::trackLines(backEditor_->editor->toPlainText(), content.albumName);
        const std::optional<CoverOptions> chosen =
            discLabelDialog().choose(content, main->frameGeometry());
        if (!chosen || *chosen == cover_->coverOptions())
            return;
        cover_->setCoverOptions(*chosen);
        workspace_->setUnsavedChanges(true);
    };
    // The start reads the list with the project's other files (a failure is named with theirs)
    // and lays it out in the editor once the cover is on the screen, with the window's icon.
    services.loadBackText = [this](const QString& file) {
        backEditor_->readContentsForLater(file);
    };
    services.coverShown = [this] {
        backEditor_->showReadContents();
        QApplication::setWindowIcon(programIcon());
    };
    services.newProject = [this] { projects_->newProject(); };
    // A project read or saved is the current one from then on, for a later start and for an
    // export run beside this one.
    services.saveProject = [this] {
        projects_->saveProject();
        recordCurrentProject(*workspace_);
    };
    services.readProject = [this] {
        whenBrowseIsFree([this] {
            projects_->readProject();
            recordCurrentProject(*workspace_);
        });
    };
    // The editor's Save makes the list's project the current one (after its own handler).
    QObject::connect(backEditor_->saveButton, &QPushButton::clicked, main,
                     [this] { recordCurrentProject(*workspace_); });
    services.readFrontPicture = [this] {
        whenBrowseIsFree([this] { projects_->readFrontPicture(); });
    };
    services.frontPictureTaken = [this] { projects_->warnOfSoftFront(); };
    backEditor_->frontPictureTaken = [this] { projects_->warnOfSoftFront(); };
    services.showBackEditor = [this] {
        backEditor_->show();
        backEditor_->raise();
        backEditor_->activateWindow();
    };
    services.showOptions = [this] { options_->exec(); };
    services.saveSettings = [this](RegistryStore& store) { options_->saveSettingsAndPlace(store); };
    services.showAbout = [this, main] { aboutDialog().showCentredOver(main->frameGeometry()); };
}

// The browse dialog as a command asks for it: prepared under the hourglass, shown modally. The
// choice counts when the dialog ended with OK, or with a double click on a file.
std::optional<QString> ProgramWindows::browse(const BrowseRequest& request) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BrowseDialog& dialog = browseDialog();
    dialog.setFolderPath(request.startPath);
    dialog.setFileMask(request.fileMask);
    dialog.setWindowTitle(request.caption);
    dialog.setHeading(request.heading);
    dialog.setShowFiles(request.showFiles);
    if (request.openAfresh)
        dialog.setInitialized(false);
    QApplication::restoreOverrideCursor();
    // Only OK and a double click on a file (which ends as OK does) choose.
    if (dialog.exec() != 1)
        return std::nullopt;
    return dialog.folderPath();
}

// A click that wants the browse dialog while its last showing is still returning (Escape and
// the click handled in one batch of window events) runs as soon as that showing has returned.
void ProgramWindows::whenBrowseIsFree(const std::function<void()>& command) {
    if (!browse_ || !browse_->isRunning()) {
        command();
        return;
    }
    QTimer::singleShot(0, main_.get(), [this, command] {
        ErrorGuard::run(main_.get(), [&] { whenBrowseIsFree(command); });
    });
}

// Browse in the options chooses the data folder: the browse dialog in its small mode, folders
// only, opened afresh at the data folder the options show.
void ProgramWindows::wireOptions() {
    options_->chooseFolder =
        [this](const OptionsDialog::FolderQuestion& question) -> std::optional<QString> {
        if (browse_->isRunning()) {
            QTimer::singleShot(0, options_, [this] { options_->browseButton->click(); });
            return std::nullopt;
        }
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

// The main window's update timer and the options' "Check Now" reach the update window.
void ProgramWindows::wireUpdateCheck() {
    main_->services.checkForUpdate = [this] { updateDialog().autoCheck(); };
    options_->checkNow = [this](const QRect& caller) { updateDialog().checkNow(caller); };
}
