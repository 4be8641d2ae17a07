#include "browse/BrowseDialog.h"

#include "browse/BrowseGeometry.h"
#include "browse/BrowsePaths.h"
#include "browse/FileListModel.h"
#include "browse/FolderScanner.h"
#include "browse/FolderTree.h"
#include "browse/FolderTreeModel.h"
#include "controls/ColourButton.h"
#include "dialogs/DialogLook.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

const QColor DirectoryColor(255, 255, 160);

constexpr int HeadingHeight = 55;
constexpr int BottomHeight = 86;
constexpr int HeadingWidth = 513;
constexpr QSize NewFolderButtonSize(22, 21);
constexpr int DriveListTop = 6;
constexpr int DriveListHeight = 23;
constexpr QSize ButtonSize(110, 30);
constexpr int ButtonTop = 43;

// A drive list that reads the drives afresh each time it drops down, so that a stick put in or
// pulled out since is shown as it is now.
class DriveList : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforeDropDown;

    void showPopup() override {
        if (beforeDropDown)
            beforeDropDown();
        QComboBox::showPopup();
    }
};

QList<QRect> screenRects() {
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens.append(s->availableGeometry());
    return screens;
}

} // namespace

BrowseDialog::BrowseDialog(TextInputDialog& textInput, TimedMessage& message, QWidget* parent,
                           DriveSource drives)
    : QDialog(parent), textInput_(textInput), message_(message),
      drives_(drives ? std::move(drives) : DriveSource(&Drives::list)),
      fileScanner_(new FolderScanner(this)) {
    createControls();
    connectHandlers();
    setTexts();
    // The small mode's place until the first showing.
    ErrorGuard::run(this, [this] { readPlace(); });
}

BrowseDialog::~BrowseDialog() = default;

void BrowseDialog::createControls() {
    setObjectName(QStringLiteral("browseDialog"));
    setWindowTitle(QStringLiteral("BrowseForm"));
    setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 14));
    DialogLook::paintWindowFace(this);

    headingPanel = new QWidget(this);
    headingLabel = new QLabel(headingPanel);
    headingLabel->setAlignment(Qt::AlignCenter);
    headingLabel->setWordWrap(true);

    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setHandleWidth(7);
    splitter->setChildrenCollapsible(false);
    treePanel = new QWidget(splitter);
    treePanel->installEventFilter(this);
    auto* drives = new DriveList(treePanel);
    drives->beforeDropDown = [this] { ErrorGuard::run(this, [this] { refreshDrives(); }); };
    driveList = drives;
    driveList->setCursor(Qt::PointingHandCursor);
    newFolderButton = new QToolButton(treePanel);
    newFolderButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    newFolderButton->setAutoRaise(true);
    newFolderButton->setCursor(Qt::PointingHandCursor);
    folderTree = new FolderTree(treePanel, [this] {
        QStringList roots;
        for (const Drives::Drive& d : drives_())
            roots.append(d.root);
        return roots;
    });
    files = new FileListModel(this);
    files->setFileIcon(style()->standardIcon(QStyle::SP_FileIcon));
    fileList = new QListView(splitter);
    fileList->setModel(files);
    fileList->setUniformItemSizes(true); // 20 000 files lay out at once
    fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    bottomPanel = new QWidget(this);
    directoryPanel = new QLabel(bottomPanel);
    directoryPanel->setAutoFillBackground(true);
    QPalette pal = directoryPanel->palette();
    pal.setColor(QPalette::Window, DirectoryColor);
    directoryPanel->setPalette(pal);
    directoryPanel->setAlignment(Qt::AlignCenter);
    countLabel = new QLabel(bottomPanel);
    okButton = new ColourButton(QStringLiteral("Ok"), bottomPanel);
    cancelButton = new ColourButton(tr("Cancel"), bottomPanel);
    for (ColourButton* b : {okButton, cancelButton}) {
        b->setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 16));
        DialogLook::paintButton(b);
        b->resize(ButtonSize);
    }

    move(668, 217);
    resize(559, 541);
}

