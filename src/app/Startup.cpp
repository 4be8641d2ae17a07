#include "app/Startup.h"

#include "app/ErrorGuard.h"
#include "app/Main.h"
#include "print/Print.h"
#include "settings/Options.h"

// Every window is made once, hidden, in this order: the main window first (it gives DataFolder
// its first value and owns ProductName), then the dialogs, the print preview, the back-cover
// editor, the options (whose creation loads the stored settings), the browse dialog, the input
// dialog and the About box.
void CreateForms() {
    MainForm = new TMainForm;
    PrintForm = new TPrintForm(MainForm);
    MainForm->Services.ShowPrintPreview = [] {
        PrintForm->MakePreview();
        PrintForm->exec();
    };
    // Its creation loads the stored settings: DataFolder, ProjectName, ProjectFolder and the
    // update option are valid from here on, before the main window first shows.
    OptionsForm = new TOptionsForm(MainForm);
    MainForm->Services.ShowOptions = [] { OptionsForm->exec(); };
    MainForm->Services.SaveSettings = [] { OptionsForm->SaveSettings(); };
}

// The windows go with the main window, their owner; those that keep something at the end (the
// options: the settings and the window's place) write it in their destruction.
void DestroyForms() {
    delete MainForm;
    MainForm = nullptr;
}
