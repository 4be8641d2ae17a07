// How sharp the front picture can print: its pixels spread over the printed front, 120 mm
// (about 4.72 inches) square. The picture is stretched into the square whatever its
// proportions, so its shorter side decides. Below 200 pixels per inch a print looks soft.
#pragma once

#include <QSize>
#include <QString>

class Picture;
struct CoverOptions;

inline constexpr double FrontInches = 120 / 25.4;
inline constexpr int SharpFrontPixelsPerInch = 200;

// The whole pixels per inch of a picture of this many pixels across the printed front (rounded
// down, so a picture just under the limit never shows as 200); 0 for an empty size.
int frontPixelsPerInch(QSize pictureSize);

// The part of a picture of this size that fills the front, in its own pixels: all of it when
// stretched, the crop's square when cropped, a square of its longer side when fitted.
QSize shownFrontPixels(QSize picture, const CoverOptions& options);

// "Front picture: <n> pixels per inch at print size — may print soft." in the user's language
// when the picture's original pixels (not the reduced copy shown on screen) that the front shows
// give fewer than 200 pixels per inch; empty when it prints sharp enough or there is no picture.
QString softFrontWarning(const Picture& front, const CoverOptions& options);