void BrowseDialog::connectHandlers() {
    connect(driveList, &QComboBox::activated, this,
            [this](int index) { ErrorGuard::run(this, [&] { chooseDrive(index); }); });
    connect(newFolderButton, &QToolButton::clicked, this,
            guarded(this, &BrowseDialog::makeNewFolder));
    connect(folderTree, &FolderTree::directoryChanged, this, [this](const QString& directory) {
        ErrorGuard::run(this, [&] { showDirectory(directory); });
    });
    connect(fileList, &QListView::clicked, this, guarded(this, &BrowseDialog::showChosenFile));
    connect(fileList, &QListView::doubleClicked, this,
            guarded(this, &BrowseDialog::chooseFileByDoubleClick));
    connect(okButton, &QPushButton::clicked, this, guarded(this, &BrowseDialog::confirm));
    connect(cancelButton, &QPushButton::clicked, this, guarded(this, &BrowseDialog::cancel));
    connect(fileScanner_, &FolderScanner::found, this,
            [this](quint64 id, const FolderScanner::Batch& batch) {
                if (id != fileListing_)
                    return;
                files->addBatch(batch.files);
                showFileCount();
            });
}

void BrowseDialog::setTexts() {
    newFolderButton->setToolTip(tr("Create new Folder"));
    okButton->setText(QStringLiteral("Ok"));
    cancelButton->setText(tr("Cancel"));
}

void BrowseDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        setTexts();
}

void BrowseDialog::setFileMask(const QString& mask) {
    fileMask_ = mask;
}

void BrowseDialog::showEvent(QShowEvent* event) {
    if (!initialized_ || initializedLarge_ != showFiles_)
        ErrorGuard::run(this, [this] { initialise(); });
    QDialog::showEvent(event);
}

void BrowseDialog::initialise() {
    initialized_ = true;
    initializedLarge_ = showFiles_;
    doubleClicked_ = false;
    initialPath_ = folderPath_;
    QPalette pal = folderTree->palette();
    pal.setColor(QPalette::Base, DialogLook::Face);
    folderTree->setPalette(pal);
    countLabel->setVisible(isLarge());
    fileList->setVisible(isLarge());
    QString heading = heading_;
    // A carriage return and line feed start a new line; the label needs the line feed only.
    headingLabel->setText(heading.remove(u'\r'));
    setTexts();

    refreshDrives();
    if (folderPath_.isEmpty())
        folderPath_ = shownDrives_.isEmpty() ? QString(PathDelim) : shownDrives_.first().root;
    initialPath_ = folderPath_;
    files->clear();
    selectDriveOf(initialPath_);
    folderTree->openPath(initialPath_);
    if (isVisible())
        folderTree->setFocus();
    showFileCount();
    // The place last, so that a store that cannot be read still leaves a working window.
    readPlace();
    layoutControls();
}

void BrowseDialog::readPlace() {
    RegistryStore store;
    QString failure;
    auto read = [&](const QString& name) {
        try {
            return readStoredInteger(store, name);
        } catch (const AppError& e) {
            if (failure.isEmpty())
                failure = e.message();
            const auto* entry =
                std::find_if(std::begin(StoredIntegers), std::end(StoredIntegers),
                             [&](const StoredInteger& i) { return name == i.name; });
            return entry->def;
        }
    };
    const QString mode =
        isLarge() ? QStringLiteral("Browse Large ") : QStringLiteral("Browse Small ");
    const QRect stored(read(mode + QStringLiteral("Left")), read(mode + QStringLiteral("Top")),
                       read(mode + QStringLiteral("Width")), read(mode + QStringLiteral("Height")));
    if (isLarge())
        splitterPos_ = read(QStringLiteral("Browse Splitter"));
    const QRect place = BrowseGeometry::placeOnScreen(
        stored, isLarge() ? BrowseGeometry::MinimumLarge : BrowseGeometry::MinimumSmall,
        screenRects());
    const QSize frame = frameGeometry().size() - size();
    move(place.topLeft());
    resize(place.size() - frame);
    if (isLarge()) {
        const int tree = BrowseGeometry::treeWidth(splitterPos_, width());
        splitter->setSizes({tree, std::max(width() - tree - splitter->handleWidth(), 0)});
    }
    if (!failure.isEmpty())
        throw AppError(failure);
}

