// What the program is asked on its command line. Without options it opens its window, with the
// pictures named on the line offered to the front. --export-pdf and --export-png write the page
// of a project as printing makes it and end, without a window; --help and --version print and
// end. The options are read twice: before the application object exists, only to know whether
// the run needs a screen at all, and then in full, in the user's language.
#pragma once

#include "print/PaperFit.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QProcessEnvironment;

struct CommandLine {
    enum class Action {
        OpenWindow,  // the program as usual
        ExportPdf,   // write the page as a PDF file
        ExportPng,   // write the page as a PNG picture at dpi
        ShowHelp,    // print the options and end
        ShowVersion, // print the version and end
        Refuse,      // the line cannot be carried out: error says why
    };
    Action action = Action::OpenWindow;
    QString output;        // the file an export writes
    int dpi = 0;           // the PNG's resolution
    PaperFit::Paper paper = PaperFit::Paper::A4; // the exported page's paper
    bool standardSizes = false; // the covers at the standard jewel-case sizes
    bool disc = false;          // the disc label instead of the insert
    QString projectFolder; // the project an export prints; empty: the current project
    QString tracks;        // with an export: a folder of audio files or a cue sheet whose track
                           // list goes on the back; empty: the project's own list
    QStringList files;     // pictures to open in the window
    QString error;         // one line for the user, naming the option or the value
    QString helpText;      // for ShowHelp
};

// Reads the arguments (the program's name first, as QCoreApplication::arguments() gives them).
// The texts are translated when the program's Dutch texts are installed. withoutScreen: the
// toolkit was started without a screen (platformFor), so a line that wants the window is refused.
// Without --paper the paper is that of the user's locale (LC_ALL, LC_PAPER or LANG).
CommandLine readCommandLine(const QStringList& arguments, bool withoutScreen = false);

// Whether the arguments ask for something done without a window (an export, the help, the
// version, or a PNG resolution without its export, which is refused). Looks only at the
// program's own options, so that it can run before the toolkit reads its own ones.
bool runsWithoutWindow(const QStringList& arguments);

// The platform the toolkit is to start on, unless the user chose one (QT_QPA_PLATFORM or
// -platform): "offscreen" for a run without a window, and when there is no display at all
// (neither DISPLAY nor WAYLAND_DISPLAY), where the toolkit would otherwise end the program before
// it could say why; empty to leave the choice to the toolkit. An export or the help needs no
// display, and one that is set but cannot be reached would end the run before it started.
QByteArray platformFor(const QStringList& arguments, const QProcessEnvironment& environment);

// The command line with the toolkit's option "-platform <name>" added after the program's name,
// as the application object is to be made with; kept alive as long as that object.
class PlatformArguments {
public:
    PlatformArguments(int argc, char** argv, const QByteArray& platform);
    PlatformArguments(const PlatformArguments&) = delete;
    PlatformArguments& operator=(const PlatformArguments&) = delete;

    int& argc() { return argc_; }
    char** argv() { return pointers_.data(); }

private:
    QList<QByteArray> storage_;
    QList<char*> pointers_;
    int argc_ = 0;
};
