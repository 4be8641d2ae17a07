#include "app/Export.h"

#include "app/CommandLine.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "cover/Cover.h"
#include "cover/CoverOptionsFile.h"
#include "cover/FrontResolution.h"
#include "cover/ProjectFiles.h"
#include "cover/SampleProject.h"
#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "print/LabelPrint.h"
#include "print/PageExport.h"
#include "settings/Settings.h"
#include "support/BuildFacts.h"
#include "support/Support.h"
#include "tracks/TrackImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

ExportProject filesIn(const QString& folder, const QString& name) {
    const QString dir = withTrailingDelim(folder);
    return {name, dir + Project::FrontFile, dir + Project::BackPictureFile,
            dir + Project::BackTextFile};
}

// Where the start would copy a sample file from: the first of the folders that has it; the
// project's own file when none has it, so that the failure names the file the program misses.
QString sampleFile(const QStringList& folders, const QString& name, const QString& fallback) {
    for (const QString& folder : folders)
        if (QFileInfo(folder + name).isFile())
            return folder + name;
    return fallback;
}

// A message on one line, for a terminal.
QString oneLine(QString message) {
    message.replace(QStringLiteral("\r\n"), QStringLiteral("; "));
    message.replace(u'\n', QStringLiteral("; "));
    message.replace(u'\r', u' ');
    return message;
}

} // namespace

ExportProject currentProject(const StartupFacts& facts, const QString& startFolder,
                             QString* settingsProblem) {
    Workspace workspace(facts, startFolder);
    // The data folder's first value as the main window gives it, without making the folder; the
    // settings then replace it as they do at start.
    workspace.dataFolder = userDataFolderPath(ProductName, facts.isNTFamily);
    const StoredOptions stored = loadSettingsValues(workspace);
    if (settingsProblem)
        *settingsProblem = stored.failure;
    // A project stored without a name would be the data folder itself: the start opens the
    // sample project instead.
    if (workspace.projectName.isEmpty()) {
        workspace.projectName = DefaultProjectName;
        workspace.projectFolder = workspace.dataFolder + workspace.projectName + PathDelim;
    }
    ExportProject project = filesIn(workspace.projectFolder, workspace.projectName);
    if (!QFileInfo(workspace.projectFolder).isDir()) {
        const QStringList folders = sampleFolders(workspace.startFolder(), facts.programFolder);
        project.frontFile = sampleFile(folders, Project::FrontFile, project.frontFile);
        project.backFile = sampleFile(folders, Project::BackPictureFile, project.backFile);
        project.textFile = sampleFile(folders, Project::BackTextFile, project.textFile);
    }
    return project;
}

ExportProject projectInFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir())
        throw AppError(QCoreApplication::translate("Export", "There is no project folder %1.")
                           .arg(QDir::toNativeSeparators(folder)));
    return filesIn(info.absoluteFilePath(), Project::nameOfFolder(info.absoluteFilePath()));
}

PrintSource readForPrint(const ExportProject& project, const StartupFacts& facts,
                         const QString& startFolder, const QString& tracks) {
    Workspace workspace(facts, startFolder);
    Cover cover(workspace);
    cover.drawTemplate();
    const TrackList list = tracks.isEmpty() ? TrackList() : TrackImport::read(tracks);
    QStringList failures;
    const auto read = [&failures](const QString& file, const std::function<void()>& load) {
        try {
            load();
        } catch (const AppError& e) {
            failures << Project::failureOf(file, e.message());
        } catch (const std::bad_alloc&) {
            failures << Project::failureOf(file, Project::notEnoughMemory());
        }
    };
    // The project's choices (Cover.ini) beside its front picture.
    cover.setCoverOptions(readCoverOptionsFile(QFileInfo(project.frontFile).absolutePath()));
    read(project.frontFile, [&] {
        try {
            cover.loadFrontPicture(project.frontFile);
        } catch (const AppError&) {
            if (list.frontPicture.isEmpty())
                throw;
            cover.takeFrontPicture(list.frontPicture, list.frontPictureExtension);
        }
    });
    if (tracks.isEmpty()) // else the list's copy is the back
        read(project.backFile, [&] { cover.loadBackPicture(project.backFile); });
    if (!failures.isEmpty())
        throw AppError(failures.join(QStringLiteral("; ")));
    // The list laid out as the back-cover editor shows it: when "Back.bmp" is that list's copy,
    // the back prints as text. The editor is never shown; a list that cannot be read leaves the
    // back to print as its picture.
    BackTextEditor editor(workspace, cover);
    if (!tracks.isEmpty()) {
        editor.layOutTracks(list);
        cover.copyBackText(editor.displayedList());
        cover.applySpineText(list.spineTextReplacing(project.name, false));
        return printSourceOf(cover);
    }
    try {
        editor.loadContents(project.textFile);
    } catch (const AppError&) {
    } catch (const std::bad_alloc&) {
    }
    cover.applySpineText(project.name);
    return printSourceOf(cover);
}

