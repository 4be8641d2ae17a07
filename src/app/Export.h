// Exporting a project's printed page without a window: which project (one named on the command
// line, or the one the program would open at start), reading it without changing anything on
// disk, and carrying out a command line that needs no window.
//
// An export only reads: not the settings store, not the data folder, not the project are
// written. When the current project's folder does not exist yet (a first start has not run), the
// program would make it from the sample files; the export prints those files where they lie
// instead, which gives the same page.
#pragma once

#include "label/DiscLabel.h"
#include "print/LayoutPrint.h"

#include <QString>

struct CommandLine;
struct StartupFacts;
class QTextStream;

struct ExportProject {
    QString name;      // the project's name, which the spines show
    QString frontFile; // "Front.jpg"
    QString backFile;  // "Back.bmp"
    QString textFile;  // "Back.rtf", the list of contents
};

// The project the program would open at start: the data folder and the project's name from the
// settings (the defaults where the store has none), its folder, or the sample files when that
// folder is missing. settingsProblem receives a failure met while reading the settings (their
// values then take their defaults), empty otherwise.
ExportProject currentProject(const StartupFacts& facts, const QString& startFolder,
                             QString* settingsProblem = nullptr);

// The project in a folder named by the user; its name is the folder's name. Throws AppError
// "There is no project folder <folder>." when the folder does not exist.
ExportProject projectInFolder(const QString& folder);

// The page's source as the main window shows the project: the template, the front and back
// pictures, the name on the spines, and the list of contents with the back picture when that
// picture is the list's copy (so that it prints as text). Throws AppError naming every picture
// that cannot be read (missing or damaged), on one line; a list that cannot be read only leaves
// the back to print as its picture.
// tracks: a folder of audio files or a cue sheet whose track list is laid out on the back as the
// editor's import lays it out, with the album on the spines and the album's picture on the front
// when the project has none that can be read; throws AppError when it gives no list.
PrintSource readForPrint(const ExportProject& project, const StartupFacts& facts,
                         const QString& startFolder, const QString& tracks = QString());

// The project's disc label: the front picture at a size fit for print, the choices of its
// Cover.ini, its name and the lines of its list of contents. Throws AppError when the front
// picture cannot be read.
DiscLabel::Content readLabelContent(const ExportProject& project, const StartupFacts& facts,
                                    const QString& startFolder);

// Carries out a command line that needs no window: the help, the version, a refusal or an
// export. Gives the exit status: 0 when done, 1 when the export failed, 2 for a line that cannot
// be carried out. Failures are one line on err, beginning with the program's name.
int runWithoutWindow(const CommandLine& line, const StartupFacts& facts, const QString& startFolder,
                     QTextStream& out, QTextStream& err);
