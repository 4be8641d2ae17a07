#include "print/PdfJpeg.h"

#include "platform/AppError.h"
#include "platform/JpegDecoder.h"

#include <QList>
#include <QRegularExpression>

namespace PdfJpeg {

namespace {

constexpr QSize StandInSize(7, 3);

int be16(const QByteArray& d, qsizetype at) {
    return uchar(d[at]) << 8 | uchar(d[at + 1]);
}

// The frame header (SOFn) of a JPEG: the marker, precision, size and components.
struct Frame {
    int marker = 0;
    int precision = 0;
    QSize size;
    int components = 0;
};

std::optional<Frame> frameOf(const QByteArray& d) {
    if (d.size() < 4 || uchar(d[0]) != 0xFF || uchar(d[1]) != 0xD8)
        return std::nullopt;
    qsizetype at = 2;
    while (at + 4 <= d.size()) {
        if (uchar(d[at]) != 0xFF)
            return std::nullopt;
        const int marker = uchar(d[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) // end or scan before any frame
            return std::nullopt;
        const int length = be16(d, at + 2);
        if (length < 2 || at + 2 + length > d.size())
            return std::nullopt;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 &&
                           marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8)
                return std::nullopt;
            Frame f;
            f.marker = marker;
            f.precision = uchar(d[at + 4]);
            f.size = QSize(be16(d, at + 7), be16(d, at + 5));
            f.components = uchar(d[at + 9]);
            return f;
        }
        at += 2 + length;
    }
    return std::nullopt;
}

// The object "N 0 obj ... endobj" holding the stand-in's image: its start, end and number.
struct Span {
    qsizetype start = -1;
    qsizetype end = -1;
};

std::optional<qsizetype> lengthValue(const QByteArray& pdf, const QByteArray& dictionary) {
    static const QRegularExpression direct(QStringLiteral("/Length (\\d+)(?! \\d+ R)"));
    static const QRegularExpression indirect(QStringLiteral("/Length (\\d+) 0 R"));
    const QString dict = QString::fromLatin1(dictionary);
    if (const auto m = indirect.match(dict); m.hasMatch()) {
        const QByteArray head = "\n" + m.captured(1).toLatin1() + " 0 obj\n";
        const qsizetype at = pdf.indexOf(head);
        if (at < 0)
            return std::nullopt;
        bool ok = false;
        const qsizetype value =
            pdf.mid(at + head.size(), 24).split('\n').value(0).trimmed().toLongLong(&ok);
        return ok ? std::optional<qsizetype>(value) : std::nullopt;
    }
    if (const auto m = direct.match(dict); m.hasMatch())
        return m.captured(1).toLongLong();
    return std::nullopt;
}

std::optional<Span> standInObject(const QByteArray& pdf) {
    const QByteArray width = "/Width " + QByteArray::number(StandInSize.width()) + "\n";
    const QByteArray height = "/Height " + QByteArray::number(StandInSize.height()) + "\n";
    std::optional<Span> found;
    for (qsizetype at = pdf.indexOf("/Subtype /Image"); at >= 0;
         at = pdf.indexOf("/Subtype /Image", at + 1)) {
        const qsizetype start = pdf.lastIndexOf(" 0 obj\n", at);
        const qsizetype streamAt = pdf.indexOf(">>\nstream\n", at);
        if (start < 0 || streamAt < 0)
            return std::nullopt;
        const QByteArray dictionary = pdf.mid(start, streamAt - start);
        if (!dictionary.contains(width) || !dictionary.contains(height))
            continue;
        if (found)
            return std::nullopt; // more than one: not ours to choose
        const auto length = lengthValue(pdf, dictionary);
        if (!length)
            return std::nullopt;
        const qsizetype dataEnd = streamAt + 10 + *length;
        const QByteArray tail = "\nendstream\nendobj\n";
        if (pdf.mid(dataEnd, tail.size()) != tail)
            return std::nullopt;
        // The object's number begins the line.
        const qsizetype lineStart = pdf.lastIndexOf('\n', start) + 1;
        found = Span{lineStart, dataEnd + tail.size()};
    }
    return found;
}

} // namespace

