// The Windows bitmap the program itself writes (24 bits a pixel, uncompressed), read directly:
// a few times faster than the toolkit's general reader, which the start waits for.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

// The picture in the bytes of a 24-bit uncompressed Windows bitmap (rows bottom-up or top-down),
// as an RGB32 image; nothing for every other file, damaged ones included, which a general
// reader then reads or refuses.
std::optional<QImage> readPlainBitmap(const QByteArray& bytes);
