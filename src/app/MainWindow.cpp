#include "app/MainWindow.h"

#include "cover/Cover.h"
#include "cover/Workspace.h"

#include "controls/FileDropTarget.h"
#include "controls/ImageView.h"
#include "controls/TypingLimit.h"
#include "cover/CoverLayout.h"
#include "cover/DroppedFiles.h"
#include "cover/ProjectFiles.h"
#include "cover/SampleProject.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "platform/Picture.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"
#include "support/BuildFacts.h"
#include "support/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int PanelHeight = 178;
constexpr int ScrollBarWidth = 21;

QFont verdana(int pixels) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixels);
    return font;
}

QPushButton* makeButton(QWidget* parent, int left, int top, int width, int height) {
    auto* button = new QPushButton(parent);
    button->setGeometry(left, top, width, height);
    button->setFont(verdana(16));
    return button;
}

// A button's text as a tool tip shows it: without the mnemonic's marker.
QString withoutMnemonic(QString text) {
    static const QRegularExpression marker(QStringLiteral("&(.)"));
    return text.replace(marker, QStringLiteral("\\1"));
}

// Runs the loading of a dropped or opened file; an error names the file.
void loadNamingFile(const QString& fileName, const std::function<void()>& load) {
    try {
        load();
    } catch (const AppError& e) {
        throw AppError(droppedFileError(fileName, e.message()));
    }
}

} // namespace

MainWindow::MainWindow(Workspace& workspace, Cover& cover, QWidget* parent)
    : QWidget(parent), workspace_(workspace), cover_(cover) {
    // Creation: the data folder's first value, the canvas's height, the texts by language. A
    // data folder that is there but cannot be entered (left owned by another user) is told when
    // the window shows; the projects in it then fail on their own, and another folder can be
    // chosen in the options.
    try {
        workspace_.dataFolder = getUserDataFolder(ProductName, workspace_.facts().isNTFamily);
    } catch (const AppError& e) {
        workspace_.dataFolder = userDataFolderPath(ProductName, workspace_.facts().isNTFamily);
        creationFailures_ << e.message();
    }
    createControls();
    placeControls();
    setTexts();
    connectHandlers();
    firstShowingDone = false;
    workspace_.setUnsavedChanges(false);
    fixSize();
}

void MainWindow::createControls() {
    setFont(verdana(14));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    buttonPanel = new QWidget(this);
    newProjectButton = makeButton(buttonPanel, 23, 26, 153, 34);
    saveProjectButton = makeButton(buttonPanel, 23, 67, 153, 34);
    readProjectButton = makeButton(buttonPanel, 190, 11, 160, 34);
    readFrontPictureButton = makeButton(buttonPanel, 190, 48, 160, 34);
    backTextButton = makeButton(buttonPanel, 190, 86, 160, 34);
    printButton = makeButton(buttonPanel, 364, 48, 150, 34);
    frontFillButton = makeButton(buttonPanel, 364, 11, 150, 34);
    discLabelButton = makeButton(buttonPanel, 364, 86, 150, 34);
    helpButton = makeButton(buttonPanel, 528, 11, 150, 34);
    optionsButton = makeButton(buttonPanel, 528, 48, 150, 34);
    aboutButton = makeButton(buttonPanel, 528, 86, 150, 34);
    closeButton = makeButton(buttonPanel, 693, 48, 150, 34);
    helpButton->setEnabled(false);

    panelRule = new QFrame(buttonPanel);
    panelRule->setFrameShape(QFrame::HLine);
    panelRule->setFrameShadow(QFrame::Sunken);
    panelRule->setGeometry(0, 128, 933, 5);

    spineTextLabel = new QLabel(buttonPanel);
    spineTextLabel->setGeometry(29, 143, 229, 17);
    spineTextLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    spineTextEdit = new QLineEdit(buttonPanel);
    spineTextEdit->setGeometry(264, 141, 469, 25);
    new TypingLimit(spineTextEdit, Project::MaxNameLength);
    spineTextLabel->setBuddy(spineTextEdit); // its mnemonic reaches the field
    applySpineTextButton = makeButton(buttonPanel, 748, 136, 85, 33);

    coverScrollArea = new QScrollArea(this);
    coverScrollArea->setFrameShape(QFrame::NoFrame);
    coverScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    coverScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    coverScrollArea->verticalScrollBar()->setFixedWidth(ScrollBarWidth);
    coverScrollArea->verticalScrollBar()->setSingleStep(20);
    coverScrollArea->setWidgetResizable(false);
    coverScrollArea->setBackgroundRole(QPalette::Window);

    auto* canvasView = new ImageView;
    coverView = canvasView;
    coverScrollArea->setWidget(coverView);
    frontPictureView = new ImageView(coverView);
    backPictureView = new ImageView(coverView);
    leftSpineView = new ImageView(coverView);
    rightSpineView = new ImageView(coverView);

    // Pictures dropped from a file manager on the front or the back of the cover.
    const QStringList pictures = Picture::readableExtensions();
    new FileDropTarget(frontPictureView, pictures, [this](const QString& file) {
        ErrorGuard::run(this, [&] { takeFrontPicture(file); });
    });
    new FileDropTarget(backPictureView, pictures, [this](const QString& file) {
        ErrorGuard::run(this, [&] { takeBackPicture(file); });
    });

    updateTimer = new QTimer(this);
    updateTimer->setInterval(60000);
    updateTimer->start();
}

