// Reading MusicBrainz's answer about a disc with libmusicbrainz5's XML model. Built into the
// music module (tracks/MusicModule.h), which the program loads on first use.
#include "tracks/MusicBrainzLookup.h"

#include "platform/AppError.h"

#include <QCoreApplication>
#include <musicbrainz5/Artist.h>
#include <musicbrainz5/ArtistCredit.h>
#include <musicbrainz5/Disc.h>
#include <musicbrainz5/Medium.h>
#include <musicbrainz5/MediumList.h>
#include <musicbrainz5/Metadata.h>
#include <musicbrainz5/NameCredit.h>
#include <musicbrainz5/NameCreditList.h>
#include <musicbrainz5/Recording.h>
#include <musicbrainz5/Release.h>
#include <musicbrainz5/ReleaseList.h>
#include <musicbrainz5/Track.h>
#include <musicbrainz5/TrackList.h>
#include <musicbrainz5/xmlParser.h>

namespace mb = MusicBrainz5;

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value).trimmed();
}

// "Artist feat. Other": the credited names with their join phrases.
QString creditText(const mb::CArtistCredit* credit) {
    QString result;
    if (!credit || !credit->NameCreditList())
        return result;
    const mb::CNameCreditList* names = credit->NameCreditList();
    for (int i = 0; i < names->NumItems(); ++i) {
        const mb::CNameCredit* name = names->Item(i);
        QString shown = text(name->Name());
        if (shown.isEmpty() && name->Artist())
            shown = text(name->Artist()->Name());
        result += shown + QString::fromStdString(name->JoinPhrase());
    }
    return result.trimmed();
}

// The medium that is this disc: the one that lists its disc id, else the first with as many
// tracks as the disc, else the first.
const mb::CMedium* mediumOf(const mb::CRelease& release, const DiscToc& toc,
                            const std::string& discId) {
    const mb::CMediumList* media = release.MediumList();
    if (!media || media->NumItems() == 0)
        return nullptr;
    for (int i = 0; i < media->NumItems(); ++i)
        if (media->Item(i)->ContainsDiscID(discId))
            return media->Item(i);
    for (int i = 0; i < media->NumItems(); ++i) {
        const mb::CTrackList* tracks = media->Item(i)->TrackList();
        if (tracks && tracks->NumItems() == toc.trackCount())
            return media->Item(i);
    }
    return media->Item(0);
}

DiscRelease releaseFrom(const mb::CRelease& release, const DiscToc& toc,
                        const std::string& discId) {
    DiscRelease result;
    result.id = text(release.ID());
    result.title = text(release.Title());
    result.artist = creditText(release.ArtistCredit());
    result.date = text(release.Date());
    result.country = text(release.Country());
    result.tracks.album = result.title;
    result.tracks.albumArtist = result.artist;
    result.tracks.year = result.year();
    const mb::CMedium* medium = mediumOf(release, toc, discId);
    if (!medium)
        return result;
    result.format = text(medium->Format());
    const int mediumCount = release.MediumList()->NumItems();
    if (mediumCount > 1)
        result.tracks.album = QCoreApplication::translate("MusicBrainzLookup", "%1 (disc %2 of %3)")
                                  .arg(result.title)
                                  .arg(medium->Position())
                                  .arg(mediumCount);
    const mb::CTrackList* tracks = medium->TrackList();
    const int count = tracks ? tracks->NumItems() : 0;
    result.trackCount = count;
    // The disc's own times where its tracks are the medium's, else what MusicBrainz knows.
    const bool sameTracks = count == toc.trackCount();
    for (int i = 0; i < count; ++i) {
        const mb::CTrack* track = tracks->Item(i);
        const mb::CRecording* recording = track->Recording();
        Track entry;
        entry.number = text(track->Number());
        if (entry.number.isEmpty())
            entry.number = QString::number(track->Position());
        entry.title = text(track->Title());
        if (entry.title.isEmpty() && recording)
            entry.title = text(recording->Title());
        QString artist = creditText(track->ArtistCredit());
        if (artist.isEmpty() && recording)
            artist = creditText(recording->ArtistCredit());
        if (artist != result.artist)
            entry.artist = artist;
        int length = track->Length();
        if (length <= 0 && recording)
            length = recording->Length();
        entry.durationMs = sameTracks ? toc.durationMs(i) : (length > 0 ? length : -1);
        result.tracks.tracks << entry;
    }
    return result;
}

} // namespace

QList<DiscRelease> releasesFromAnswer(const QByteArray& xml, const DiscToc& toc) {
    const QString unreadable = QCoreApplication::translate(
        "MusicBrainzLookup", "MusicBrainz's answer about this disc cannot be read.");
    XMLResults results;
    std::unique_ptr<XMLNode> root(XMLRootNode::parseString(xml.toStdString(), &results));
    if (!root || results.code != eXMLErrorNone)
        throw AppError(unreadable);
    // The answer's root element is <metadata>.
    const XMLNode node = *root;
    if (node.isEmpty() || std::string_view(node.getName()) != "metadata")
        throw AppError(unreadable);
    const mb::CMetadata metadata(node);
    // The disc when MusicBrainz knows its id; a list of releases when it matched the table of
    // contents only.
    const mb::CReleaseList* list =
        metadata.Disc() ? metadata.Disc()->ReleaseList() : metadata.ReleaseList();
    if (!metadata.Disc() && !list)
        throw AppError(unreadable);
    QList<DiscRelease> releases;
    const std::string discId = toc.discId().toStdString();
    for (int i = 0; list && i < list->NumItems(); ++i)
        releases << releaseFrom(*list->Item(i), toc, discId);
    return releases;
}
