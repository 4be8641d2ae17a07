#include "app/MainWindow.h"
#include "app/Startup.h"
#include "platform/Fonts.h"
#include "support/Support.h"

#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const StartupFacts facts = readStartupFacts();
    QApplication::setApplicationName(QStringLiteral("Sleevix"));
    QApplication::setApplicationDisplayName(QString());
    installFontSubstitutes();
    installToolkitTexts(facts.isDutch());
    installProgramTexts(facts.isDutch());
    ProgramWindows windows(facts, QDir::currentPath(),
                           UpdateServer::fromEnvironment(QProcessEnvironment::systemEnvironment()));
    windows.mainWindow().show();
    return app.exec();
}
