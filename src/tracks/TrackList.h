// A track list read from the music itself (a folder of audio files, a cue sheet) or from pasted
// text: the album's heading facts and one entry per track, in the order they are shown. The
// readers make it, TrackLayout lays it out into the back-cover editor's document.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct Track {
    QString number;         // as shown: "3", "A1"; empty when the source gave none
    QString title;          // for a line that could not be read: the whole line, as it was
    QString artist;         // empty: the album artist
    qint64 durationMs = -1; // -1: not known
    int disc = 0;           // 0: the album has one disc
    bool plainLine = false; // not a track: a line kept as it was given (pasted text)

    bool operator==(const Track&) const = default;
};

struct TrackList {
    QString albumArtist;
    QString album;
    QString year;
    QList<Track> tracks;
    // The album's front picture as found with the music (embedded, or cover.jpg/folder.jpg beside
    // it): its bytes, the file it came from, and the extension its format has; empty when none.
    QByteArray frontPicture;
    QString frontPictureFrom;
    QString frontPictureExtension;

    bool isEmpty() const { return tracks.isEmpty() && album.isEmpty() && albumArtist.isEmpty(); }
    // Several track artists, or track artists other than the album artist: each line names its
    // artist.
    bool isCompilation() const;
    // The discs the tracks are on, in order; one entry (0 or 1) for a single disc.
    QList<int> discs() const;
    bool hasSeveralDiscs() const { return discs().size() > 1; }
    // The tracks' durations added up; -1 when none is known.
    qint64 totalMs() const;
    int trackCount() const;
    // "Album Artist - Album", or what there is of it: the spine text the list suggests.
    QString spineText() const;
    // The spine text once the list is imported: the one the list suggests, unless the user typed
    // the spine text now shown (typedByUser) or the list suggests none; then `current` stays.
    QString spineTextReplacing(const QString& current, bool typedByUser) const;
    // "Album Artist – Album (Year)", or what there is of it: the list's heading.
    QString heading() const;
};

// "3:41", "1:02:05"; empty for an unknown duration. Rounded to whole seconds.
QString durationText(qint64 ms);
