#include "app/Startup.h"

#include "about/About.h"
#include "app/ErrorGuard.h"
#include "app/Main.h"
#include "app/ProjectCommands.h"
#include "back/Back.h"
#include "dialogs/Ask.h"
#include "dialogs/MessForm.h"
#include "dialogs/YesNo.h"
#include "print/Print.h"
#include "settings/Options.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallToolkitTexts() {
    if (!IsDutch())
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
void CreateForms() {
    MainForm = new TMainForm;
    YesNoDlg = new TYesNoDlg(MainForm);
    MessageForm = new TMessageForm(MainForm);
    MainForm->Services.AskSaveProject = [] {
        const QRect r = MainForm->frameGeometry();
        const bool nl = IsDutch();
        bool cancel = true; // show Cancel; comes back true when it was chosen
        const bool yes =
            AskYesNo(r.top(), r.left(), r.height(), r.width(), ProductName,
                     nl ? QStringLiteral("Wilt u het huidige project bewaren?")
                        : QStringLiteral("Do you want to save the current project?"),
                     nl ? QStringLiteral("Ja") : QStringLiteral("Yes"),
                     nl ? QStringLiteral("Nee") : QStringLiteral("No"),
                     nl ? QStringLiteral("Annuleren") : QStringLiteral("Cancel"), true, cancel);
        return cancel ? SaveAnswer::Cancel : yes ? SaveAnswer::Yes : SaveAnswer::No;
    };
    PrintForm = new TPrintForm(MainForm);
    MainForm->Services.ShowPrintPreview = [] {
        PrintForm->MakePreview();
        PrintForm->exec();
    };
    // The back-cover editor stays open beside the main window (not modal).
    BackForm = new TBackForm(MainForm);
    MainForm->Services.LoadBackText = [](const QString& file) { BackForm->LoadContents(file); };
    MainForm->Services.NewProject = [] { NewProject(*MainForm, *BackForm); };
    MainForm->Services.SaveProject = [] { SaveProject(*MainForm, *BackForm); };
    MainForm->Services.ShowBackEditor = [] {
        BackForm->show();
        BackForm->raise();
        BackForm->activateWindow();
    };
    // Its creation loads the stored settings: DataFolder, ProjectName, ProjectFolder and the
    // update option are valid from here on, before the main window first shows.
    OptionsForm = new TOptionsForm(MainForm);
    MainForm->Services.ShowOptions = [] { OptionsForm->exec(); };
    MainForm->Services.SaveSettings = [] { OptionsForm->SaveSettings(); };
    AskDlg = new TAskDlg(MainForm);
    AboutForm = new TAboutForm(MainForm);
    MainForm->Services.ShowAbout = [] { AboutForm->ShowCentredOver(MainForm->frameGeometry()); };
}

// The windows go with the main window, their owner; those that keep something at the end (the
// options: the settings and the window's place) write it in their destruction.
void DestroyForms() {
    delete MainForm;
    MainForm = nullptr;
}