DiscLabel::Content readLabelContent(const ExportProject& project, const StartupFacts& facts,
                                    const QString& startFolder, const QString& tracks) {
    DiscLabel::Content content;
    content.options = readCoverOptionsFile(QFileInfo(project.frontFile).absolutePath());
    content.albumName = project.name;
    const TrackList list = tracks.isEmpty() ? TrackList() : TrackImport::read(tracks);
    Picture front;
    try {
        // 117 mm at 600 dpi is about 2800 pixels; a crop needs more of the picture.
        try {
            front.loadFromFile(project.frontFile, QSize(2800, 2800));
        } catch (const AppError&) {
            if (list.frontPicture.isEmpty())
                throw;
            front.loadFromData(list.frontPicture, list.frontPictureExtension, QSize(2800, 2800));
        }
    } catch (const AppError& e) {
        throw AppError(Project::failureOf(project.frontFile, e.message()));
    }
    content.picture = front.image();
    Workspace workspace(facts, startFolder);
    Cover cover(workspace);
    BackTextEditor editor(workspace, cover);
    if (!tracks.isEmpty()) {
        // The label shows the list read from the music, as the back does.
        editor.layOutTracks(list);
        const QString spine = list.spineText();
        if (!spine.isEmpty())
            content.albumName = spine;
        content.tracks = DiscLabel::trackLines(editor.editor->toPlainText(), content.albumName);
        return content;
    }
    try {
        editor.loadContents(project.textFile);
        content.tracks = DiscLabel::trackLines(editor.editor->toPlainText(), project.name);
    } catch (const AppError&) {
    }
    return content;
}

int runWithoutWindow(const CommandLine& line, const StartupFacts& facts, const QString& startFolder,
                     QTextStream& out, QTextStream& err) {
    const QString program = QStringLiteral("sleevix: ");
    switch (line.action) {
    case CommandLine::Action::OpenWindow:
        return 2; // not for here
    case CommandLine::Action::ShowHelp:
        out << line.helpText;
        return 0;
    case CommandLine::Action::ShowVersion:
        out << ProductName << ' ' << BuildFacts::VersionText << '\n';
        return 0;
    case CommandLine::Action::Refuse:
        err << program << oneLine(line.error) << '\n';
        return 2;
    case CommandLine::Action::ExportPdf:
    case CommandLine::Action::ExportPng:
        break;
    }
    try {
        QString settingsProblem;
        const ExportProject project = line.projectFolder.isEmpty()
                                          ? currentProject(facts, startFolder, &settingsProblem)
                                          : projectInFolder(line.projectFolder);
        // The settings that could be read still name a project; the run goes on with it.
        if (!settingsProblem.isEmpty())
            err << program << oneLine(settingsProblem) << '\n';
        if (line.disc) {
            const DiscLabel::Content label = readLabelContent(project, facts, startFolder, line.tracks);
            const DiscLabel::Sheet sheet =
                DiscLabel::sheetNamed(DiscLabel::availableSheets(), label.options.labelSheet);
            if (line.action != CommandLine::Action::ExportPdf)
                throw AppError(QCoreApplication::translate(
                    "Export", "The disc label is exported as a PDF file only (--export-pdf)."));
            writeLabelPdf(label, sheet, line.paper, line.output);
            return 0;
        }
        const PrintSource source = readForPrint(project, facts, startFolder, line.tracks);
        const PageExport::PageChoice choice{line.paper, line.standardSizes};
        if (line.action == CommandLine::Action::ExportPdf)
            PageExport::writePdf(source, line.output, choice);
        else
            PageExport::writePng(source, line.output, line.dpi, choice);
        // Written all the same; the user is told, as the window tells it.
        const QString soft = softFrontWarning(source.front, source.coverOptions);
        if (!soft.isEmpty())
            err << program << oneLine(soft) << '\n';
    } catch (const AppError& e) {
        err << program << oneLine(e.message()) << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        err << program << QCoreApplication::translate("Export", "Out of memory.") << '\n';
        return 1;
    } catch (const std::exception& e) {
        err << program << oneLine(QString::fromLocal8Bit(e.what())) << '\n';
        return 1;
    }
    return 0;
}