std::optional<Passable> passable(const QByteArray& jpeg) {
    const auto frame = frameOf(jpeg);
    // Baseline, extended sequential and progressive Huffman-coded frames of 8 bits.
    if (!frame || (frame->marker != 0xC0 && frame->marker != 0xC1 && frame->marker != 0xC2) ||
        frame->precision != 8 || (frame->components != 1 && frame->components != 3) ||
        frame->size.isEmpty())
        return std::nullopt;
    try {
        if (Jpeg::readHeader(jpeg).orientation != 1)
            return std::nullopt;
    } catch (const AppError&) {
        return std::nullopt;
    }
    return Passable{frame->size, frame->components};
}

QImage standIn() {
    QImage image(StandInSize, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    return image;
}

bool putInPlaceOfStandIn(QByteArray& pdf, const QByteArray& jpeg, const Passable& picture) {
    const auto span = standInObject(pdf);
    const qsizetype xrefAt = pdf.lastIndexOf("\nxref\n");
    const qsizetype startxrefAt = pdf.lastIndexOf("\nstartxref\n");
    if (!span || xrefAt < span->end || startxrefAt < xrefAt)
        return false;
    const QByteArray number = pdf.mid(span->start, pdf.indexOf(' ', span->start) - span->start);
    const QByteArray dictionary = pdf.mid(span->start, pdf.indexOf(">>\nstream\n", span->start) -
                                                           span->start);
    QByteArray object = number + " 0 obj\n<<\n/Type /XObject\n/Subtype /Image\n/Width " +
                        QByteArray::number(picture.size.width()) + "\n/Height " +
                        QByteArray::number(picture.size.height()) +
                        "\n/BitsPerComponent 8\n/ColorSpace " +
                        (picture.components == 1 ? "/DeviceGray" : "/DeviceRGB") + "\n";
    if (dictionary.contains("/Interpolate true"))
        object += "/Interpolate true\n";
    object += "/Length " + QByteArray::number(jpeg.size()) + "\n/Filter /DCTDecode\n>>\nstream\n";
    object += jpeg;
    object += "\nendstream\nendobj\n";
    const qsizetype delta = object.size() - (span->end - span->start);

    // The cross-reference table: "xref", "0 <count>", then one 20-byte line an object.
    QList<QByteArray> lines = pdf.mid(xrefAt + 1, startxrefAt - xrefAt).split('\n');
    if (lines.size() < 3 || lines[0] != "xref")
        return false;
    const QList<QByteArray> section = lines[1].split(' ');
    bool ok = false;
    const int count = section.value(1).toInt(&ok);
    if (section.value(0) != "0" || !ok || lines.size() < 2 + count)
        return false;
    for (int i = 0; i < count; ++i) {
        QByteArray& line = lines[2 + i];
        if (line.size() < 18 || !line.endsWith(" n ")) {
            if (line.endsWith(" f "))
                continue;
            return false;
        }
        const qsizetype offset = line.left(10).toLongLong(&ok);
        if (!ok)
            return false;
        if (offset > span->start)
            line = QByteArray::number(offset + delta).rightJustified(10, '0') + line.mid(10);
    }
    const qsizetype oldXref = pdf.mid(startxrefAt + 11, 24).split('\n').value(0).trimmed()
                                  .toLongLong(&ok);
    if (!ok || oldXref != xrefAt + 1)
        return false;
    QByteArray result = pdf.left(span->start) + object +
                        pdf.mid(span->end, xrefAt + 1 - span->end) + lines.join('\n');
    result += "startxref\n" + QByteArray::number(oldXref + delta) + " \n%%EOF\n";
    pdf = result;
    return true;
}

} // namespace PdfJpeg
