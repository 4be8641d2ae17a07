#include "platform/JpegSplit.h"

#include <QList>
#include <cstdlib>
#include <cstring>

namespace Jpeg {
namespace {

int be16(const QByteArray& d, qsizetype at) {
    return int(uchar(d[at])) << 8 | int(uchar(d[at + 1]));
}

void putBe16(QByteArray& d, qsizetype at, int value) {
    d[at] = char(value >> 8);
    d[at + 1] = char(value & 0xff);
}

} // namespace

std::optional<Halves> splitAtRestartMarker(const QByteArray& d) {
    const qsizetype size = d.size();
    if (size < 4 || uchar(d[0]) != 0xFF || uchar(d[1]) != 0xD8)
        return std::nullopt;
    qsizetype at = 2;
    qsizetype sofHeightAt = -1;
    int width = 0, height = 0, components = 0, hMax = 1, vMax = 1, interval = 0;
    qsizetype entropyStart = -1;
    while (entropyStart < 0) {
        if (at + 4 > size || uchar(d[at]) != 0xFF)
            return std::nullopt;
        const int marker = uchar(d[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const int length = be16(d, at + 2);
        if (length < 2 || at + 2 + length > size)
            return std::nullopt;
        const qsizetype body = at + 4;
        if (marker == 0xC0 || marker == 0xC1) {
            if (length < 8)
                return std::nullopt;
            sofHeightAt = body + 1;
            height = be16(d, body + 1);
            width = be16(d, body + 3);
            components = uchar(d[body + 5]);
            if (length < 8 + 3 * components || components < 1 || width < 1 || height < 1)
                return std::nullopt;
            for (int c = 0; c < components; ++c) {
                const int sampling = uchar(d[body + 6 + 3 * c + 1]);
                hMax = std::max(hMax, sampling >> 4);
                vMax = std::max(vMax, sampling & 0x0f);
            }
        } else if ((marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                    marker != 0xCC) ||
                   marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0xD9) {
            return std::nullopt; // progressive, lossless, arithmetic, or out of place
        } else if (marker == 0xDD) {
            if (length < 4)
                return std::nullopt;
            interval = be16(d, body);
        } else if (marker == 0xDA) {
            if (sofHeightAt < 0 || uchar(d[body]) != components)
                return std::nullopt;
            entropyStart = at + 2 + length;
        }
        at += 2 + length;
    }
    if (interval <= 0 || hMax > 4 || vMax > 4)
        return std::nullopt;

    // Where each interval after the first begins, and where the picture's data ends.
    QList<qsizetype> restarts;
    qsizetype entropyEnd = -1;
    const char* bytes = d.constData();
    for (qsizetype j = entropyStart; j + 1 < size;) {
        const void* found = std::memchr(bytes + j, 0xFF, size_t(size - j - 1));
        if (!found)
            break;
        j = static_cast<const char*>(found) - bytes;
        const int next = uchar(bytes[j + 1]);
        if (next == 0x00 || next == 0xFF) { // a stuffed byte, or fill before a marker
            j += next == 0x00 ? 2 : 1;
            continue;
        }
        if (next >= 0xD0 && next <= 0xD7) {
            restarts.append(j);
            j += 2;
            continue;
        }
        entropyEnd = j;
        break;
    }
    if (entropyEnd < 0)
        return std::nullopt;

    const int mcuWidth = 8 * hMax, mcuHeight = 8 * vMax;
    const qint64 perRow = (width + mcuWidth - 1) / mcuWidth;
    const qint64 rows = (height + mcuHeight - 1) / mcuHeight;
    const qint64 intervals = (perRow * rows + interval - 1) / interval;
    if (restarts.size() != intervals - 1)
        return std::nullopt;

    // The interval boundary at a row start nearest the middle.
    qint64 best = -1;
    for (qint64 s = 1; s < intervals; ++s) {
        const qint64 mcus = s * interval;
        if (mcus % perRow != 0)
            continue;
        const qint64 row = mcus / perRow;
        if (best < 0 ||
            std::llabs(2 * row - rows) < std::llabs(2 * (best * interval / perRow) - rows))
            best = s;
    }
    if (best < 0)
        return std::nullopt;
    const qint64 topRows = best * interval / perRow;
    if (4 * topRows < rows || 4 * topRows > 3 * rows)
        return std::nullopt;

    Halves halves;
    halves.topHeight = int(topRows * mcuHeight);
    const qsizetype cut = restarts[best - 1];
    const QByteArray end("\xff\xd9", 2);

    halves.top.reserve(cut + 2);
    halves.top.append(bytes, cut).append(end);
    putBe16(halves.top, sofHeightAt, halves.topHeight);

    halves.bottom.reserve(entropyStart + (entropyEnd - cut) + 2);
    halves.bottom.append(bytes, entropyStart);
    putBe16(halves.bottom, sofHeightAt, height - halves.topHeight);
    // The decoder expects the markers of a file to count from RST0.
    const qsizetype restStart = halves.bottom.size();
    halves.bottom.append(bytes + cut + 2, entropyEnd - cut - 2).append(end);
    char* rest = halves.bottom.data();
    int count = 0;
    for (qsizetype t = best; t < restarts.size(); ++t)
        rest[restStart + (restarts[t] - cut - 2) + 1] = char(0xD0 + (count++ % 8));
    return halves;
}

} // namespace Jpeg
