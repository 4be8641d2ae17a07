// A track list from plain text, as people paste it or keep it in a file: "01. Title 3:41",
// "1 - Title (3:41)", "Title<TAB>3:41", "A1 Title 3:41" (vinyl sides), or rows copied from a
// spreadsheet (tab- or comma-separated: number, title, artist, time in any order). A line that
// reads as none of these stays in the list as a line of its own, in its place; blank lines go.
#pragma once

#include "tracks/TrackList.h"

namespace PastedTracks {

TrackList read(const QString& text);

// "3:41", "03:41", "1:02:05" in milliseconds; -1 when the text is no duration.
qint64 readDuration(const QString& text);

} // namespace PastedTracks
