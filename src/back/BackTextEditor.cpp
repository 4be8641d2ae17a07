#include "back/BackTextEditor.h"

#include "back/BackRules.h"
#include "back/DiscImport.h"
#include "back/ImportWithProgress.h"
#include "back/RichTextEdit.h"
#include "back/TabRuler.h"
#include "back/TextFormatBar.h"
#include "controls/ColourButton.h"
#include "controls/FileDropTarget.h"
#include "cover/Cover.h"
#include "cover/DroppedFiles.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "dialogs/DialogLook.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"
#include "support/WindowPlacement.h"
#include "tracks/MusicFolder.h"
#include "tracks/PastedTracks.h"
#include "tracks/TrackImport.h"
#include "tracks/TrackLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>

BackTextEditor::BackTextEditor(Workspace& workspace, Cover& cover, QWidget* parent)
    : QDialog(parent), workspace_(workspace), cover_(cover) {
    createControls();
    connectHandlers();
    initialise();
}

void BackTextEditor::createControls() {
    setModal(false);
    setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 14));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    QFont buttonFont = DialogLook::pixelFont(QStringLiteral("Verdana"), 16);
    buttonFont.setBold(true);
    const auto makeButton = [&](QWidget* panel, QRect geometry) {
        auto* button = new ColourButton(panel);
        button->setGeometry(geometry);
        button->setFont(buttonFont);
        DialogLook::paintButton(button);
        return button;
    };

    topPanel = new QWidget(this);
    readButton = makeButton(topPanel, QRect(BackRules::ButtonLeft, 19, 82, 35));
    saveButton = makeButton(topPanel, QRect(0, 19, 85, 35));
    importButton = makeButton(topPanel, QRect((BackRules::EditorWidth - 130) / 2, 19, 130, 35));
    importMenu = new QMenu(importButton);
    importButton->setMenu(importMenu);
    discImport = new DiscImport(this);
    hintLabel = new QLabel(topPanel);
    hintLabel->setAlignment(Qt::AlignCenter);

    editor = new RichTextEdit(this);
    editor->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    // No scroll bars: what the editor shows is copied onto the back cover, and a bar would be
    // printed there and would narrow the lines. A long list still scrolls with the keys and the
    // wheel.
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A list file dropped from a file manager replaces the list; text dragged within the editor
    // or from another program is inserted as usual.
    // A folder of audio files, a cue sheet, a spreadsheet's rows or an audio file dropped there
    // is imported as a track list.
    auto* drops = new FileDropTarget(
        editor->viewport(), listFileExtensions() + TrackImport::extensions(),
        [this](const QString& file) {
            ErrorGuard::run(this, [&] {
                if (listFileExtensions().contains(QFileInfo(file).suffix().toLower()))
                    takeListFile(file);
                else
                    importTracks(file);
            });
        },
        FileDropTarget::OtherDrags::LeaveToWidget);
    drops->setTakesFolders(&MusicFolder::holdsAudio);
    // The list is shown as it is copied and printed: on white, in black where it sets no colour.
    QPalette paper = editor->palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    editor->setPalette(paper);
    ruler = new TabRuler(this);
    formatBar = new TextFormatBar(editor, ruler, this);

    bottomPanel = new QWidget(this);
    copyButton = makeButton(bottomPanel, QRect(0, 17, 241, 32));
    closeButton = makeButton(bottomPanel, QRect(0, 17, 103, 32));

    runOpenDialog = [](QFileDialog* dialog) { return dialog->exec() == QDialog::Accepted; };
    askYesNo = [this](const QString& question) {
        return QMessageBox::question(this, ProductName, question) == QMessageBox::Yes;
    };
    chooseImport = [this](bool folder) {
        const QString start = workspace_.projectFolder;
        if (folder)
            return QFileDialog::getExistingDirectory(
                this, ProductName + tr(" - Select the folder of the album's audio files"), start);
        QStringList audio;
        for (const QString& extension : MusicFolder::audioExtensions())
            audio << QStringLiteral("*.") + extension;
        return QFileDialog::getOpenFileName(
            this, ProductName + tr(" - Select the cue sheet or the track list"), start,
            tr("Track lists (*.cue *.txt *.csv *.tsv)") + QStringLiteral(";;") +
                tr("Audio files (%1)").arg(audio.join(u' ')));
    };
}

