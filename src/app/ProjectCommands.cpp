#include "app/ProjectCommands.h"

#include "app/MainWindow.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "cover/Cover.h"
#include "cover/FrontResolution.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "dialogs/TimedMessage.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

ProjectCommands::ProjectCommands(Workspace& workspace, Cover& cover, MainWindow& main,
                                 BackTextEditor& back, TimedMessage& message, Browse browse,
                                 ConfirmReplace confirmReplace)
    : workspace_(workspace), cover_(cover), main_(main), back_(back), message_(message),
      browse_(std::move(browse)), confirmReplace_(std::move(confirmReplace)) {}

BrowseRequest ProjectCommands::readProjectRequest(const QString& dataFolder) {
    BrowseRequest request;
    request.caption =
        ProductName + QCoreApplication::translate("ProjectCommands", " - Path for files");
    request.heading = QCoreApplication::translate(
        "ProjectCommands", "Select the Path for the Files\r\nen klik op OK.");
    request.fileMask = QStringLiteral("*.*");
    request.startPath = dataFolder;
    request.showFiles = false;
    // A second read finds the dialog where the first one left it.
    request.openAfresh = false;
    return request;
}

BrowseRequest ProjectCommands::frontPictureRequest(const QString& dataFolder,
                                                   const QString& projectName) {
    BrowseRequest request;
    request.caption = ProductName + QCoreApplication::translate(
                                        "ProjectCommands", " - Select the picture for the front");
    request.heading = QCoreApplication::translate(
        "ProjectCommands", "Select the Path for the Files.\r\nand Click OK.");
    request.fileMask = QStringLiteral("*.jpg; *.bmp; *.gif");
    request.startPath = dataFolder + projectName;
    request.showFiles = true;
    request.openAfresh = true;
    return request;
}

bool ProjectCommands::mayPutAsideChanges() {
    if (!workspace_.hasUnsavedChanges() || !main_.services.askSaveProject)
        return true;
    switch (main_.services.askSaveProject()) {
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::No:
        return true;
    case SaveAnswer::Yes:
        // A failed save throws and the cover stays; without a spine text the save only asked for
        // one, and the work is not saved either.
        saveProject();
        return !workspace_.hasUnsavedChanges();
    }
    return false;
}

void ProjectCommands::newProject() {
    if (!mayPutAsideChanges())
        return;
    clearProject();
}

void ProjectCommands::clearProject() {
    cover_.drawTemplate();
    cover_.applySpineText(QString(Project::MaxNameLength, u' ')); // paints the spines white
    main_.spineTextEdit->clear();
    cover_.setSpineTextTyped(false);
    back_.editor->clear();
    cover_.forgetPictures();
    workspace_.projectFolder.clear();
}

void ProjectCommands::readProject() {
    if (!browse_)
        return;
    const std::optional<QString> chosen = browse_(readProjectRequest(workspace_.dataFolder));
    if (!chosen || !mayPutAsideChanges())
        return;
    openProject(*chosen);
}

void ProjectCommands::openProject(const QString& folder) {
    const QString projectFolder = withTrailingDelim(folder);
    workspace_.projectName = Project::nameOfFolder(projectFolder);
    clearProject();
    workspace_.projectFolder = projectFolder;
    const QStringList failures = Project::readFiles(
        projectFolder, cover_, [this](const QString& file) { back_.loadContents(file); });
    main_.spineTextEdit->setText(workspace_.projectName);
    main_.applySpineText();
    workspace_.setUnsavedChanges(false);
    warnOfSoftFront();
    if (!failures.isEmpty())
        throw AppError(failures.join(u'\n'));
}

void ProjectCommands::readFrontPicture() {
    if (!browse_)
        return;
    const std::optional<QString> chosen =
        browse_(frontPictureRequest(workspace_.dataFolder, workspace_.projectName));
    // OK in a folder without pictures gives the folder alone: there is nothing to load.
    if (!chosen || chosen->isEmpty() || QFileInfo(*chosen).isDir())
        return;
    try {
        cover_.loadFrontPicture(*chosen);
    } catch (const AppError& e) {
        throw AppError(Project::failureOf(*chosen, e.message()));
    }
    // The cover is no longer what was saved.
    workspace_.setUnsavedChanges(true);
    warnOfSoftFront();
}

void ProjectCommands::warnOfSoftFront() {
    const QString warning = softFrontWarning(cover_.frontPicture(), cover_.coverOptions());
    if (!warning.isEmpty())
        message_.showTimed(main_.frameGeometry(), warning, QString(), 5000);
}

void ProjectCommands::saveProject() {
    const QRect r = main_.frameGeometry();
    const QString name = main_.spineTextEdit->text();
    if (name.isEmpty()) {
        message_.showTimed(r, main_.noBackTextLine1, main_.noBackTextLine2, 5000);
        return;
    }
    Project::checkFolderName(name, workspace_.dataFolder);
    const QString folder = workspace_.dataFolder + name + PathDelim;
    // Typing the name of another project must not mix this cover into it unasked.
    const bool another =
        Project::holdsProject(folder) && !Project::isSameFolder(folder, workspace_.projectFolder);
    if (another && !(confirmReplace_ && confirmReplace_(folder)))
        return;
    Project::writeFiles(folder, back_.editor->toRtf(), cover_.backPicture(), cover_.frontPicture(),
                        &cover_.coverOptions(),
                        another ? Project::Unwritten::Remove : Project::Unwritten::Keep);
    // Only a project whose files are all written becomes the current one: after a failed write
    // the name stored at closing must still lead to a whole project, and closing must still ask.
    workspace_.projectName = name;
    workspace_.projectFolder = folder;
    workspace_.setUnsavedChanges(false);
    // Where it went: the project's folder, as the file manager shows it.
    QString saved = QCoreApplication::translate("ProjectCommands", "has been saved in %1.")
                        .arg(QDir::toNativeSeparators(QDir::cleanPath(folder)));
    if (const QString note = Project::portabilityNote(name); !note.isEmpty())
        saved += u'\n' + note;
    message_.showTimed(
        r, QCoreApplication::translate("ProjectCommands", "The project %1").arg(name), saved, 5000);
}
