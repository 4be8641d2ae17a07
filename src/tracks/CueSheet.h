// A track list from a cue sheet: the album's title, performer and date (REM DATE), and per track
// its number, title and performer. Durations come from the INDEX 01 positions; the last track of
// a file gets its duration from the audio file when it is there (TagLib), else it is left open.
// A sheet in a Windows code page is read as well as one in UTF-8.
#pragma once

#include "tracks/TrackList.h"

namespace CueSheet {

// Sheets larger than this are no cue sheets.
inline constexpr qint64 MaxBytes = 4 * 1024 * 1024;

// Throws AppError when the file cannot be read or is no cue sheet.
TrackList read(const QString& fileName);

} // namespace CueSheet