void BackTextEditor::setTexts() {
    setWindowTitle(ProductName + QStringLiteral(" - Tekst achterkant"));
    // Line feed, then carriage return, between the lines of the instruction.
    hintLabel->setText(tr("Enter the contents list in here.\n\r"
                          "Next click the OK Button to copy the list\n\r"
                          "to the layout in the Main screen."));
    readButton->setText(tr("Read"));
    saveButton->setText(tr("Save"));
    importButton->setText(tr("Import..."));
    importButton->setToolTip(tr("Makes the list from the music: a folder of audio files, a cue "
                                "sheet, a text file or the clipboard. A folder or file dropped "
                                "on the list is imported too."));
    importMenu->clear();
    importMenu->addAction(tr("Folder of audio files..."), this, [this] {
        ErrorGuard::run(this, [this] {
            const QString folder = chooseImport(true);
            if (!folder.isEmpty())
                importTracks(folder);
        });
    });
    importMenu->addAction(tr("Cue sheet or text file..."), this, [this] {
        ErrorGuard::run(this, [this] {
            const QString file = chooseImport(false);
            if (!file.isEmpty())
                importTracks(file);
        });
    });
    importMenu->addAction(tr("Audio CD"), this,
                          [this] { ErrorGuard::run(this, [this] { importDisc(); }); });
    importMenu->addAction(tr("Paste a track list"), this,
                          [this] { ErrorGuard::run(this, [this] { importClipboard(); }); });
    copyButton->setText(tr("Copy to Back Cover"));
    closeButton->setText(tr("Cancel"));
    formatBar->setTexts();
    ruler->setTexts();
}

void BackTextEditor::connectHandlers() {
    connect(readButton, &QPushButton::clicked, this, guarded(this, &BackTextEditor::readList));
    connect(saveButton, &QPushButton::clicked, this, guarded(this, &BackTextEditor::saveList));
    connect(copyButton, &QPushButton::clicked, this,
            guarded(this, &BackTextEditor::copyToBackCover));
    connect(closeButton, &QPushButton::clicked, this, guarded(this, &BackTextEditor::closeEditor));
    // A list typed here is part of the project: closing the program must offer to save it, also
    // when it has not been copied to the back cover yet. Loading a project or starting a new one
    // sets the flag as it should be afterwards.
    connect(editor, &QTextEdit::textChanged, this, [this] { workspace_.setUnsavedChanges(true); });
}

void BackTextEditor::initialise() {
    setTexts();
    keepFixedSize();
}

void BackTextEditor::handleShow() {
    RegistryStore store;
    const QPoint stored(store.readInteger(SettingsSection, QStringLiteral("BackLeft"), 200),
                        store.readInteger(SettingsSection, QStringLiteral("BackTop"), 100));
    move(keepOnScreen(stored, frameGeometry().size(), availableScreenAreas(), QPoint(200, 100)));
}

// The editor is always 556 x 472 pixels: any change of size is undone at once.
void BackTextEditor::keepFixedSize() {
    const int width = BackRules::EditorWidth;
    const int height =
        BackRules::EditorTop + BackRules::EditorHeight + BackRules::BottomPanelHeight;
    if (minimumSize() != QSize(width, height) || maximumSize() != QSize(width, height))
        setFixedSize(width, height);
    topPanel->setGeometry(0, 0, width, BackRules::TopPanelHeight);
    hintLabel->setGeometry(0, BackRules::TopPanelHeight - 69, width, 69);
    formatBar->setGeometry(0, BackRules::TopPanelHeight, width, BackRules::FormatBarHeight);
    ruler->setGeometry(0, BackRules::TopPanelHeight + BackRules::FormatBarHeight, width,
                       BackRules::RulerHeight);
    editor->setGeometry(0, BackRules::EditorTop, width, BackRules::EditorHeight);
    bottomPanel->setGeometry(0, BackRules::EditorTop + BackRules::EditorHeight, width,
                             BackRules::BottomPanelHeight);
    formatBar->followCursor(); // the ruler's scale starts at the text's left edge
    copyButton->move(readButton->x(), copyButton->y());
    saveButton->move(width - saveButton->width() - readButton->x(), saveButton->y());
    closeButton->move(saveButton->x(), closeButton->y());
}

void BackTextEditor::loadContents(const QString& fileName) {
    // A read that fails leaves the list as it was, also one still waiting.
    showReadContents();
    editor->loadFromFile(fileName);
    cover_.recogniseBackText(displayedList());
}

void BackTextEditor::readContentsForLater(const QString& fileName) {
    QTextDocument* read = editor->readFile(fileName);
    delete waitingList_;
    waitingList_ = read;
}

void BackTextEditor::showReadContents() {
    if (!waitingList_)
        return;
    // The list as read is no change of the project.
    const bool unsaved = workspace_.hasUnsavedChanges();
    editor->adopt(waitingList_);
    waitingList_ = nullptr;
    workspace_.setUnsavedChanges(unsaved);
    cover_.recogniseBackText(displayedList());
}

void BackTextEditor::takeListFile(const QString& fileName) {
    try {
        loadContents(fileName);
    } catch (const AppError& e) {
        throw AppError(droppedFileError(fileName, e.message()));
    }
}

std::optional<TrackList> BackTextEditor::readInBackground(const QString& path) {
    ImportProgress progress;
    TrackList list;
    if (!importWithProgress(this,
                            tr("Reading the track list from %1").arg(QFileInfo(path).fileName()),
                            progress, [&] { list = TrackImport::read(path, &progress); }))
        return std::nullopt;
    return list;
}

void BackTextEditor::importTracks(const QString& path) {
    const std::optional<TrackList> list = readInBackground(path);
    if (list)
        takeTracks(*list, QDir::toNativeSeparators(path));
}

void BackTextEditor::importClipboard() {
    const TrackList list = PastedTracks::read(QGuiApplication::clipboard()->text());
    if (list.trackCount() == 0)
        throw AppError(tr("The clipboard holds no track list."));
    takeTracks(list, tr("the clipboard"));
}

