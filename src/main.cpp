#include "app/MainWindow.h"
#include "app/Startup.h"
#include "controls/MnemonicStyle.h"
#include "platform/Fonts.h"
#include "support/Support.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QProcessEnvironment>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const StartupFacts facts = readStartupFacts();
    QApplication::setApplicationName(QStringLiteral("Sleevix"));
    QApplication::setApplicationDisplayName(QString());
    // Ties the windows to the menu entry (and its icon) on desktops that ask.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.sleevix.Sleevix"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.sleevix.Sleevix")));
    QApplication::setStyle(new MnemonicStyle);
    installFontSubstitutes();
    installToolkitTexts(facts.isDutch());
    installProgramTexts(facts.isDutch());
    ProgramWindows windows(facts, QDir::currentPath(),
                           UpdateServer::fromEnvironment(QProcessEnvironment::systemEnvironment()));
    // Pictures the program is opened with (from a file manager, through the menu entry).
    windows.mainWindow().openFiles(QCoreApplication::arguments().mid(1));
    windows.mainWindow().show();
    return app.exec();
}
