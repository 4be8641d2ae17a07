// The program's start: the start-up facts, then every window once, in a fixed order, wired to
// each other. The main window is shown by the caller.
#pragma once

void CreateForms();

// At program end, after the message loop: destroys the windows made by CreateForms.
void DestroyForms();
