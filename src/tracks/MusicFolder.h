// A track list from a folder of audio files (FLAC, MP3, Ogg Vorbis, Opus, M4A/AAC, WAV, and the
// other formats TagLib reads), from their tags: title, artist, album, album artist, year, track
// and disc number, and the duration. Subfolders are read too (an album in "CD1" and "CD2").
// Tracks are ordered by disc and track number, then by file name; a file without tags gives its
// number and title from its name ("03 - Title.flac"). Discs come from the disc number, else from
// the subfolders when there are several. The front picture is the one embedded in the first
// track, else cover.jpg, folder.jpg or front.jpg beside the files.
#pragma once

#include "tracks/ImportProgress.h"
#include "tracks/TrackList.h"

#include <QStringList>

namespace MusicFolder {

// The extensions read as audio, lower case without the dot.
QStringList audioExtensions();
bool isAudioFile(const QString& fileName);
// Whether the folder or one of its subfolders holds an audio file; quick, for a folder dragged
// over the editor: it looks no deeper.
bool holdsAudio(const QString& folder);

// Reads the folder. Throws AppError when the folder cannot be read or holds no audio file. When
// progress is given, it counts the files and stops early (giving what was read) once cancelled.
TrackList read(const QString& folder, ImportProgress* progress = nullptr);

// The duration of one audio file in milliseconds, -1 when it cannot be read.
qint64 durationOf(const QString& fileName);

// The number and title a file name gives: "03 - Title.flac" gives 3 and "Title".
Track trackFromFileName(const QString& fileName);

} // namespace MusicFolder
