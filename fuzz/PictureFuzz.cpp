// Loads arbitrary bytes as a front picture (content sniffing, libjpeg-turbo with scaled decoding
// and EXIF orientation, bitmaps and the other formats through Qt). Anything may be refused with
// an AppError; nothing may crash, leak or allocate without bound.
#include "platform/AppError.h"
#include "platform/FileBytes.h"
#include "platform/JpegDecoder.h"
#include "platform/JpegSplit.h"
#include "platform/Picture.h"

#include <QGuiApplication>
#include <QImageReader>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QImageReader::setAllocationLimit(256);
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Cutting at a restart marker and decoding the halves, whatever the file's size.
    if (const auto split = Jpeg::findSplit(*FileBytes::inMemory(bytes))) {
        try {
            (void)Jpeg::decodeInHalves(bytes, QSize(64, 64));
        } catch (const AppError&) {
        }
    }
    for (const char* extension : {"jpg", "bmp"}) {
        Picture picture;
        try {
            picture.loadFromData(bytes, QString::fromLatin1(extension), QSize(480, 480));
            (void)picture.decode(QSize(64, 64));
        } catch (const AppError&) {
        }
    }
    return 0;
}
