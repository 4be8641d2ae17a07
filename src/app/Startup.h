// The program's start: the start-up facts, then every window once, in a fixed order, wired to
// each other. The main window is shown by the caller.
#pragma once

void createForms();

// The toolkit's own windows (file and print dialogs, the error box's button) in the user's
// language: Dutch when LanguageCode says so. Gives false when the toolkit's Dutch texts are not
// installed; those windows then stay English.
bool installToolkitTexts();

// At program end, after the message loop: destroys the windows made by createForms.
void destroyForms();
