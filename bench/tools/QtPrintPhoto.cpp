// What Qt alone does to print a photo, the memory baseline of the export benchmark: reads the
// JPEG whole with QImage and draws it on an A4 PDF page through QPrinter, into a 12 cm square at
// the printer's resolution, as a program written with Qt alone would.
//
//   qt_print_photo PHOTO OUTPUT.pdf
#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QImageReader::setAllocationLimit(0);
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QImage photo(QString::fromLocal8Bit(argv[1]));
    if (photo.isNull())
        return 1;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(argv[2]));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter;
    if (!painter.begin(&printer))
        return 1;
    const int side = qRound(120 / 25.4 * printer.resolution());
    painter.drawImage(QRect(0, 0, side, side), photo);
    return painter.end() ? 0 : 1;
}
