// The main window's commands on project folders: a new, empty project and saving the current
// one. A project is a folder named after the spine text under DataFolder, holding "Back.rtf"
// (the list of contents, always written), "Back.bmp" and "Front.jpg" (each when there is one).
#pragma once

#include <QString>

class MainWindow;
class BackTextEditor;

// Whether the spine text can name a project folder (the editor's own save uses the same rule).
// Throws AppError "Cannot create file <folder>Back.rtf" when it cannot.
void checkProjectFolderName(const QString& name, const QString& folder);

// Clears the layout, the spines, the list of contents and the pictures; ProjectFolder is empty.
void newProject(MainWindow& main, BackTextEditor& back);

// Writes the project into DataFolder + the spine text, or says that there is no spine text.
void saveProject(MainWindow& main, BackTextEditor& back);
