#include "update/UpdateDialog.h"

#include "controls/ColourButton.h"
#include "controls/Gauge.h"
#include "cover/Workspace.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"
#include "dialogs/ErrorGuard.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "update/InstallerDownload.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <limits>

namespace {

constexpr int ClientWidth = 428;
constexpr int ClientHeight = 253;
constexpr int MessageHeight = 177;
constexpr int PanelHeight = 80;
// The installer is given this long to take over before the companion program is ended.
constexpr int InstallerStartMs = 1000;

QSize outerSizeOf(QWidget* window) {
    window->winId(); // the system's frame is known once the window exists
    return window->size() + (window->frameGeometry().size() - window->geometry().size());
}

} // namespace

UpdateDialog::UpdateDialog(UpdateSetup setup, UpdateActions actions, QWidget* mainWindow)
    : QDialog(mainWindow), actions(std::move(actions)), setup_(std::move(setup)),
      checker_(setup_.server, ProductName, setup_.versionText, setup_.pinger) {
    if (!this->actions.startProgram)
        this->actions.startProgram = &Shell::startProgram;
    createControls();
    placeControls();
    connectHandlers();
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::createControls() {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 14));
    DialogLook::paintWindowFace(this);
    messageText = new QTextEdit(this);
    messageText->setReadOnly(true);
    messageText->setFocusPolicy(Qt::NoFocus);
    buttonPanel = new QWidget(this);
    gauge = new Gauge(buttonPanel);
    gauge->hide();
    downloadButton = new ColourButton(QStringLiteral("Download nu"), buttonPanel);
    exitButton = new ColourButton(QStringLiteral("Download later"), buttonPanel);
    for (ColourButton* button : {downloadButton, exitButton}) {
        button->setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 16));
        DialogLook::paintButton(button);
    }
}

void UpdateDialog::placeControls() {
    setFixedSize(ClientWidth, ClientHeight);
    messageText->setGeometry(0, 0, ClientWidth, MessageHeight);
    buttonPanel->setGeometry(0, ClientHeight - PanelHeight, ClientWidth, PanelHeight);
    gauge->setGeometry(13, 10, 400, 17);
    downloadButton->setGeometry(29, 35, 170, 35);
    exitButton->setGeometry(235, 35, 170, 35);
}

void UpdateDialog::connectHandlers() {
    connect(downloadButton, &QPushButton::clicked, this,
            guarded(this, &UpdateDialog::startDownload));
    connect(exitButton, &QPushButton::clicked, this, guarded(this, &UpdateDialog::exitOrInstall));
}

void UpdateDialog::showEvent(QShowEvent* event) {
    setWindowTitle(ProductName + QStringLiteral(" - Update"));
    // The very first showing stands centred on the main window, whatever was placed before.
    if (!firstShowDone_ && parentWidget()) {
        firstShowDone_ = true;
        const DialogGeometry::Place place =
            DialogGeometry::centreOver(parentWidget()->frameGeometry(), outerSizeOf(this));
        move(place.left, place.top);
    }
    QDialog::showEvent(event);
}

void UpdateDialog::clearLines() {
    messageText->clear();
    linesShown_ = 0;
}

void UpdateDialog::addLine(const QString& line) {
    // A cleared text holds one empty paragraph: the first line goes there, every later one in a
    // paragraph of its own (an empty line too).
    QTextCursor cursor(messageText->document());
    cursor.movePosition(QTextCursor::End);
    if (linesShown_++ > 0)
        cursor.insertBlock();
    QTextBlockFormat centred = cursor.blockFormat();
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(line);
}

std::optional<CheckOutcome> UpdateDialog::runCheck() {
    // The window stays as it is while an installer comes in.
    if (downloading_)
        return std::nullopt;
    // Whatever the check finds, the exit button it sets up means later or close, never install.
    installerReady = false;
    std::optional<CheckOutcome> outcome = checker_.check();
    if (!outcome)
        return outcome;
    if (outcome->record) {
        downloadName = outcome->record->downloadName;
        expectedSizeKB = outcome->record->expectedSizeKB;
        expectedSha256 = outcome->record->sha256;
        latestVersion_ = outcome->record->version.display();
    }
    return outcome;
}

void UpdateDialog::showAdvice() {
    addLine(tr("Update is advised"));
    addLine(QString());
    addLine(tr("Your current version is %1").arg(setup_.versionText));
    addLine(tr("The latest version is %1").arg(latestVersion_));
    addLine(tr("The Download Name is %1").arg(downloadName));
    downloadButton->setText(tr("Start Downloading"));
}

void UpdateDialog::autoCheck() {
    const std::optional<CheckOutcome> outcome = runCheck();
    if (!outcome)
        return;
    clearLines();
    addLine(QString());
    if (outcome->result != CheckResult::UpdateAdvised)
        return;
    showAdvice();
    exitButton->setText(QStringLiteral("Download Later"));
    exec();
    downloadBase = setup_.server.downloadBase();
    downloadButton->show();
    exitButton->show();
}

