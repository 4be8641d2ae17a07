// How a project's pictures fill their shapes, kept beside its three files in "Cover.ini": how the
// front picture fills the square front (stretched, cropped to a square the user placed, or fitted
// whole on a background colour), and the disc label's choices. A project without the file has the
// defaults, which print as projects always printed: the front stretched.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

enum class FrontFill { Stretch, Crop, Fit };
enum class LabelTracks { None, Ring, Block };

struct CoverOptions {
    FrontFill fill = FrontFill::Stretch;
    // The square of the upright picture that a cropped front shows, in fractions of the
    // picture's width and height; empty: the largest square in the picture's middle.
    QRectF crop;
    QColor background = Qt::white; // around a picture fitted whole

    // The disc label: 41 mm centre hole, or 15 mm for a full-face label.
    int holeMm = 41;
    LabelTracks tracks = LabelTracks::None;
    // The square of the picture the label shows; empty: the front's.
    QRectF labelCrop;
    QString labelSheet; // the name of the label sheet printed on; empty: the first one

    bool isDefault() const { return *this == CoverOptions{}; }
    friend bool operator==(const CoverOptions&, const CoverOptions&) = default;
};

namespace Project {
inline const QString CoverOptionsFile = QStringLiteral("Cover.ini");
}

// The file's text: an INI file with the sections [Front] and [Label].
QByteArray coverOptionsText(const CoverOptions& options);
// Reads the file's text. What is missing or cannot be read keeps its default, so that a file
// edited by hand or written by a later version still opens.
CoverOptions readCoverOptions(const QByteArray& text);

// The square of a picture of this size that a crop shows, in its pixels: the crop given, made
// square in pixels and kept inside the picture, or the largest centred square.
QRectF cropSquare(QSize picture, const QRectF& crop);
// The crop as fractions of a picture of this size, from a square in its pixels.
QRectF cropFractions(QSize picture, const QRectF& square);

// The picture as the front shows it, before it is stretched into the square front: the picture
// itself when stretched, the crop's square of it when cropped, the whole picture in the middle
// of a square of the background colour when fitted.
QImage frontImage(const QImage& picture, const CoverOptions& options);
// How much larger than the front the picture must be decoded for its shown part to cover the
// front: 1 / the crop's share of the picture across and down.
QSizeF frontDecodeFactor(QSize picture, const CoverOptions& options);
