// Saves a project into the folder given, again and again until it is killed, each save's three
// files marked with its number (from the second argument on): "save <n>" in Back.rtf and in a
// comment of Front.jpg, n in the colour of every pixel of Back.bmp. After each save it prints
// the number on a line of its own. The kill test ends it with SIGKILL at random moments; with a
// third argument "once" it saves once and ends.
#include "cover/ProjectFiles.h"
#include "platform/AppError.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>

namespace {

QByteArray frontWithMark(const QByteArray& jpeg, const QByteArray& mark) {
    // A comment segment right after the start of the picture.
    QByteArray comment("\xFF\xFE", 2);
    const int length = int(mark.size()) + 2;
    comment.append(char(length >> 8)).append(char(length & 0xFF)).append(mark);
    return jpeg.left(2) + comment + jpeg.mid(2);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3 && !(argc == 4 && QByteArray(argv[3]) == "once"))
        return 2;
    const bool once = argc == 4;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    qint64 n = QByteArray(argv[2]).toLongLong();
    QByteArray jpeg;
    {
        QImage small(16, 16, QImage::Format_RGB32);
        small.fill(Qt::darkGreen);
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "jpeg").write(small);
    }
    QImage backImage(552, 472, QImage::Format_RGB32);
    for (;; ++n) {
        const QByteArray mark = "save " + QByteArray::number(n);
        backImage.fill(qRgb(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF)));
        Picture back;
        back.setImage(backImage);
        Picture front;
        front.loadFromData(frontWithMark(jpeg, mark), QStringLiteral("jpg"));
        try {
            Project::writeFiles(folder, "{\\rtf1 " + mark + "}", back, front);
        } catch (const AppError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
        std::printf("%lld\n", n);
        std::fflush(stdout);
        if (once)
            return 0;
    }
}
