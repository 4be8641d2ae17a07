#include "app/Startup.h"

#include "app/ErrorGuard.h"
#include "app/Main.h"
#include "print/Print.h"

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
    // Until the options window exists, the stored settings are loaded here, in its place.
    ErrorGuard::Run(MainForm, [] { LoadSettingsValues(); });
    MainForm->Services.SaveSettings = [] { SaveSettingsValues(AutoUpdateEnabled); };
}