void BrowseDialog::savePlace() {
    RegistryStore store;
    const QRect outer = frameGeometry();
    const QString mode =
        initializedLarge_ ? QStringLiteral("Browse Large ") : QStringLiteral("Browse Small ");
    store.writeInteger(SettingsSection, mode + QStringLiteral("Top"), outer.top());
    store.writeInteger(SettingsSection, mode + QStringLiteral("Left"), outer.left());
    store.writeInteger(SettingsSection, mode + QStringLiteral("Width"), outer.width());
    store.writeInteger(SettingsSection, mode + QStringLiteral("Height"), outer.height());
    if (initializedLarge_) {
        splitterPos_ = treePanel->width();
        store.writeInteger(SettingsSection, QStringLiteral("Browse Splitter"), splitterPos_);
    }
    store.flush();
}

void BrowseDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutControls();
}

bool BrowseDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == treePanel && event->type() == QEvent::Resize)
        layoutTreePanel();
    return QDialog::eventFilter(watched, event);
}

void BrowseDialog::layoutControls() {
    const int w = width();
    const int h = height();
    headingPanel->setGeometry(0, 0, w, HeadingHeight);
    const int headingWidth = std::min(HeadingWidth, w - 16);
    headingLabel->setGeometry(BrowseGeometry::centredLeft(w, headingWidth), 8, headingWidth, 39);
    splitter->setGeometry(0, HeadingHeight, w, std::max(h - HeadingHeight - BottomHeight, 0));
    bottomPanel->setGeometry(0, h - BottomHeight, w, BottomHeight);
    directoryPanel->setGeometry(0, 0, w, 33);
    countLabel->move(15, 50);
    countLabel->adjustSize();
    const auto buttons =
        BrowseGeometry::layoutButtons(isLarge(), w, isLarge() ? countLabel->width() : 0,
                                      okButton->width(), cancelButton->width());
    okButton->move(buttons.okLeft, ButtonTop);
    cancelButton->move(buttons.cancelLeft, ButtonTop);
    layoutTreePanel();
}

void BrowseDialog::layoutTreePanel() {
    const auto p = BrowseGeometry::layoutTreePanel(treePanel->size(), NewFolderButtonSize,
                                                   DriveListTop, DriveListHeight);
    newFolderButton->setGeometry(p.newFolderButton);
    driveList->setGeometry(p.driveList);
    folderTree->setGeometry(p.tree);
}

void BrowseDialog::refreshDrives() {
    shownDrives_ = drives_();
    const QSignalBlocker quiet(driveList);
    driveList->clear();
    for (const Drives::Drive& d : std::as_const(shownDrives_))
        driveList->addItem(BrowsePaths::driveEntry(Drives::shownName(d), d.label));
    for (int i = 0; i < shownDrives_.size(); ++i)
        if (shownDrives_[i].root == lastDriveRoot_)
            driveList->setCurrentIndex(i);
}

void BrowseDialog::selectDriveOf(const QString& path) {
    QStringList roots;
    for (const Drives::Drive& d : std::as_const(shownDrives_))
        roots.append(d.root);
    lastDriveRoot_ = BrowsePaths::splitOnDrive(path, roots).root;
    const QSignalBlocker quiet(driveList);
    driveList->setCurrentIndex(int(roots.indexOf(lastDriveRoot_)));
}

void BrowseDialog::chooseDrive(int index) {
    if (!initialized_ || index < 0 || index >= shownDrives_.size())
        return;
    const Drives::Drive chosen = shownDrives_[index];
    const QList<Drives::Drive> now = drives_();
    const bool present = std::any_of(now.begin(), now.end(),
                                     [&](const Drives::Drive& d) { return d.root == chosen.root; });
    if (!present) {
        // Taken out or unmounted since the list was read.
        refreshDrives();
        message_.showTimed(frameGeometry(),
                           tr("The drive %1 is not there any more.").arg(Drives::shownName(chosen)),
                           QString(), 10000);
        return;
    }
    if (chosen.root != lastDriveRoot_) {
        lastDriveRoot_ = chosen.root;
        folderTree->openPath(chosen.root);
    }
    refreshDrives();
    if (isVisible())
        folderTree->setFocus();
}

