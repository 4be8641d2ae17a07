// Feeds arbitrary bytes to the RTF reader, then writes what it read and reads that again:
// no input may crash, hang or exhaust memory, and the writer must cope with whatever the reader
// builds.
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

namespace {

// Hands out a few bytes a read, so that every token can be split across the reader's blocks.
class Trickle : public QBuffer {
public:
    explicit Trickle(const QByteArray& data) { setData(data); }

protected:
    qint64 readData(char* data, qint64 maxlen) override {
        return QBuffer::readData(data, std::min<qint64>(maxlen, 7));
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    try {
        RtfReader::read(bytes, &doc);
    } catch (const RtfFormatError&) {
        return 0;
    }
    // Reading through a device in small pieces gives the same document.
    Trickle device(bytes);
    device.open(QIODevice::ReadOnly);
    QTextDocument streamed;
    RtfReader::read(&device, &streamed);
    if (streamed.toPlainText() != doc.toPlainText())
        abort();

    const QByteArray written = RtfWriter::toRtf(&doc);
    QTextDocument again;
    RtfReader::read(written, &again); // our own output is always RTF
    if (again.toPlainText() != doc.toPlainText())
        abort(); // what the writer wrote must read back as the same text
    return 0;
}