void MainWindow::placeControls() {
    const int clientWidth = closeButton->x() + closeButton->width() + newProjectButton->x();
    buttonPanel->setGeometry(0, 0, clientWidth, PanelHeight);
    // The canvas is as wide as the scroll box's client area and as high as an A4 page.
    const int canvasWidth = clientWidth - ScrollBarWidth;
    coverView->resize(canvasWidth, Layout::CanvasHeight);
    coverView->setImage(cover_.canvas());
    // Over the canvas where the template puts the pictures and the spine text.
    frontPictureView->setGeometry(Layout::FrontPictureBounds);
    backPictureView->setGeometry(Layout::BackPictureBounds);
    leftSpineView->setGeometry(Layout::LeftSpineBounds);
    rightSpineView->setGeometry(Layout::RightSpineBounds);
}

void MainWindow::setTexts() {
    versionText = tr("version %1").arg(BuildFacts::VersionText);
    copyrightText = tr("Copyright © 2002–2026 the makers of Sleevix");
    helpFile = QStringLiteral(".\\Sleevix_n.chm");
    noBackTextLine1 = tr("You didn't read the Back Text");
    noBackTextLine2 = tr("First create the list of contents for the back of the CD.");
    // The letter after & is the button's mnemonic (Alt+letter); none is used twice in either
    // language.
    newProjectButton->setText(tr("&New Project"));
    saveProjectButton->setText(tr("&Save Project"));
    readProjectButton->setText(tr("&Read Project"));
    readFrontPictureButton->setText(tr("Read &Front Picture"));
    backTextButton->setText(tr("&Back Text"));
    printButton->setText(tr("&Print"));
    frontFillButton->setText(tr("Fron&t Fill..."));
    discLabelButton->setText(tr("&Disc Label..."));
    helpButton->setText(QStringLiteral("Help"));
    optionsButton->setText(QStringLiteral("&Instellingen"));
    aboutButton->setText(tr("&About..."));
    closeButton->setText(tr("&Close"));
    spineTextLabel->setText(tr("&Enter the Text for the Splines:"));
    spineTextEdit->setText(QStringLiteral("Deze tekst komt op de Splines"));
    applySpineTextButton->setText(tr("App&ly"));
    for (const auto& [button, key] : shortcutKeys())
        button->setToolTip(QStringLiteral("%1 (%2)").arg(withoutMnemonic(button->text()),
                                                         key.toString(QKeySequence::NativeText)));
}