void BrowseDialog::showDirectory(const QString& directory) {
    directoryPanel->setText(FolderTreeModel::shownName(directory));
    folderPath_ = directory;
    if (isLarge())
        listFiles(directory);
}

void BrowseDialog::listFiles(const QString& folder) {
    if (fileListing_)
        fileScanner_->cancel(fileListing_);
    fileListing_ = 0;
    files->clear();
    if (!folder.isEmpty()) {
        FolderScanner::Request request;
        request.folder = folder;
        request.folders = false;
        request.files = true;
        request.mask = BrowsePaths::FileMask(fileMask_);
        fileListing_ = fileScanner_->start(request);
    }
    showFileCount();
}

void BrowseDialog::showFileCount() {
    countLabel->setText(QStringLiteral("  %1 bestanden").arg(files->count()));
    countLabel->adjustSize();
}

void BrowseDialog::showChosenFile() {
    QString text = folderTree->directory();
    if (const QModelIndex current = fileList->currentIndex(); current.isValid())
        text += files->nameAt(current.row());
    directoryPanel->setText(FolderTreeModel::shownName(text));
}

void BrowseDialog::chooseFileByDoubleClick() {
    doubleClicked_ = true;
    confirm();
}

void BrowseDialog::confirm() {
    if (isLarge() && files->count() == 0) {
        // Nothing to choose here: the window stays open for another folder.
        message_.showTimed(frameGeometry(), tr("No files found."), QString(), 10000);
        return;
    }
    if (isLarge() && !fileList->currentIndex().isValid())
        fileList->setCurrentIndex(files->index(0));
    folderPath_ = withTrailingDelim(folderTree->directory());
    if (isLarge())
        folderPath_ += files->nameAt(fileList->currentIndex().row());
    done(1);
}

int BrowseDialog::exec() {
    // Escape and a click on the caller's button can be handled in one batch of window events:
    // the click then arrives while the last showing, its window gone, is still returning.
    if (running_)
        return 2;
    const QScopedValueRollback<bool> running(running_, true);
    return QDialog::exec();
}

void BrowseDialog::cancel() {
    folderPath_ = initialPath_;
    done(2);
}

void BrowseDialog::reject() {
    ErrorGuard::run(this, [this] { cancel(); });
}

void BrowseDialog::done(int result) {
    ErrorGuard::run(this, [this] { savePlace(); });
    QDialog::done(result);
}

void BrowseDialog::tellNameProblem(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Open Error"), text, QMessageBox::Ok,
                    this);
    box.exec();
}

void BrowseDialog::makeNewFolder() {
    const TextInputDialog::Result answer =
        textInput_.ask(frameGeometry(), QString(), tr("Enter Name of new Folder:"), QString());
    if (!answer.accepted)
        return;
    const QString name = answer.text;
    using BrowsePaths::FolderNameProblem;
    switch (BrowsePaths::folderNameProblem(name)) {
    case FolderNameProblem::None:
        break;
    case FolderNameProblem::Empty:
        tellNameProblem(tr("Enter a name for the new folder."));
        return;
    case FolderNameProblem::Delimiter:
        tellNameProblem(tr("A folder name cannot hold \"%1\".").arg(PathDelim));
        return;
    case FolderNameProblem::DotName:
        tellNameProblem(tr("\"%1\" cannot be the name of a folder.").arg(name));
        return;
    case FolderNameProblem::BadCharacter:
        tellNameProblem(tr("The name holds a character that no folder name can hold."));
        return;
    case FolderNameProblem::TooLong:
        tellNameProblem(tr("The name is too long for a folder."));
        return;
    }
    const QString parentFolder = folderTree->directory();
    if (parentFolder.isEmpty())
        return;
    const QString target = parentFolder + name;
    if (QFileInfo(target).isDir()) {
        tellNameProblem(tr("Folder already exists."));
        return;
    }
    if (!QDir(parentFolder).mkdir(name))
        throw AppError(tr("The folder \"%1\" could not be made.").arg(target));
    folderTree->openPath(target);
}
