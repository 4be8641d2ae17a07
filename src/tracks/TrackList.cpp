#include "tracks/TrackList.h"

#include <QSet>

bool TrackList::isCompilation() const {
    QSet<QString> artists;
    for (const Track& track : tracks) {
        if (track.plainLine || track.artist.isEmpty())
            continue;
        if (!albumArtist.isEmpty() && track.artist.compare(albumArtist, Qt::CaseInsensitive) != 0)
            return true;
        artists.insert(track.artist.toCaseFolded());
    }
    return artists.size() > 1;
}

QList<int> TrackList::discs() const {
    QList<int> found;
    for (const Track& track : tracks)
        if (!track.plainLine && !found.contains(track.disc))
            found.append(track.disc);
    return found;
}

qint64 TrackList::totalMs() const {
    qint64 total = -1;
    for (const Track& track : tracks)
        if (!track.plainLine && track.durationMs >= 0)
            total = (total < 0 ? 0 : total) + track.durationMs;
    return total;
}

int TrackList::trackCount() const {
    int count = 0;
    for (const Track& track : tracks)
        count += track.plainLine ? 0 : 1;
    return count;
}

QString TrackList::spineText() const {
    if (albumArtist.isEmpty() || album.isEmpty())
        return albumArtist + album;
    return albumArtist + QStringLiteral(" - ") + album;
}

QString TrackList::spineTextReplacing(const QString& current, bool typedByUser) const {
    const QString suggested = spineText();
    return typedByUser || suggested.trimmed().isEmpty() ? current : suggested;
}

QString TrackList::heading() const {
    QString text = albumArtist;
    if (!album.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" \u2013 ")) + album;
    if (!year.isEmpty())
        text += (text.isEmpty() ? year : QStringLiteral(" (%1)").arg(year));
    return text;
}

QString durationText(qint64 ms) {
    if (ms < 0)
        return {};
    const qint64 seconds = (ms + 500) / 1000;
    const qint64 hours = seconds / 3600;
    const QString minSec =
        QStringLiteral("%1:%2")
            .arg(hours ? (seconds / 60) % 60 : seconds / 60, hours ? 2 : 1, 10, QLatin1Char('0'))
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return hours ? QStringLiteral("%1:%2").arg(hours).arg(minSec) : minSec;
}
