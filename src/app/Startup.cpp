#include "app/Startup.h"

#include "about/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/ProjectCommands.h"
#include "back/BackTextEditor.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"
#include "print/PrintPreview.h"
#include "settings/OptionsDialog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installToolkitTexts() {
    if (!isDutch())
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

// Every window is made once, hidden, in this order: the main window first (it gives DataFolder
// its first value and owns ProductName), then the dialogs, the print preview, the back-cover
// editor, the options (whose creation loads the stored settings), the browse dialog, the input
// dialog and the About box.
void createForms() {
    mainWindow = new MainWindow;
    questionDialog = new QuestionDialog(mainWindow);
    timedMessage = new TimedMessage(mainWindow);
    mainWindow->services.askSaveProject = [] {
        const QRect r = mainWindow->frameGeometry();
        const bool nl = isDutch();
        bool cancel = true; // show Cancel; comes back true when it was chosen
        const bool yes =
            askYesNo(r.top(), r.left(), r.height(), r.width(), ProductName,
                     nl ? QStringLiteral("Wilt u het huidige project bewaren?")
                        : QStringLiteral("Do you want to save the current project?"),
                     nl ? QStringLiteral("Ja") : QStringLiteral("Yes"),
                     nl ? QStringLiteral("Nee") : QStringLiteral("No"),
                     nl ? QStringLiteral("Annuleren") : QStringLiteral("Cancel"), true, cancel);
        return cancel ? SaveAnswer::Cancel : yes ? SaveAnswer::Yes : SaveAnswer::No;
    };
    printPreview = new PrintPreview(mainWindow);
    mainWindow->services.showPrintPreview = [] {
        printPreview->makePreview();
        printPreview->exec();
    };
    // The back-cover editor stays open beside the main window (not modal).
    backTextEditor = new BackTextEditor(mainWindow);
    mainWindow->services.loadBackText = [](const QString& file) {
        backTextEditor->loadContents(file);
    };
    mainWindow->services.newProject = [] { newProject(*mainWindow, *backTextEditor); };
    mainWindow->services.saveProject = [] { saveProject(*mainWindow, *backTextEditor); };
    mainWindow->services.showBackEditor = [] {
        backTextEditor->show();
        backTextEditor->raise();
        backTextEditor->activateWindow();
    };
    // Its creation loads the stored settings: DataFolder, ProjectName, ProjectFolder and the
    // update option are valid from here on, before the main window first shows.
    optionsDialog = new OptionsDialog(mainWindow);
    mainWindow->services.showOptions = [] { optionsDialog->exec(); };
    mainWindow->services.saveSettings = [] { optionsDialog->saveSettings(); };
    textInputDialog = new TextInputDialog(mainWindow);
    aboutDialog = new AboutDialog(mainWindow);
    mainWindow->services.showAbout = [] {
        aboutDialog->showCentredOver(mainWindow->frameGeometry());
    };
}

// The windows go with the main window, their owner; those that keep something at the end (the
// options: the settings and the window's place) write it in their destruction.
void destroyForms() {
    delete mainWindow;
    mainWindow = nullptr;
}