void MainWindow::connectHandlers() {
    auto call = [this](const std::function<void()>& service) {
        if (service)
            service();
    };
    connect(newProjectButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.newProject); }); });
    connect(saveProjectButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.saveProject); }); });
    connect(readProjectButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.readProject); }); });
    connect(readFrontPictureButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.readFrontPicture); }); });
    connect(backTextButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.showBackEditor); }); });
    connect(printButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.showPrintPreview); }); });
    connect(frontFillButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.showFrontFill); }); });
    connect(discLabelButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.showDiscLabel); }); });
    connect(optionsButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.showOptions); }); });
    connect(aboutButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::run(this, [&] { call(services.showAbout); }); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    // The common keys press the buttons; Ctrl+Q closes through the closing question.
    for (const auto& [button, key] : shortcutKeys()) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    }
    connect(applySpineTextButton, &QPushButton::clicked, this,
            guarded(this, &MainWindow::applySpineText));
    // A spine text typed but not yet applied is what a save would take: closing asks about it.
    connect(spineTextEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        workspace_.setUnsavedChanges(true);
        cover_.setSpineTextTyped(!text.trimmed().isEmpty());
    });
    connect(&cover_, &Cover::changed, this, &MainWindow::showCover);
    connect(&cover_, &Cover::spineTextApplied, spineTextEdit, &QLineEdit::setText);
    connect(updateTimer, &QTimer::timeout, this, guarded(this, &MainWindow::onUpdateTimer));
}

QList<std::pair<QPushButton*, QKeySequence>> MainWindow::shortcutKeys() const {
    return {{newProjectButton, QKeySequence(Qt::CTRL | Qt::Key_N)},
            {readProjectButton, QKeySequence(Qt::CTRL | Qt::Key_O)},
            {saveProjectButton, QKeySequence(Qt::CTRL | Qt::Key_S)},
            {printButton, QKeySequence(Qt::CTRL | Qt::Key_P)},
            {closeButton, QKeySequence(Qt::CTRL | Qt::Key_Q)}};
}

void MainWindow::fixSize() {
    const int clientWidth = closeButton->x() + closeButton->width() + newProjectButton->x();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int available = screen ? screen->availableGeometry().height() : 1024;
    // The title bar and borders count: the whole window fits above the task bar. They are known
    // once the window system has framed the window; until then they count as nothing.
    const int frame = frameGeometry().height() - geometry().height();
    const int height = std::max(PanelHeight + 100, mainWindowOuterHeight(available) - frame);
    // The user cannot change the size: it is fixed, as the layout is.
    if (minimumSize() != QSize(clientWidth, height) || maximumSize() != QSize(clientWidth, height))
        setFixedSize(clientWidth, height);
    coverScrollArea->setGeometry(0, PanelHeight, clientWidth, height - PanelHeight);
}

void MainWindow::showCover() {
    coverView->setImage(cover_.canvas());
    // The front as it fills its square: stretched, cropped or fitted (Cover.ini).
    frontPictureView->setImage(frontImage(cover_.frontPicture().image(), cover_.coverOptions()));
    // How a picture fills the square, and a label from it, need a picture.
    frontFillButton->setEnabled(!cover_.frontPicture().isEmpty());
    discLabelButton->setEnabled(!cover_.frontPicture().isEmpty());
    backPictureView->setImage(cover_.backPicture().image());
}

void MainWindow::applySpineText() {
    cover_.applySpineText(spineTextEdit->text());
}

void MainWindow::takeFrontPicture(const QString& fileName) {
    loadNamingFile(fileName, [&] { cover_.loadFrontPicture(fileName); });
    workspace_.setUnsavedChanges(true);
    if (services.frontPictureTaken)
        services.frontPictureTaken();
}

void MainWindow::takeBackPicture(const QString& fileName) {
    loadNamingFile(fileName, [&] { cover_.loadBackPicture(fileName); });
    workspace_.setUnsavedChanges(true);
}

void MainWindow::openFiles(const QStringList& fileNames) {
    filesToOpen_ = fileNames;
    if (firstShowingDone)
        openGivenFiles();
}

