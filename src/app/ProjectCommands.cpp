#include "app/ProjectCommands.h"

#include "app/ImageControl.h"
#include "app/Main.h"
#include "back/Back.h"
#include "back/BackRules.h"
#include "dialogs/MessForm.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "platform/RichEdit.h"

#include <QDir>
#include <QLineEdit>

void CheckProjectFolderName(const QString& name, const QString& folder) {
    // A separator would make nested folders that the next start could not find again; the
    // characters Windows refuses would make a project that cannot be copied there.
    if (!BackRules::IsUsableFolderName(name))
        throw AppError(
            QStringLiteral("Cannot create file %1").arg(folder + QStringLiteral("Back.rtf")));
}

void NewProject(TMainForm& main, TBackForm& back) {
    main.DrawTemplate();
    main.Edit1->setText(QString(51, u' ')); // paints the spine text cells white
    main.PastoeButtonClick();
    main.Edit1->clear();
    back.RichEdit1->clear();
    main.FrontPicture().Clear();
    main.BackPicture().Clear();
    main.Image2->SetImage(QImage());
    main.Image3->SetImage(QImage());
    ProjectFolder.clear();
}

void SaveProject(TMainForm& main, TBackForm& back) {
    const QRect r = main.frameGeometry();
    if (main.Edit1->text().isEmpty()) {
        ShowTimed(r.top(), r.left(), r.height(), r.width(), NoBackTextLine1, NoBackTextLine2, 5000);
        return;
    }
    const QString name = main.Edit1->text();
    const QString folder = DataFolder + name + PathDelim;
    CheckProjectFolderName(name, folder);
    if (!QDir().mkpath(folder))
        throw AppError(
            QStringLiteral("Cannot create file %1").arg(folder + QStringLiteral("Back.rtf")));
    back.RichEdit1->SaveToFile(folder + QStringLiteral("Back.rtf"));
    if (!main.BackPicture().IsEmpty())
        main.BackPicture().SaveToFile(folder + QStringLiteral("Back.bmp"));
    if (!main.FrontPicture().IsEmpty())
        main.FrontPicture().SaveToFile(folder + QStringLiteral("Front.jpg"));
    // Only a project whose files are all written becomes the current one: after a failed write
    // the name stored at closing must still lead to a whole project, and closing must still ask.
    ProjectName = name;
    ProjectFolder = folder;
    AskToSave = false;
    const bool nl = IsDutch();
    ShowTimed(r.top(), r.left(), r.height(), r.width(),
              (nl ? QStringLiteral("Het project ") : QStringLiteral("The project ")) + ProjectName,
              nl ? QStringLiteral("is bewaard.") : QStringLiteral("has been saved."), 5000);
}
