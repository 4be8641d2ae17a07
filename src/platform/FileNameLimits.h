// How long a file name and a whole path may be on the file system that will hold them.
#pragma once

#include <QString>

struct FileNameLimits {
    qint64 nameLength = 255;  // of one component, in the units of fileNameLength()
    qint64 pathLength = 4096; // of a whole path, the same units
};

// The limits of the file system that holds folder, or the nearest existing folder above it.
FileNameLimits fileNameLimits(const QString& folder);

// The length a name takes on the file system: bytes of its UTF-8 encoding here, UTF-16 units on
// Windows.
qint64 fileNameLength(const QString& name);