void BackTextEditor::importDisc() {
    if (const std::optional<TrackList> list = discImport->readDisc())
        takeTracks(*list, tr("the audio CD"));
}

void BackTextEditor::takeTracks(const TrackList& list, const QString& source) {
    QTextDocument* document = editor->document();
    // The list stays until the user agrees to lose what was changed in it.
    if (workspace_.hasUnsavedChanges() && document->isModified() && !document->isEmpty() &&
        !askYesNo(tr("The list has changes that have not been saved. Replace it with the list "
                     "of %1 read from %2?")
                      .arg(list.trackCount() == 1 ? tr("1 track")
                                                  : tr("%1 tracks").arg(list.trackCount()),
                           source)))
        return;
    layOutTracks(list);
    // The album names the project, unless the user typed a spine text of their own.
    const QString spine = list.spineTextReplacing(cover_.spineText(), cover_.spineTextTyped());
    if (spine != cover_.spineText())
        cover_.applySpineText(spine);
    if (!list.frontPicture.isEmpty() &&
        askYesNo(tr("Use the album's picture from %1 as the front picture?")
                     .arg(list.frontPictureFrom))) {
        cover_.takeFrontPicture(list.frontPicture, list.frontPictureExtension);
        if (frontPictureTaken)
            frontPictureTaken();
    }
}

void BackTextEditor::layOutTracks(const TrackList& list) {
    TrackLayout::layOut(list, *editor->document(), editor->contentsRect().size());
    editor->moveCursor(QTextCursor::Start);
}

void BackTextEditor::readList() {
    // Made at the first read: a file dialog keeps its history in the user's settings when it
    // goes, which an editor that only lays out a list (an export) must not write.
    if (!openDialog) {
        openDialog = new QFileDialog(this);
        openDialog->setAcceptMode(QFileDialog::AcceptOpen);
        openDialog->setFileMode(QFileDialog::ExistingFile);
    }
    if (!workspace_.projectFolder.isEmpty())
        openDialog->setDirectory(workspace_.projectFolder);
    openDialog->setDefaultSuffix(QStringLiteral("rtf"));
    openDialog->setWindowTitle(ProductName + tr(" - Select the rtf file for the back"));
    openDialog->setNameFilter(tr("RichText files (*.rtf)"));
    if (!runOpenDialog(openDialog) || openDialog->selectedFiles().isEmpty())
        return;
    editor->loadFromFile(openDialog->selectedFiles().first());
    workspace_.setUnsavedChanges(true);
}

void BackTextEditor::saveList() {
    // The name is the one the spine text gets from Copy to Back Cover, whole, so that saving
    // the project later writes into this same folder.
    const QString name = BackRules::nameFromLines(editor->displayedLines());
    const QString data = workspace_.dataFolder;
    const QString folder = name.isEmpty() ? data : withTrailingDelim(data + name);
    // A name that cannot be a folder fails before anything is made or changed.
    Project::checkFolderName(name, data);
    if (name.isEmpty() || Project::isSameFolder(folder, workspace_.projectFolder)) {
        editor->saveToFile(folder + Project::BackTextFile);
    } else {
        // Another project's list is not replaced unasked: its pictures would stay with it.
        const bool another = Project::holdsProject(folder);
        if (another && !(confirmReplace && confirmReplace(folder)))
            return;
        // The folder becomes the current project: it gets the pictures too, so that it is a
        // whole project the next start can open.
        Project::writeFiles(folder, editor->toRtf(), cover_.backPicture(), cover_.frontPicture(),
                            &cover_.coverOptions(),
                            another ? Project::Unwritten::Remove : Project::Unwritten::Keep);
    }
    workspace_.projectName = name;
    workspace_.projectFolder = folder;
}

BackTextView BackTextEditor::displayedList() const {
    // What is scrolled out of sight does not reach the back; the cursor and a selection are the
    // editor's marks, not part of the list.
    return BackTextView(
        *editor->document(), editor->contentsRect(),
        QPoint(editor->horizontalScrollBar()->value(), editor->verticalScrollBar()->value()));
}

void BackTextEditor::copyToBackCover() {
    cover_.copyBackText(displayedList());
    cover_.applySpineText(BackRules::nameFromLines(editor->displayedLines()));
    cover_.setSpineTextTyped(false);
    close();
}

void BackTextEditor::closeEditor() {
    close();
}

void BackTextEditor::handleClose() {
    RegistryStore store;
    store.writeInteger(SettingsSection, QStringLiteral("BackLeft"), x());
    store.writeInteger(SettingsSection, QStringLiteral("BackTop"), y());
    store.flush();
}

void BackTextEditor::done(int result) {
    ErrorGuard::run(this, [this] { handleClose(); });
    QDialog::done(result);
}

void BackTextEditor::showEvent(QShowEvent* event) {
    showReadContents();
    ErrorGuard::run(this, [this] { handleShow(); });
    QDialog::showEvent(event);
}

void BackTextEditor::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    keepFixedSize();
}