void UpdateDialog::checkNow(const QRect& caller) {
    const std::optional<CheckOutcome> outcome = runCheck();
    if (!outcome)
        return;
    const DialogGeometry::Place place = DialogGeometry::centreOver(caller, outerSizeOf(this));
    move(place.left, place.top);
    clearLines();
    addLine(QString());
    switch (outcome->result) {
    case CheckResult::UpToDate:
        addLine(tr("No Update is needed,"));
        addLine(tr("you are using the latest version."));
        addLine(tr("Your current version is %1.").arg(setup_.versionText));
        break;
    case CheckResult::NoServerReply:
        addLine(tr("No reaction from Server"));
        break;
    case CheckResult::ListTooSmall:
        addLine(tr("File not downloaded correctly"));
        break;
    case CheckResult::NotListed:
        addLine(tr("Program Name not found"));
        break;
    case CheckResult::UpdateAdvised:
        break;
    case CheckResult::ListTooLarge:
        addLine(tr("The version list on the server is too large (over 1 MB)"));
        break;
    case CheckResult::PingTimeout:
        addLine(tr("Ping to %1 gives Time-out").arg(setup_.server.hostName));
        break;
    }
    if (outcome->result == CheckResult::UpdateAdvised) {
        showAdvice();
        downloadBase = setup_.server.downloadBase();
        downloadButton->show();
        exitButton->setText(QStringLiteral("Download later"));
        if (isVisible())
            downloadButton->setFocus();
    } else {
        exitButton->setText(tr("Close Window"));
        downloadButton->hide();
        exitButton->show();
        if (isVisible())
            exitButton->setFocus();
    }
    exec();
    raise();
}

void UpdateDialog::startDownload() {
    // The buttons stay usable during a download; pressing this one again does not start another.
    if (downloading_)
        return;
    downloadBase = setup_.server.downloadBase();
    gauge->show();
    gauge->setMaxValue(expectedSizeKB); // a negative size is refused here, before any file
    gauge->setProgress(0);

    const InstallerRequest request{downloadName, expectedSha256, setup_.programFolder,
                                   setup_.downloadsFolder,
                                   runningInstallerName(ProductName, setup_.versionText)};
    // The old installer goes before the new one comes: nothing is ready to install meanwhile.
    installerReady = false;
    downloading_ = true;
    stopDownload_ = false;
    struct Done {
        bool& downloading;
        ~Done() { downloading = false; }
    } done{downloading_};
    const InstallerOutcome outcome =
        downloadInstaller(setup_.server, request, [this](qint64 position) {
            gauge->setProgress(int(std::min<qint64>(position, std::numeric_limits<int>::max())));
            return !stopDownload_;
        });

    switch (outcome.status) {
    case InstallerOutcome::Status::Done:
        clearLines();
        addLine(QString());
        addLine(tr("%1 has been succesfully downloaded").arg(downloadName));
        addLine(tr("Click \"Install\" to install the progam"));
        exitButton->setText(tr("Install"));
        downloadButton->hide();
        exitButton->show();
        installerReady = true;
        readyName_ = request.downloadName;
        readySha256_ = request.sha256;
        if (isVisible())
            exitButton->setFocus();
        break;
    case InstallerOutcome::Status::Failed:
        addLine(QString());
        addLine(tr("The download of %1 has failed.").arg(downloadName));
        break;
    case InstallerOutcome::Status::Damaged:
        addLine(QString());
        addLine(tr("%1 arrived damaged and has been deleted.").arg(downloadName));
        break;
    case InstallerOutcome::Status::Stopped:
        break;
    }
}

void UpdateDialog::exitOrInstall() {
    // Only a button that says so installs.
    if (installerReady && !downloading_ && exitButton->text() == tr("Install")) {
        startInstaller();
        return;
    }
    stopDownload_ = true;
    done(2);
}

void UpdateDialog::reject() {
    stopDownload_ = true;
    QDialog::reject();
}

void UpdateDialog::pauseWithEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void UpdateDialog::startInstaller() {
    // The program ends after this: work not saved yet is offered for saving first.
    if (actions.offerToSave && !actions.offerToSave())
        return;
    const QString file = setup_.downloadsFolder + readyName_;
    // The file has waited in the Downloads folder since it was checked: it runs only while it is
    // still the file that came.
    if (!readySha256_.isEmpty() && !fileHasChecksum(file, readySha256_)) {
        QFile::remove(file);
        installerReady = false;
        addLine(QString());
        addLine(tr("%1 has changed since it was downloaded and has been deleted.").arg(readyName_));
        exitButton->setText(tr("Close Window"));
        return;
    }
    const QString name = installerDisplayName(readyName_);
    addLine(QString());
    addLine(tr("The installation of %1 is started.").arg(name));
    if (!actions.startProgram(file, InstallerParameters)) {
        addLine(tr("Installation failed."));
        return;
    }
    addLine(tr("The installation of %1 has started.").arg(name));
    QCoreApplication::processEvents();
    if (actions.wait)
        actions.wait(InstallerStartMs);
    else
        pauseWithEvents(InstallerStartMs);
    Processes::terminateProgram(companionProgramPath(setup_.programFolder, ProductName),
                                [] { QCoreApplication::processEvents(); });
    if (actions.endProgram)
        actions.endProgram();
}
