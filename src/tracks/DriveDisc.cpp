// The parts of reading an audio CD that need its libraries: the table of contents, its check
// and the disc id (libdiscid) and the CD-Text (libcdio). Built into the music module
// (tracks/MusicModule.h), which the program loads on first use.
#include "tracks/AudioDisc.h"

#include "platform/AppError.h"
#include "platform/OpticalDrive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cdio/cdio.h>
#include <cdio/cdtext.h>
#include <discid/discid.h>

namespace {

constexpr int MaxTracks = DiscToc::MaxTracks;

using DiscIdHandle = std::unique_ptr<DiscId, void (*)(DiscId*)>;

DiscIdHandle newDiscId() {
    return DiscIdHandle(discid_new(), discid_free);
}

DiscToc tocOf(DiscId* disc) {
    DiscToc toc;
    toc.firstTrack = discid_get_first_track_num(disc);
    toc.lastTrack = discid_get_last_track_num(disc);
    toc.leadout = discid_get_sectors(disc);
    for (int track = toc.firstTrack; track <= toc.lastTrack; ++track)
        toc.offsets << discid_get_track_offset(disc, track);
    return toc;
}

QString cdTextField(const cdtext_t* text, cdtext_field_t field, track_t track) {
    const char* value = cdtext_get_const(text, field, track);
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

// The disc's CD-Text, empty when the drive or the disc has none.
CdText readCdText(const QString& device, const DiscToc& toc) {
    CdText result;
    CdIo_t* cdio = cdio_open(QFile::encodeName(device).constData(), DRIVER_DEVICE);
    if (!cdio)
        return result;
    if (const cdtext_t* text = cdio_get_cdtext(cdio)) {
        result.albumTitle = cdTextField(text, CDTEXT_FIELD_TITLE, 0);
        result.albumPerformer = cdTextField(text, CDTEXT_FIELD_PERFORMER, 0);
        for (int track = toc.firstTrack; track <= toc.lastTrack; ++track) {
            result.titles << cdTextField(text, CDTEXT_FIELD_TITLE, track_t(track));
            result.performers << cdTextField(text, CDTEXT_FIELD_PERFORMER, track_t(track));
        }
    }
    cdio_destroy(cdio);
    return result;
}

QString driveProblem(const QString& device) {
    const QString shown = QDir::toNativeSeparators(device);
    switch (OpticalDrive::stateOf(device)) {
    case OpticalDrive::State::Missing:
        return QCoreApplication::translate("AudioDisc", "No CD drive was found at %1.").arg(shown);
    case OpticalDrive::State::NoAccess:
        return QCoreApplication::translate("AudioDisc",
                                           "The CD drive %1 may not be read by this user.")
            .arg(shown);
    case OpticalDrive::State::NotADrive:
        return QCoreApplication::translate("AudioDisc", "%1 is not a CD drive.").arg(shown);
    case OpticalDrive::State::NoDisc:
    case OpticalDrive::State::TrayOpen:
        return QCoreApplication::translate("AudioDisc", "There is no disc in the CD drive %1.")
            .arg(shown);
    case OpticalDrive::State::Ready:
        break;
    }
    return QString();
}

} // namespace

QString DiscToc::discId() const {
    int sectors[100] = {};
    sectors[0] = leadout;
    for (int i = 0; i < offsets.size() && firstTrack + i <= MaxTracks; ++i)
        sectors[firstTrack + i] = offsets[i];
    DiscIdHandle disc = newDiscId();
    if (!disc || !discid_put(disc.get(), firstTrack, lastTrack, sectors))
        return QString();
    return QString::fromLatin1(discid_get_id(disc.get()));
}

DiscContents DriveDiscReader::read() {
    const QString problem = driveProblem(device_);
    if (!problem.isEmpty())
        throw AppError(problem);
    DiscIdHandle disc = newDiscId();
    if (!disc || !discid_read_sparse(disc.get(), QFile::encodeName(device_).constData(), 0))
        throw AppError(QCoreApplication::translate(
                           "AudioDisc", "The disc in the CD drive %1 is not an audio CD.")
                           .arg(QDir::toNativeSeparators(device_)));
    DiscContents contents;
    contents.toc = tocOf(disc.get());
    contents.cdText = readCdText(device_, contents.toc);
    return contents;
}

DiscToc DiscToc::fromString(const QString& text) {
    const QString wrong = QCoreApplication::translate(
                              "AudioDisc", "\"%1\" is not the table of contents of an audio CD.")
                              .arg(text);
    const QStringList parts = text.simplified().split(u' ', Qt::SkipEmptyParts);
    QList<int> numbers;
    for (const QString& part : parts) {
        bool ok = false;
        numbers << part.toInt(&ok);
        if (!ok || numbers.last() < 0)
            throw AppError(wrong);
    }
    if (numbers.size() < 4 || numbers[0] < 1 || numbers[1] < numbers[0] || numbers[1] > MaxTracks ||
        numbers.size() != 3 + numbers[1] - numbers[0] + 1)
        throw AppError(wrong);
    int sectors[100] = {};
    sectors[0] = numbers[2];
    for (int track = numbers[0]; track <= numbers[1]; ++track)
        sectors[track] = numbers[3 + track - numbers[0]];
    DiscIdHandle disc = newDiscId();
    // libdiscid checks the order of the offsets and the lead-out.
    if (!disc || !discid_put(disc.get(), numbers[0], numbers[1], sectors))
        throw AppError(wrong);
    return tocOf(disc.get());
}
