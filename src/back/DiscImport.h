// The back-cover editor's import of an audio CD: the disc is read and looked up on MusicBrainz on
// a worker thread while a progress window with a Cancel shows; when several releases hold the
// disc the user picks one in ReleaseChoiceDialog. Without an answer from MusicBrainz the disc's
// CD-Text makes the list, and without that the times alone, when the user agrees.
#pragma once

#include "tracks/AudioDisc.h"
#include "tracks/MusicBrainzLookup.h"
#include "tracks/TrackList.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

// Shows the releases that hold the disc (artist, title, year, country, format, track count) and
// lets the user pick the one in their hands.
class ReleaseChoiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReleaseChoiceDialog(QWidget* parent = nullptr);

    // Fills the list; the first release is chosen.
    void showReleases(const QList<DiscRelease>& releases);
    // The chosen row, -1 when none.
    int chosenIndex() const;

    QLabel* questionLabel;
    QTreeWidget* releaseList;
    QPushButton* okButton;
    QPushButton* cancelButton;
};

class DiscImport : public QObject {
    Q_OBJECT
public:
    // window: where the progress, the choice and the questions show.
    explicit DiscImport(QWidget* window);

    // The disc to read: by default the drive, or the table of contents SLEEVIX_DISC_TOC gives.
    std::function<std::unique_ptr<DiscReader>()> makeReader;
    // Picks one of several releases: its index, -1 when the user cancels.
    std::function<int(const QList<DiscRelease>&)> chooseRelease;
    // Asks a yes/no question; true for yes.
    std::function<bool(const QString&)> askYesNo;
    // Tells the user something that needs no answer.
    std::function<void(const QString&)> tell;

    // Points the lookup at another server (its pace is kept).
    void useServer(const MusicBrainzServer& server);

    // Reads the disc and gives its list; nothing when the user cancels or declines. Throws
    // AppError with one sentence when there is no disc to read.
    std::optional<TrackList> readDisc();

private:
    DiscLookup readInBackground(bool& cancelled);

    QWidget* window_;
    std::unique_ptr<MusicBrainzLookup> lookup_;
};