void MainWindow::openGivenFiles() {
    QList<QUrl> urls;
    for (const QString& name : std::as_const(filesToOpen_))
        urls.append(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
    filesToOpen_.clear();
    const QString picture = usableDroppedFile(droppedItems(urls), Picture::readableExtensions());
    if (!picture.isEmpty())
        takeFrontPicture(picture);
}

void MainWindow::removeStaleInstaller() {
    const QString temp = workspace_.dataFolder + QStringLiteral("Temp") + PathDelim;
    const QString installer =
        temp + ProductName + keepNumberChars(versionText) + QStringLiteral(".exe");
    if (QFile::exists(installer)) {
        QFile::remove(installer);
        QDir().rmdir(temp);
    }
}

void MainWindow::handleShow() {
    if (firstShowingDone)
        return;
    setWindowTitle(ProductName + QStringLiteral(" - ") + versionText);
    removeStaleInstaller();
    {
        RegistryStore store;
        const QPoint stored(store.readInteger(SettingsSection, QStringLiteral("Left"), 200),
                            store.readInteger(SettingsSection, QStringLiteral("Top"), 100));
        fixSize();
        move(
            keepOnScreen(stored, frameGeometry().size(), availableScreenAreas(), QPoint(200, 100)));
    }
    // A project saved without a name (an empty list saved in the editor) would make the data
    // folder itself the project, which holds no pictures: every start would fail. The sample
    // project opens instead.
    Workspace& ws = workspace_;
    if (ws.projectName.isEmpty()) {
        ws.projectName = DefaultProjectName;
        ws.projectFolder = ws.dataFolder + ws.projectName + PathDelim;
    }
    // What cannot be read is named once at the end; everything else still opens, so that the
    // cover, the list and the spine text are there to work on.
    QStringList failures = std::exchange(creationFailures_, {});
    if (!QFileInfo(ws.projectFolder).isDir()) {
        try {
            copySampleFiles(sampleFolders(ws.startFolder(), ws.facts().programFolder),
                            ws.projectFolder, ws.facts().daylight);
        } catch (const AppError& e) {
            failures << e.message();
        }
    }
    cover_.drawTemplate();
    if (QFileInfo(ws.projectFolder).isDir())
        failures << Project::readFiles(ws.projectFolder, cover_, services.loadBackText);
    spineTextEdit->setText(ws.projectName);
    applySpineText();
    ws.setUnsavedChanges(false);
    firstShowingDone = true;
    if (!failures.isEmpty())
        throw AppError(failures.join(u'\n'));
}

void MainWindow::tellAtFirstShowing(const QString& message) {
    creationFailures_ << message;
}

void MainWindow::handlePaint() {
    // Enabling a running timer must not restart it.
    if (workspace_.autoUpdateEnabled && !updateTimer->isActive())
        updateTimer->start();
    else if (!workspace_.autoUpdateEnabled && updateTimer->isActive())
        updateTimer->stop();
}

void MainWindow::onUpdateTimer() {
    updateTimer->stop();
    if (services.checkForUpdate)
        services.checkForUpdate();
}

bool MainWindow::offerToSave() {
    if (!workspace_.hasUnsavedChanges() || !services.askSaveProject)
        return true;
    switch (services.askSaveProject()) {
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Yes:
        // A save that failed has been shown; the program stays open so nothing is lost.
        if (services.saveProject && !ErrorGuard::run(this, services.saveProject))
            return false;
        // Without a spine text the save wrote nothing and only asks for one; ending now
        // would lose the work the user has just asked to keep.
        return !spineTextEdit->text().isEmpty();
    case SaveAnswer::No:
        break;
    }
    return true;
}

bool MainWindow::confirmClose() {
    if (!offerToSave())
        return false;
    // A settings file that could not be read at start is not written over (that was told then).
    if (RegistryStore store; store.readable()) {
        store.writeInteger(SettingsSection, QStringLiteral("Left"), x());
        store.writeInteger(SettingsSection, QStringLiteral("Top"), y());
        store.writeString(SettingsSection, QStringLiteral("Path for Data"), workspace_.dataFolder);
        if (services.saveSettings)
            services.saveSettings(store);
        store.flush();
    }
    return true;
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!firstShowingDone)
        QTimer::singleShot(0, this, [this] {
            // Lets the start-up benchmark time a whole start to the first showing; an error box
            // of the first showing is closed by the quit too.
            if (qEnvironmentVariableIsSet("SLEEVIX_QUIT_AFTER_FIRST_SHOW"))
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            ErrorGuard::run(this, [this] { handleShow(); });
            if (firstShowingDone)
                ErrorGuard::run(this, [this] { openGivenFiles(); });
        });
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window system may have framed the window, or moved it to another screen.
    fixSize();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    handlePaint();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool close = true;
    // A settings file that cannot be written is shown; the program still closes.
    ErrorGuard::run(this, [&] { close = confirmClose(); });
    if (close)
        event->accept();
    else
        event->ignore();
}
