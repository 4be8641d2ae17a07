#include "back/DiscImport.h"

#include "back/ImportWithProgress.h"
#include "cover/Workspace.h"
#include "dialogs/DialogLook.h"
#include "platform/AppError.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

ReleaseChoiceDialog::ReleaseChoiceDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(ProductName + tr(" - Choose the release"));
    questionLabel = new QLabel(
        tr("MusicBrainz knows several releases of this disc. Choose the one you have:"), this);
    questionLabel->setWordWrap(true);
    releaseList = new QTreeWidget(this);
    releaseList->setRootIsDecorated(false);
    releaseList->setAllColumnsShowFocus(true);
    releaseList->setHeaderLabels(
        {tr("Artist"), tr("Title"), tr("Year"), tr("Country"), tr("Format"), tr("Tracks")});
    releaseList->header()->setStretchLastSection(false);
    releaseList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    releaseList->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    okButton = new QPushButton(tr("OK"), this);
    okButton->setDefault(true);
    cancelButton = new QPushButton(tr("Cancel"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(questionLabel);
    layout->addWidget(releaseList);
    layout->addLayout(buttons);
    DialogLook::paintWindowFace(this);
    resize(680, 320);

    connect(okButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { done(2); });
    connect(releaseList, &QTreeWidget::itemDoubleClicked, this, [this] { done(1); });
}

void ReleaseChoiceDialog::showReleases(const QList<DiscRelease>& releases) {
    releaseList->clear();
    for (const DiscRelease& release : releases) {
        auto* item = new QTreeWidgetItem(
            releaseList, {release.artist, release.title, release.year(), release.country,
                          release.format, QString::number(release.trackCount)});
        item->setTextAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
    }
    releaseList->setCurrentItem(releaseList->topLevelItem(0));
    okButton->setEnabled(!releases.isEmpty());
}

int ReleaseChoiceDialog::chosenIndex() const {
    return releaseList->indexOfTopLevelItem(releaseList->currentItem());
}

DiscImport::DiscImport(QWidget* window)
    : QObject(window), window_(window),
      lookup_(std::make_unique<MusicBrainzLookup>(
          MusicBrainzServer::fromEnvironment(QProcessEnvironment::systemEnvironment()))) {
    makeReader = [] { return discReaderFromEnvironment(QProcessEnvironment::systemEnvironment()); };
    chooseRelease = [this](const QList<DiscRelease>& releases) {
        ReleaseChoiceDialog dialog(window_);
        dialog.showReleases(releases);
        return dialog.exec() == 1 ? dialog.chosenIndex() : -1;
    };
    askYesNo = [this](const QString& question) {
        return QMessageBox::question(window_, ProductName, question) == QMessageBox::Yes;
    };
    tell = [this](const QString& message) {
        QMessageBox::information(window_, ProductName, message);
    };
}

void DiscImport::useServer(const MusicBrainzServer& server) {
    lookup_ = std::make_unique<MusicBrainzLookup>(server);
}

DiscLookup DiscImport::readInBackground(bool& cancelled) {
    ImportProgress progress;
    DiscLookup result;
    std::unique_ptr<DiscReader> reader = makeReader();
    MusicBrainzLookup& lookup = *lookup_;
    cancelled =
        !importWithProgress(window_, tr("Reading the audio CD and looking it up on MusicBrainz"),
                            progress, [&] { result = readAndLookUp(*reader, lookup, &progress); });
    return result;
}

std::optional<TrackList> DiscImport::readDisc() {
    bool cancelled = false;
    const DiscLookup found = readInBackground(cancelled);
    if (cancelled)
        return std::nullopt;
    if (found.releases.size() == 1)
        return found.releases.first().tracks;
    if (found.releases.size() > 1) {
        const int index = chooseRelease(found.releases);
        if (index < 0 || index >= found.releases.size())
            return std::nullopt;
        return found.releases[index].tracks;
    }
    if (!found.disc.cdText.isEmpty()) {
        tell(tr("%1 The titles come from the disc's CD-Text.").arg(found.lookupFailure));
        return AudioDisc::fromCdText(found.disc);
    }
    if (askYesNo(tr("%1 The disc has no CD-Text either. Lay out its tracks with their times "
                    "only, titled \"Track 1\", \"Track 2\" and so on?")
                     .arg(found.lookupFailure)))
        return AudioDisc::fromToc(found.disc.toc);
    return std::nullopt;
}
