// Where a track list is read from, by what the user chose or dropped: a folder of audio files,
// a cue sheet, a text or spreadsheet file, or one audio file (its folder is read).
#pragma once

#include "tracks/ImportProgress.h"
#include "tracks/TrackList.h"

#include <QStringList>

namespace TrackImport {

// Text files larger than this are no track lists.
inline constexpr qint64 MaxTextBytes = 1024 * 1024;

// Whether a dropped or chosen path is something read here (a folder counts).
bool canRead(const QString& path);
// The file-name extensions read here, lower case without the dot.
QStringList extensions();

// Reads the list. Throws AppError with a sentence for the user when the path gives no list.
TrackList read(const QString& path, ImportProgress* progress = nullptr);

} // namespace TrackImport
