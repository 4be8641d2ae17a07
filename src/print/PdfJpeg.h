// A JPEG photo in a PDF page as the photo's own bytes. Qt's PDF writer takes only decoded
// pictures and encodes them afresh as JPEG, which for a 24-megapixel photo costs a full decode,
// a full encode and two copies of its pixels. Instead the page is drawn with a small stand-in
// picture in the photo's place, and the stand-in's image object in the written PDF is replaced by
// the JPEG file's bytes (PDF's DCTDecode reads JPEG as it is), the cross-reference table moved
// to match.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

namespace PdfJpeg {

struct Passable {
    QSize size;     // as stored, which is upright
    int components; // 1 (grey) or 3 (colour)
};

// Whether a PDF shows these JPEG bytes unchanged as the picture the program decodes from them:
// baseline or progressive, 8 bits, grey or colour, EXIF orientation upright. Nothing otherwise
// (CMYK, 12 bits, arithmetic coding, a turned orientation, damaged data).
std::optional<Passable> passable(const QByteArray& jpeg);

// The stand-in drawn in the photo's place: a few pixels of a size the layout uses nowhere else.
QImage standIn();

// Replaces in a PDF written by Qt the image object of the stand-in's size with the JPEG's bytes.
// False, leaving the PDF as it was, when there is not exactly one such object or the file's
// structure is not the one expected.
bool putInPlaceOfStandIn(QByteArray& pdf, const QByteArray& jpeg, const Passable& picture);

} // namespace PdfJpeg
