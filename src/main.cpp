#include "app/Main.h"
#include "app/Startup.h"
#include "platform/Fonts.h"
#include "support/Support.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    StartUp();
    QApplication::setApplicationName(QStringLiteral("Sleevix"));
    QApplication::setApplicationDisplayName(QString());
    InstallFontSubstitutes();
    InstallToolkitTexts();
    CreateForms();
    MainForm->show();
    const int result = app.exec();
    DestroyForms();
    return result;
}
