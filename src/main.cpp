#include "app/MainWindow.h"
#include "app/Startup.h"
#include "platform/Fonts.h"
#include "support/Support.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    startUp();
    QApplication::setApplicationName(QStringLiteral("Sleevix"));
    QApplication::setApplicationDisplayName(QString());
    installFontSubstitutes();
    installToolkitTexts();
    createForms();
    mainWindow->show();
    const int result = app.exec();
    destroyForms();
    return result;
}
