// The same with Qt alone, the way one would write it: Qt's JPEG reader asked for the front's
// size (which lets libjpeg decode at a reduced scale before Qt smooths it to that size), drawn
// stretched into the front square of a canvas of the layout's size.
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QRect front(180, 60, 480, 480);
    QImage layout(845, 1188, QImage::Format_RGB32);
    layout.fill(Qt::white);
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    reader.setAutoTransform(true);
    reader.setScaledSize(front.size());
    const QImage picture = reader.read();
    if (picture.isNull()) {
        std::fprintf(stderr, "%s\n", qPrintable(reader.errorString()));
        return 1;
    }
    QPainter(&layout).drawImage(front, picture);
    return layout.pixel(front.center()) == 0 ? 3 : 0;
}
