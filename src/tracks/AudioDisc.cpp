#include "tracks/AudioDisc.h"

#include "platform/OpticalDrive.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

constexpr int SectorsPerSecond = 75;

Track numbered(int number, const DiscToc& toc, int index) {
    Track track;
    track.number = QString::number(number);
    track.durationMs = toc.durationMs(index);
    return track;
}

} // namespace

qint64 DiscToc::durationMs(int index) const {
    if (index < 0 || index >= offsets.size())
        return -1;
    const int end = index + 1 < offsets.size() ? offsets[index + 1] : leadout;
    return qint64(end - offsets[index]) * 1000 / SectorsPerSecond;
}

QString DiscToc::toString() const {
    QStringList parts{QString::number(firstTrack), QString::number(lastTrack),
                      QString::number(leadout)};
    for (int offset : offsets)
        parts << QString::number(offset);
    return parts.join(u' ');
}

bool CdText::isEmpty() const {
    const auto blank = [](const QStringList& list) {
        return std::all_of(list.begin(), list.end(), [](const QString& s) { return s.isEmpty(); });
    };
    return albumTitle.isEmpty() && albumPerformer.isEmpty() && blank(titles);
}

std::unique_ptr<DiscReader> discReaderFromEnvironment(const QProcessEnvironment& environment) {
    const QString toc = environment.value(QStringLiteral("SLEEVIX_DISC_TOC")).trimmed();
    if (!toc.isEmpty())
        return std::make_unique<TocDiscReader>(toc);
    QString device = environment.value(QStringLiteral("SLEEVIX_CD_DEVICE")).trimmed();
    if (device.isEmpty())
        device = OpticalDrive::defaultDevice();
    return std::make_unique<DriveDiscReader>(device);
}

namespace AudioDisc {

TrackList fromCdText(const DiscContents& disc) {
    TrackList list;
    list.album = disc.cdText.albumTitle;
    list.albumArtist = disc.cdText.albumPerformer;
    for (int i = 0; i < disc.toc.trackCount(); ++i) {
        Track track = numbered(disc.toc.firstTrack + i, disc.toc, i);
        track.title = disc.cdText.titles.value(i);
        if (track.title.isEmpty())
            track.title =
                QCoreApplication::translate("AudioDisc", "Track %1").arg(disc.toc.firstTrack + i);
        const QString performer = disc.cdText.performers.value(i);
        if (performer != list.albumArtist)
            track.artist = performer;
        list.tracks << track;
    }
    return list;
}

TrackList fromToc(const DiscToc& toc) {
    TrackList list;
    for (int i = 0; i < toc.trackCount(); ++i) {
        Track track = numbered(toc.firstTrack + i, toc, i);
        track.title = QCoreApplication::translate("AudioDisc", "Track %1").arg(toc.firstTrack + i);
        list.tracks << track;
    }
    return list;
}

} // namespace AudioDisc
