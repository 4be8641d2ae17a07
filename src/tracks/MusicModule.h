// The readers that need the music libraries (TagLib, libcue, libdiscid, libcdio,
// libmusicbrainz5) live in a module of their own, libsleevix-music.so, which the program loads
// the first time one of them is used: a start then loads none of those libraries and what they
// bring with them. The module hands the program one table of functions; in the program,
// MusicFolder::read, CueSheet::read, DriveDiscReader::read, DiscToc::discId,
// DiscToc::fromString and releasesFromAnswer forward to it (MusicModuleCalls.cpp). The tests link
// the readers themselves instead.
#pragma once

#include "tracks/AudioDisc.h"
#include "tracks/ImportProgress.h"
#include "tracks/MusicBrainzLookup.h"
#include "tracks/TrackList.h"

struct MusicModuleFunctions {
    // Changes whenever the table does, so that a module of another build is refused.
    static constexpr int CurrentVersion = 1;
    int version = CurrentVersion;
    TrackList (*readFolder)(const QString& folder, ImportProgress* progress);
    qint64 (*durationOf)(const QString& fileName);
    TrackList (*readCueSheet)(const QString& fileName);
    DiscContents (*readDrive)(const QString& device);
    QString (*discId)(const DiscToc& toc);
    DiscToc (*tocFromString)(const QString& text);
    QList<DiscRelease> (*releasesFromAnswer)(const QByteArray& xml, const DiscToc& toc);
};

namespace MusicModule {

// The file name of the module and the name of the function it exports, which returns its table.
inline constexpr char FileName[] = "libsleevix-music.so";
inline constexpr char EntryName[] = "sleevixMusicFunctions";

// Where the program looks for the module, first to last: beside the program (the build tree),
// then in the library folder of an installation, seen from the program's folder.
QStringList candidates(const QString& programFolder);

// The module's table, the module loaded when it was not yet. Throws AppError with the reason when
// it cannot be found or loaded, or is of another build.
const MusicModuleFunctions& functions();

} // namespace MusicModule
