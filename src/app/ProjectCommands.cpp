#include "app/ProjectCommands.h"

#include "app/MainWindow.h"
#include "back/BackRules.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "controls/ImageView.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/TimedMessage.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>

void checkProjectFolderName(const QString& name, const QString& folder) {
    // A separator would make nested folders that the next start could not find again; the
    // characters Windows refuses would make a project that cannot be copied there.
    if (!BackRules::isUsableFolderName(name))
        throw AppError(
            QStringLiteral("Cannot create file %1").arg(folder + QStringLiteral("Back.rtf")));
}

ProjectCommands::ProjectCommands(Workspace& workspace, Cover& cover, MainWindow& main,
                                 BackTextEditor& back, TimedMessage& message)
    : workspace_(workspace), cover_(cover), main_(main), back_(back), message_(message) {}

void ProjectCommands::newProject() {
    cover_.drawTemplate();
    cover_.applySpineText(QString(51, u' ')); // paints the spine text cells white
    main_.spineTextEdit->clear();
    back_.editor->clear();
    cover_.forgetPictures();
    workspace_.projectFolder.clear();
}

void ProjectCommands::saveProject() {
    const QRect r = main_.frameGeometry();
    if (main_.spineTextEdit->text().isEmpty()) {
        message_.showTimed(r, main_.noBackTextLine1, main_.noBackTextLine2, 5000);
        return;
    }
    const QString name = main_.spineTextEdit->text();
    const QString folder = workspace_.dataFolder + name + PathDelim;
    checkProjectFolderName(name, folder);
    if (!QDir().mkpath(folder))
        throw AppError(
            QStringLiteral("Cannot create file %1").arg(folder + QStringLiteral("Back.rtf")));
    back_.editor->saveToFile(folder + QStringLiteral("Back.rtf"));
    if (!cover_.backPicture().isEmpty())
        cover_.backPicture().saveToFile(folder + QStringLiteral("Back.bmp"));
    if (!cover_.frontPicture().isEmpty())
        cover_.frontPicture().saveToFile(folder + QStringLiteral("Front.jpg"));
    // Only a project whose files are all written becomes the current one: after a failed write
    // the name stored at closing must still lead to a whole project, and closing must still ask.
    workspace_.projectName = name;
    workspace_.projectFolder = folder;
    workspace_.setUnsavedChanges(false);
    message_.showTimed(r,
                       QCoreApplication::translate("ProjectCommands", "The project %1").arg(name),
                       QCoreApplication::translate("ProjectCommands", "has been saved."), 5000);
}
