#include "app/ProjectCommands.h"

#include "app/MainWindow.h"
#include "back/BackRules.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "controls/ImageView.h"
#include "dialogs/TimedMessage.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"

#include <QDir>
#include <QLineEdit>

void checkProjectFolderName(const QString& name, const QString& folder) {
    // A separator would make nested folders that the next start could not find again; the
    // characters Windows refuses would make a project that cannot be copied there.
    if (!BackRules::isUsableFolderName(name))
        throw AppError(
            QStringLiteral("Cannot create file %1").arg(folder + QStringLiteral("Back.rtf")));
}

void newProject(MainWindow& main, BackTextEditor& back) {
    main.drawTemplate();
    main.spineTextEdit->setText(QString(51, u' ')); // paints the spine text cells white
    main.applySpineText();
    main.spineTextEdit->clear();
    back.editor->clear();
    main.frontPicture().clear();
    main.backPicture().clear();
    main.frontPictureView->setImage(QImage());
    main.backPictureView->setImage(QImage());
    projectFolder.clear();
}

void saveProject(MainWindow& main, BackTextEditor& back) {
    const QRect r = main.frameGeometry();
    if (main.spineTextEdit->text().isEmpty()) {
        showTimed(r.top(), r.left(), r.height(), r.width(), noBackTextLine1, noBackTextLine2, 5000);
        return;
    }
    const QString name = main.spineTextEdit->text();
    const QString folder = dataFolder + name + PathDelim;
    checkProjectFolderName(name, folder);
    if (!QDir().mkpath(folder))
        throw AppError(
            QStringLiteral("Cannot create file %1").arg(folder + QStringLiteral("Back.rtf")));
    back.editor->saveToFile(folder + QStringLiteral("Back.rtf"));
    if (!main.backPicture().isEmpty())
        main.backPicture().saveToFile(folder + QStringLiteral("Back.bmp"));
    if (!main.frontPicture().isEmpty())
        main.frontPicture().saveToFile(folder + QStringLiteral("Front.jpg"));
    // Only a project whose files are all written becomes the current one: after a failed write
    // the name stored at closing must still lead to a whole project, and closing must still ask.
    projectName = name;
    projectFolder = folder;
    askToSave = false;
    const bool nl = isDutch();
    showTimed(r.top(), r.left(), r.height(), r.width(),
              (nl ? QStringLiteral("Het project ") : QStringLiteral("The project ")) + projectName,
              nl ? QStringLiteral("is bewaard.") : QStringLiteral("has been saved."), 5000);
}
