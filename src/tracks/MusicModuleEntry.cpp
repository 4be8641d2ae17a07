// The one function the music module exports: its table of readers.
#include "tracks/CueSheet.h"
#include "tracks/MusicFolder.h"
#include "tracks/MusicModule.h"

namespace {

DiscContents readDrive(const QString& device) {
    return DriveDiscReader(device).read();
}

QString discId(const DiscToc& toc) {
    return toc.discId();
}

} // namespace

extern "C" Q_DECL_EXPORT const MusicModuleFunctions* sleevixMusicFunctions() {
    static const MusicModuleFunctions table{MusicModuleFunctions::CurrentVersion,
                                            &MusicFolder::read,
                                            &MusicFolder::durationOf,
                                            &CueSheet::read,
                                            &readDrive,
                                            &discId,
                                            &DiscToc::fromString,
                                            &releasesFromAnswer};
    return &table;
}
