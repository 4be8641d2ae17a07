// One front picture shown as the program's start shows it, in a process of its own: the file
// read through the program's picture loader at the front's size and stretched into the front
// square of the layout canvas. Exit status 0 when it loaded.
#include "cover/Cover.h"
#include "cover/CoverLayout.h"
#include "platform/AppError.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QImage layout = Layout::newLayoutImage(Cover::CanvasWidth);
    try {
        Picture picture;
        picture.loadFromFile(QString::fromLocal8Bit(argv[1]), Layout::FrontRect.size());
        Canvas canvas(&layout);
        canvas.stretchDraw(Layout::FrontRect, picture.image());
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return layout.pixel(Layout::FrontRect.center()) == 0 ? 3 : 0;
}
