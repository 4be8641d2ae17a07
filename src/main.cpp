#include "app/CommandLine.h"
#include "app/Export.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "controls/MnemonicStyle.h"
#include "dialogs/ErrorGuard.h"
#include "platform/Fonts.h"
#include "platform/RuntimeFolder.h"
#include "support/Support.h"

#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QTextStream>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    // The font configuration is read beside the toolkit's start.
    FontConfigurationWarmUp fontWarmUp;
    // An export, the help and the version need no screen: the toolkit then starts without one.
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    const QByteArray platform = platformFor(given, QProcessEnvironment::systemEnvironment());
    PlatformArguments arguments(argc, argv, platform);
    provideRuntimeFolder(); // the command line prints only its own lines
    QApplication app(arguments.argc(), arguments.argv());
    const StartupFacts facts = readStartupFacts();
    QApplication::setApplicationName(QStringLiteral("Sleevix"));
    QApplication::setApplicationDisplayName(QString());
    installFontSubstitutes();
    installToolkitTexts(facts.isDutch());
    installProgramTexts(facts.isDutch());
    const CommandLine line = readCommandLine(QCoreApplication::arguments(), !platform.isEmpty());
    if (line.action != CommandLine::Action::OpenWindow) {
        QTextStream out(stdout), err(stderr);
        return runWithoutWindow(line, facts, QDir::currentPath(), out, err);
    }
    // Ties the windows to the menu entry (and its icon) on desktops that ask.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.sleevix.Sleevix"));
    QApplication::setStyle(new MnemonicStyle);
    fontWarmUp.wait(); // the windows lay out text from here on
    // The making of the windows runs under the same guard as every handler: what fails there is
    // shown in the error box, and the program ends cleanly after it when it has no window.
    std::unique_ptr<ProgramWindows> windows;
    const bool made = ErrorGuard::run(nullptr, [&] {
        windows = std::make_unique<ProgramWindows>(
            facts, QDir::currentPath(),
            UpdateServer::fromEnvironment(QProcessEnvironment::systemEnvironment()));
        // Pictures the program is opened with (from a file manager, through the menu entry).
        windows->mainWindow().openFiles(line.files);
        windows->mainWindow().show();
    });
    if (!made)
        return 1;
    return app.exec();
}
