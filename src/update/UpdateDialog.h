// UpdateDialog: the update window. It runs an update check (UpdateChecker) and shows its outcome;
// when an update is advised it downloads the installer with the progress on its gauge, and
// "Install" starts the installer silently, ends the companion program's running copies and ends
// the program.
//
// Two ways in: autoCheck() for the main window's update timer (silent unless an update is
// advised) and checkNow() for the options' "Check Now" (always shows the outcome, centred over
// the options window). Made once at start, hidden, reused; the very first showing is centred on
// the main window. What belongs to the main window (the question whether to save, ending the
// program) reaches it through UpdateActions.
#pragma once

#include "update/UpdateChecker.h"

#include <QDialog>
#include <functional>

class QTextEdit;
class QWidget;
class ColourButton;
class Gauge;

// What the update window needs from the start-up.
struct UpdateSetup {
    UpdateServer server;
    QString versionText;               // the running version as shown ("version 1.10c")
    QString programFolder;             // with a trailing separator
    QString downloadsFolder;           // with a trailing separator
    UpdateChecker::Pinger pinger = {}; // empty: the system's ping
};

struct UpdateActions {
    // Before installing: offers unsaved work for saving with the main window's closing question.
    // False when the user chose to stay (Cancel) or the save failed.
    std::function<bool()> offerToSave;
    // Ends the program at once, without the main window's closing steps.
    std::function<void()> endProgram;
    // Starts a program on its own; false when it could not be started.
    std::function<bool(const QString& program, const QStringList& parameters)> startProgram;
    // Waits the given time while the windows' events go on; empty: a real wait.
    std::function<void(int ms)> wait;
};

class UpdateDialog : public QDialog {
    Q_OBJECT
public:
    UpdateDialog(UpdateSetup setup, UpdateActions actions, QWidget* mainWindow);
    ~UpdateDialog() override;

    // The automatic check: shows the window only when an update is advised.
    void autoCheck();
    // The manual check: always shows the outcome, centred over the caller's outer rectangle.
    void checkNow(const QRect& caller);

    // Filled by the start-up; tests put their own in.
    UpdateActions actions;

    // Controls.
    QTextEdit* messageText;
    QWidget* buttonPanel;
    Gauge* gauge;
    ColourButton* downloadButton;
    ColourButton* exitButton;

    // What the latest check found; kept until the next.
    QString downloadName;
    int expectedSizeKB = 0;
    QString expectedSha256;
    QString downloadBase;
    // Set by a completed download, together with the exit button's caption "Install"; cleared by
    // every check and every download started.
    bool installerReady = false;

    // Handlers.
    void startDownload();
    void exitOrInstall();
    void startInstaller();

    // Closing by the title bar or Escape while a download runs stops it.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void placeControls();
    void connectHandlers();
    std::optional<CheckOutcome> runCheck();
    void clearLines();
    void addLine(const QString& line);
    void showAdvice();
    void pauseWithEvents(int ms);

    UpdateSetup setup_;
    UpdateChecker checker_;
    bool firstShowDone_ = false;
    bool downloading_ = false;
    bool stopDownload_ = false;
    QString latestVersion_;
    int linesShown_ = 0;
    // The installer that the completed download left, and its checksum from the list (empty:
    // none was given).
    QString readyName_;
    QString readySha256_;
};
