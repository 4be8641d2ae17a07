// A project printed as the print preview prints it, to a print queue of the spooler at a chosen
// resolution, as a process of its own so that its memory can be measured from outside:
//
//   print_project PROJECT_FOLDER QUEUE DPI
#include "app/Export.h"
#include "platform/AppError.h"
#include "print/PrintPreview.h"
#include "support/Support.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QPrinter>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PROJECT_FOLDER QUEUE DPI\n", argv[0]);
        return 2;
    }
    try {
        const PrintSource source =
            readForPrint(projectInFolder(QString::fromLocal8Bit(argv[1])), readStartupFacts(),
                         QDir::currentPath());
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(QString::fromLocal8Bit(argv[2]));
        printer.setResolution(QString::fromLocal8Bit(argv[3]).toInt());
        printLayoutOn(printer, source, 96, 96, 1.0, PrintMode::Sharp);
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
