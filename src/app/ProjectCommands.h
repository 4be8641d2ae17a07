// The main window's commands on project folders: a new, empty project and saving the current
// one. A project is a folder named after the spine text under the data folder, holding
// "Back.rtf" (the list of contents, always written), "Back.bmp" and "Front.jpg" (each when there
// is one).
#pragma once

#include <QString>

class BackTextEditor;
class Cover;
class MainWindow;
class TimedMessage;
class Workspace;

// Whether the spine text can name a project folder (the editor's own save uses the same rule).
// Throws AppError "Cannot create file <folder>Back.rtf" when it cannot.
void checkProjectFolderName(const QString& name, const QString& folder);

class ProjectCommands {
public:
    ProjectCommands(Workspace& workspace, Cover& cover, MainWindow& main, BackTextEditor& back,
                    TimedMessage& message);

    // Clears the layout, the spines, the list of contents and the pictures; the project folder
    // is empty.
    void newProject();

    // Writes the project into the data folder + the spine text, or says that there is no spine
    // text.
    void saveProject();

private:
    Workspace& workspace_;
    Cover& cover_;
    MainWindow& main_;
    BackTextEditor& back_;
    TimedMessage& message_;
};
