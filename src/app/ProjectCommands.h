// The main window's commands on project folders: a new, empty project; reading a project from a
// folder the user chooses; reading a new front picture; saving the current project. A project is
// a folder named after the spine text under the data folder, holding "Back.rtf" (the list of
// contents), "Back.bmp" and "Front.jpg" (cover/ProjectFiles.h).
//
// The folder and the picture are chosen in the browse dialog, which the program's start hands in
// as a callback; the closing question, asked before unsaved work is put aside, comes through the
// main window's services.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class BackTextEditor;
class Cover;
class MainWindow;
class TimedMessage;
class Workspace;

// How the browse dialog is to be shown for one command.
struct BrowseRequest {
    QString caption;
    QString heading;         // a carriage return and line feed start its second line
    QString fileMask;        // "*.*", or patterns such as "*.jpg; *.bmp; *.gif"
    QString startPath;       // where the tree opens
    bool showFiles = false;  // a file is chosen (true) or a folder
    bool openAfresh = false; // open at startPath; otherwise as it was left, after its first showing
};

class ProjectCommands {
public:
    // Shows the browse dialog as asked; gives the chosen path, or nothing when the user cancelled.
    using Browse = std::function<std::optional<QString>(const BrowseRequest&)>;
    // Asks whether the project in this folder, another than the one being saved, is to be
    // replaced; true for Yes.
    using ConfirmReplace = std::function<bool(const QString& folder)>;

    ProjectCommands(Workspace& workspace, Cover& cover, MainWindow& main, BackTextEditor& back,
                    TimedMessage& message, Browse browse = {}, ConfirmReplace confirmReplace = {});

    // What read project and read front picture ask of the browse dialog, in the user's language.
    static BrowseRequest readProjectRequest(const QString& dataFolder);
    static BrowseRequest frontPictureRequest(const QString& dataFolder, const QString& projectName);

    // Asks the closing question when there is unsaved work, then clears the layout, the spines,
    // the list of contents and the pictures; the project folder is empty.
    void newProject();

    // Lets the user choose a project folder, asks the closing question when there is unsaved
    // work, and opens the project.
    void readProject();

    // Opens the project in folder: its name is the folder's last component (whole, however
    // long), its three files are loaded, its name goes on the spines, and it counts as
    // saved. A file that cannot be read is left out and the rest still load; the files that
    // failed are then raised together as one AppError, each named once. A front picture that
    // prints soft is told in the timed message.
    void openProject(const QString& folder);

    // Lets the user choose a picture and puts it on the front; the project then has unsaved
    // changes. A picture that prints soft is told in the timed message.
    void readFrontPicture();

    // Tells in the timed message, over the main window, that the front picture has too few pixels
    // to print sharp; nothing when it has enough.
    void warnOfSoftFront();

    // Writes the project into the data folder + the spine text, or says that there is no spine
    // text. A folder that holds another project is replaced only when the user says Yes; No
    // leaves both as they were. Throws AppError with the reason when the spine text cannot name
    // a folder, and "Cannot create file <path>" when a file cannot be written; the files in the
    // folder then stay as they were. A name a Windows drive would not take is saved, with a
    // note in the message.
    void saveProject();

private:
    // False when the user chose to keep the current cover (Cancel, or Yes without a spine text
    // to save under).
    bool mayPutAsideChanges();
    void clearProject();

    Workspace& workspace_;
    Cover& cover_;
    MainWindow& main_;
    BackTextEditor& back_;
    TimedMessage& message_;
    Browse browse_;
    ConfirmReplace confirmReplace_;
};
