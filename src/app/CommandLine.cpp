#include "app/CommandLine.h"

#include "print/PageExport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QProcessEnvironment>

namespace {

// The name of a long option ("export-pdf" for "--export-pdf=out.pdf"), or of a short one ("h"
// for "-h"); empty for anything else.
QString optionName(const QString& argument) {
    if (argument.startsWith(QLatin1String("--")))
        return argument.mid(2).section(u'=', 0, 0);
    if (argument.size() == 2 && argument.startsWith(u'-'))
        return argument.mid(1);
    return {};
}

// The locale that decides the paper, as the C library chooses it.
QString localeName() {
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"})
        if (const QString value = qEnvironmentVariable(name); !value.isEmpty())
            return value;
    return {};
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments, bool withoutScreen) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Lays out and prints the paper insert of a CD jewel case. With --export-pdf or "
        "--export-png it writes the page of a project as printing makes it, without a "
        "window."));
    const QCommandLineOption pdf(
        QStringLiteral("export-pdf"),
        QCoreApplication::translate("CommandLine",
                                    "Writes the page of the project as a PDF file <file>."),
        QCoreApplication::translate("CommandLine", "file"));
    const QCommandLineOption png(
        QStringLiteral("export-png"),
        QCoreApplication::translate(
            "CommandLine", "Writes the page of the project as a PNG picture <file>; needs --dpi."),
        QCoreApplication::translate("CommandLine", "file"));
    const QCommandLineOption dpi(
        QStringLiteral("dpi"),
        QCoreApplication::translate("CommandLine",
                                    "The PNG picture's resolution in dots per inch, %1 to %2.")
            .arg(PageExport::MinDpi)
            .arg(PageExport::MaxDpi),
        QCoreApplication::translate("CommandLine", "n"));
    const QCommandLineOption paper(
        QStringLiteral("paper"),
        QCoreApplication::translate("CommandLine",
                                    "The paper of the exported page: a4 or letter (US Letter). "
                                    "Without it, the paper of your country."),
        QCoreApplication::translate("CommandLine", "paper"));
    const QCommandLineOption standard(
        QStringLiteral("standard-sizes"),
        QCoreApplication::translate("CommandLine",
                                    "Prints the covers at the standard jewel-case sizes (front "
                                    "120 x 120 mm) instead of the design's scale."));
    const QCommandLineOption disc(
        QStringLiteral("disc"),
        QCoreApplication::translate("CommandLine",
                                    "Exports the project's disc label instead of the insert."));
    const QCommandLineOption tracks(
        QStringLiteral("tracks"),
        QCoreApplication::translate(
            "CommandLine",
            "With an export: the track list read from <folder-or-cue> (a folder of audio files or "
            "a cue sheet) goes on the back, the album on the spines, and the album's picture on "
            "the front when the project has none."),
        QCoreApplication::translate("CommandLine", "folder-or-cue"));
    parser.addOptions({pdf, png, dpi, paper, standard, disc, tracks});
    parser.addPositionalArgument(
        QCoreApplication::translate("CommandLine", "project-folder"),
        QCoreApplication::translate(
            "CommandLine",
            "With an export: the project folder to print; without one, the current project. "
            "Otherwise: pictures to open for the front."),
        QCoreApplication::translate("CommandLine", "[project-folder | pictures...]"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    CommandLine line;
    const auto refuse = [&line](const QString& error) {
        line.action = CommandLine::Action::Refuse;
        line.error = error;
        return line;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::ShowHelp;
        line.helpText = parser.helpText();
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::ShowVersion;
        return line;
    }
    const QStringList positional = parser.positionalArguments();
    const bool toPdf = parser.isSet(pdf), toPng = parser.isSet(png);
    if (!toPdf && !toPng) {
        if (parser.isSet(tracks))
            return refuse(QCoreApplication::translate(
                "CommandLine", "--tracks goes with --export-pdf or --export-png only."));
        for (const QCommandLineOption* exportOnly : {&paper, &standard, &disc})
            if (parser.isSet(*exportOnly))
                return refuse(QCoreApplication::translate(
                                  "CommandLine", "%1 goes with --export-pdf or --export-png only.")
                                  .arg(QStringLiteral("--") + exportOnly->names().first()));
        if (parser.isSet(dpi))
            return refuse(
                QCoreApplication::translate("CommandLine", "--dpi goes with --export-png only."));
        if (withoutScreen)
            return refuse(QCoreApplication::translate(
                "CommandLine", "There is no display to show the window on; --export-pdf and "
                               "--export-png work without one (see --help)."));
        line.files = positional;
        return line;
    }
    if (toPdf && toPng)
        return refuse(QCoreApplication::translate(
            "CommandLine", "--export-pdf and --export-png cannot be given together."));
    const QCommandLineOption& chosen = toPdf ? pdf : png;
    line.action = toPdf ? CommandLine::Action::ExportPdf : CommandLine::Action::ExportPng;
    line.output = parser.value(chosen);
    if (line.output.isEmpty())
        return refuse(
            QCoreApplication::translate("CommandLine", "%1 needs the name of the file to write.")
                .arg(QStringLiteral("--") + chosen.names().first()));
    if (parser.values(chosen).size() > 1)
        return refuse(QCoreApplication::translate("CommandLine", "%1 can be given once only.")
                          .arg(QStringLiteral("--") + chosen.names().first()));
    if (positional.size() > 1)
        return refuse(QCoreApplication::translate(
                          "CommandLine", "Only one project folder can be exported; also given: %1")
                          .arg(positional.at(1)));
    line.projectFolder = positional.value(0);
    line.standardSizes = parser.isSet(standard);
    line.disc = parser.isSet(disc);
    line.paper = PaperFit::paperOfLocale(localeName());
    if (parser.isSet(paper)) {
        const QString given = parser.values(paper).constLast().trimmed().toLower();
        if (given == u"a4")
            line.paper = PaperFit::Paper::A4;
        else if (given == u"letter")
            line.paper = PaperFit::Paper::Letter;
        else
            return refuse(QCoreApplication::translate(
                              "CommandLine", "--paper must be a4 or letter, not \"%1\".")
                              .arg(parser.values(paper).constLast()));
    }
    if (parser.isSet(tracks)) {
        line.tracks = parser.values(tracks).constLast();
        if (line.tracks.isEmpty())
            return refuse(QCoreApplication::translate(
                "CommandLine", "--tracks needs a folder of audio files or a cue sheet."));
    }
    if (toPdf) {
        if (parser.isSet(dpi))
            return refuse(
                QCoreApplication::translate("CommandLine", "--dpi goes with --export-png only."));
        return line;
    }
    if (!parser.isSet(dpi))
        return refuse(QCoreApplication::translate(
            "CommandLine", "--export-png needs --dpi, the picture's resolution in dots per inch."));
    bool number = false;
    const QString given = parser.values(dpi).constLast();
    const int value = given.trimmed().toInt(&number);
    if (!number || value < PageExport::MinDpi || value > PageExport::MaxDpi)
        return refuse(QCoreApplication::translate(
                          "CommandLine", "--dpi must be a whole number from %1 to %2, not \"%3\".")
                          .arg(PageExport::MinDpi)
                          .arg(PageExport::MaxDpi)
                          .arg(given));
    line.dpi = value;
    return line;
}

bool runsWithoutWindow(const QStringList& arguments) {
    const QStringList withoutWindow{
        QStringLiteral("export-pdf"), QStringLiteral("export-png"), QStringLiteral("dpi"),
        QStringLiteral("paper"),      QStringLiteral("standard-sizes"), QStringLiteral("disc"),
        QStringLiteral("help"),       QStringLiteral("help-all"),   QStringLiteral("version"),
        QStringLiteral("tracks"),     QStringLiteral("h"),          QStringLiteral("?"),          QStringLiteral("v")};
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break; // what follows is a file name
        if (withoutWindow.contains(optionName(argument)))
            return true;
    }
    return false;
}

QByteArray platformFor(const QStringList& arguments, const QProcessEnvironment& environment) {
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return {};
    for (const QString& argument : arguments.mid(1))
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform"))
            return {};
    const bool display = !environment.value(QStringLiteral("DISPLAY")).isEmpty() ||
                         !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (display && !runsWithoutWindow(arguments))
        return {};
    return QByteArrayLiteral("offscreen");
}

PlatformArguments::PlatformArguments(int argc, char** argv, const QByteArray& platform) {
    for (int i = 0; i < argc; ++i) {
        storage_.append(QByteArray(argv[i]));
        if (i == 0 && !platform.isEmpty())
            storage_ << QByteArrayLiteral("-platform") << platform;
    }
    for (QByteArray& argument : storage_)
        pointers_.append(argument.data());
    argc_ = int(pointers_.size());
    pointers_.append(nullptr);
}
