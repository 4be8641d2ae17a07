// An audio CD in the drive: its table of contents (libdiscid) and its CD-Text (libcdio), read
// behind a small interface so that the rest of the import (the MusicBrainz lookup, the choice of
// a release, the layout) can be tried without a drive.
//
// A reader is chosen by the environment: SLEEVIX_DISC_TOC gives a table of contents in the form
// MusicBrainz uses ("first last lead-out offset1 … offsetN", in sectors, as `discid` prints it)
// instead of reading a drive; SLEEVIX_CD_DEVICE names the drive (default: the system's first,
// /dev/cdrom on Linux).
#pragma once

#include "tracks/TrackList.h"

#include <QList>
#include <QProcessEnvironment>
#include <QStringList>
#include <memory>

struct DiscToc {
    static constexpr int MaxTracks = 99; // what a CD's table of contents can hold
    int firstTrack = 1;
    int lastTrack = 0;
    int leadout = 0;    // the sector after the last audio track
    QList<int> offsets; // where each track starts, in sectors (with the 150 of the lead-in)

    int trackCount() const { return int(offsets.size()); }
    // The track's length from the table of contents, index 0 for the first track.
    qint64 durationMs(int index) const;
    // "first last lead-out offsets…", the form MusicBrainz and libdiscid use.
    QString toString() const;
    // MusicBrainz's disc id, computed by libdiscid.
    QString discId() const;

    // Throws AppError when the text is no table of contents libdiscid accepts.
    static DiscToc fromString(const QString& text);
};

// The disc's CD-Text: the album and its performer, and per track its title and performer.
struct CdText {
    QString albumTitle;
    QString albumPerformer;
    QStringList titles; // index 0 for the first track; empty where the disc has none
    QStringList performers;

    bool isEmpty() const;
};

struct DiscContents {
    DiscToc toc;
    CdText cdText;
};

class DiscReader {
public:
    virtual ~DiscReader() = default;
    // Reads the disc. Throws AppError with one sentence for the user: no drive, not a drive, no
    // disc, a disc without audio.
    virtual DiscContents read() = 0;
};

// Reads the disc in a drive: its table of contents with libdiscid, its CD-Text with libcdio.
class DriveDiscReader : public DiscReader {
public:
    explicit DriveDiscReader(QString device) : device_(std::move(device)) {}
    DiscContents read() override;

private:
    QString device_;
};

// Gives a table of contents it was handed (SLEEVIX_DISC_TOC), without CD-Text.
class TocDiscReader : public DiscReader {
public:
    explicit TocDiscReader(QString toc) : toc_(std::move(toc)) {}
    DiscContents read() override { return DiscContents{DiscToc::fromString(toc_), {}}; }

private:
    QString toc_;
};

std::unique_ptr<DiscReader> discReaderFromEnvironment(const QProcessEnvironment& environment);

namespace AudioDisc {

// The list the CD-Text gives, with the durations from the table of contents.
TrackList fromCdText(const DiscContents& disc);
// The durations alone, titled "Track 1" … "Track N".
TrackList fromToc(const DiscToc& toc);

} // namespace AudioDisc
