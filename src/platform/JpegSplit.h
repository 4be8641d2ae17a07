// Splitting a JPEG at a restart marker, so that its two halves can be decoded on two cores.
// Most of the time of showing a large photo goes into libjpeg's entropy decoding, which no
// scale factor skips; a file with restart markers (as cameras write them) can be cut where an
// interval starts a new row of blocks, and each half is then a JPEG of its own.
#pragma once

#include <QByteArray>
#include <optional>

namespace Jpeg {

struct Halves {
    QByteArray top;    // a complete JPEG of the upper rows
    QByteArray bottom; // a complete JPEG of the rest, restart markers numbered from 0
    int topHeight = 0; // rows of the picture in the upper half, as stored
};

// Nothing when the file has no restart markers, is not sequential (progressive, lossless,
// arithmetic), has a scan that does not hold every component, has a marker count that does not
// match its size, or has no interval boundary at a row start between a quarter and three
// quarters of its height.
std::optional<Halves> splitAtRestartMarker(const QByteArray& data);

} // namespace Jpeg
