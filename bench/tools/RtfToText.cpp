// The program's RTF reader as a process, the way `unrtf --text` is one: reads the RTF file into a
// document as the back-cover editor does and writes its text to standard output.
//
//   rtf_to_text FILE
#include "rtf/RtfReader.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    QTextDocument document;
    try {
        RtfReader::read(&in, &document);
    } catch (const AppError&) {
        return 1;
    }
    const QByteArray text = document.toPlainText().toUtf8();
    return std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout) ==
                   std::size_t(text.size())
               ? 0
               : 1;
}
