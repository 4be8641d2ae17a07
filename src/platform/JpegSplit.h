// Splitting a JPEG at a restart marker, so that its two halves can be decoded on two cores.
// Most of the time of showing a large photo goes into libjpeg's entropy decoding, which no
// scale factor skips; a file with restart markers (as cameras write them) can be cut where an
// interval starts a new row of blocks, and each half is then read as a JPEG of its own: the
// file's header (with the half's height) followed by the half's part of the data.
#pragma once

#include <QByteArray>
#include <optional>

class FileBytes;

namespace Jpeg {

struct Split {
    QByteArray topHeader;    // the file's markers and tables, the height that of the top half
    QByteArray bottomHeader; // the same with the bottom half's height
    qint64 topStart = 0;     // the top half's data: [topStart, topEnd)
    qint64 topEnd = 0;
    qint64 bottomStart = 0; // the bottom half's data, from just after the restart marker cut at
    qint64 bottomEnd = 0;
    int topHeight = 0; // rows of the picture in the top half, as stored
};

// Nothing when the file has no restart markers, is not sequential (progressive, lossless,
// arithmetic), has a scan that does not hold every component, has a marker count that does not
// match its size, or has no interval boundary at a row start between a quarter and three
// quarters of its height where the markers' numbering starts again (every eighth interval), so
// that the bottom half's markers count from the first as a file's must.
std::optional<Split> findSplit(const FileBytes& bytes);

} // namespace Jpeg
