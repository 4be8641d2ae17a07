// The smallest Qt widgets program: shows a window of the main window's size and runs until it is
// ended; the start-up benchmark times it to its first painted pixels.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(866, 900);
    window.show();
    return app.exec();
}
