#include "platform/JpegSplit.h"

#include "platform/FileBytes.h"

#include <QList>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Jpeg {
namespace {

int be16(const uchar* p) {
    return int(p[0]) << 8 | int(p[1]);
}

void putBe16(QByteArray& d, qsizetype at, int value) {
    d[at] = char(value >> 8);
    d[at + 1] = char(value & 0xff);
}

// Bytes of the file at an offset; fewer when the file is shorter.
QByteArray bytesAt(const FileBytes& file, qint64 at, qint64 length) {
    length = std::max<qint64>(0, std::min(length, file.size() - at));
    QByteArray bytes(length, Qt::Uninitialized);
    bytes.truncate(file.read(at, bytes.data(), length));
    return bytes;
}

} // namespace

std::optional<Split> findSplit(const FileBytes& file) {
    const qint64 size = file.size();
    const QByteArray start = bytesAt(file, 0, 2);
    if (start.size() < 2 || uchar(start[0]) != 0xFF || uchar(start[1]) != 0xD8)
        return std::nullopt;
    qint64 at = 2;
    qint64 sofHeightAt = -1;
    int width = 0, height = 0, components = 0, hMax = 1, vMax = 1, interval = 0;
    qint64 entropyStart = -1;
    while (entropyStart < 0) {
        const QByteArray head = bytesAt(file, at, 4);
        if (head.size() < 4 || uchar(head[0]) != 0xFF)
            return std::nullopt;
        const auto* h = reinterpret_cast<const uchar*>(head.constData());
        const int marker = h[1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const int length = be16(h + 2);
        if (length < 2 || at + 2 + length > size)
            return std::nullopt;
        const qint64 body = at + 4;
        const bool frame = marker == 0xC0 || marker == 0xC1;
        const QByteArray segment =
            frame || marker == 0xDD || marker == 0xDA ? bytesAt(file, body, length - 2) : QByteArray();
        const auto* s = reinterpret_cast<const uchar*>(segment.constData());
        if (frame) {
            if (length < 8)
                return std::nullopt;
            sofHeightAt = body + 1;
            height = be16(s + 1);
            width = be16(s + 3);
            components = s[5];
            if (length < 8 + 3 * components || components < 1 || width < 1 || height < 1)
                return std::nullopt;
            for (int c = 0; c < components; ++c) {
                const int sampling = s[6 + 3 * c + 1];
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
            interval = be16(s);
        } else if (marker == 0xDA) {
            if (sofHeightAt < 0 || length < 3 || s[0] != components)
                return std::nullopt;
            entropyStart = at + 2 + length;
        }
        at += 2 + length;
    }
    if (interval <= 0 || hMax > 4 || vMax > 4)
        return std::nullopt;

    // Where each interval after the first begins, and where the picture's data ends; read in
    // pieces, so that a large file is never held whole.
    QList<qint64> restarts;
    qint64 entropyEnd = -1;
    constexpr qint64 Chunk = 256 * 1024;
    std::vector<char> buffer(Chunk);
    for (qint64 base = entropyStart; entropyEnd < 0 && base + 1 < size;) {
        const qint64 got = file.read(base, buffer.data(), Chunk);
        if (got < 2)
            break;
        const char* bytes = buffer.data();
        qint64 j = 0;
        while (j + 1 < got) {
            const void* found = std::memchr(bytes + j, 0xFF, size_t(got - j - 1));
            if (!found) {
                j = got - 1;
                break;
            }
            j = static_cast<const char*>(found) - bytes;
            const int next = uchar(bytes[j + 1]);
            if (next == 0x00 || next == 0xFF) { // a stuffed byte, or fill before a marker
                j += next == 0x00 ? 2 : 1;
                continue;
            }
            if (next >= 0xD0 && next <= 0xD7) {
                restarts.append(base + j);
                j += 2;
                continue;
            }
            entropyEnd = base + j;
            break;
        }
        base += j; // the byte a pair starts at is looked at again with its follower
    }
    if (entropyEnd < 0)
        return std::nullopt;

    const int mcuWidth = 8 * hMax, mcuHeight = 8 * vMax;
    const qint64 perRow = (width + mcuWidth - 1) / mcuWidth;
    const qint64 rows = (height + mcuHeight - 1) / mcuHeight;
    const qint64 intervals = (perRow * rows + interval - 1) / interval;
    if (restarts.size() != intervals - 1)
        return std::nullopt;

    // The boundary nearest the middle that starts a row and a new round of marker numbers.
    qint64 best = -1;
    for (qint64 s = 8; s < intervals; s += 8) {
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

    Split split;
    split.topHeight = int(topRows * mcuHeight);
    split.topHeader = bytesAt(file, 0, entropyStart);
    if (split.topHeader.size() != entropyStart)
        return std::nullopt;
    split.bottomHeader = split.topHeader;
    putBe16(split.topHeader, sofHeightAt, split.topHeight);
    putBe16(split.bottomHeader, sofHeightAt, height - split.topHeight);
    split.topStart = entropyStart;
    split.topEnd = restarts[best - 1];
    split.bottomStart = restarts[best - 1] + 2;
    split.bottomEnd = entropyEnd;
    return split;
}

} // namespace Jpeg
