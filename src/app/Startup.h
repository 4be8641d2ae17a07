// The program's start: from the start-up facts, the shared workspace and cover, then every
// window once, in a fixed order, wired to each other through callbacks. The main window is shown
// by the caller; everything goes when this object goes.
#pragma once

#include "support/Support.h"
#include "update/UpdateServer.h"

#include <functional>
#include <memory>
#include <optional>

class AboutDialog;
class QIcon;
class BackTextEditor;
struct BrowseRequest;
class BrowseDialog;
class CalibrationDialog;
class FrontFillDialog;
class DiscLabelDialog;
class Cover;
class MainWindow;
class OptionsDialog;
class PrintPreview;
class ProjectCommands;
class QuestionDialog;
class TextInputDialog;
class TimedMessage;
class UpdateDialog;
class Workspace;

// The toolkit's own windows (file and print dialogs, the error box's button) in the user's
// language: Dutch when the language code says so. Gives false when the toolkit's Dutch texts are
// not installed; those windows then stay English.
bool installToolkitTexts(bool dutch);

// The program's own texts in the user's language: the Dutch ones, built into the program, when
// the language code says Dutch; the English ones in the code otherwise. Called again after the
// language code changed, it takes back the Dutch texts it installed before. Gives false when the
// Dutch texts cannot be loaded.
bool installProgramTexts(bool dutch);

// The program's icon, from its own resources (the sizes menus and docks use); the windows get
// it once the main window shows the cover, so that reading it is no part of the start's wait.
QIcon programIcon();

class ProgramWindows {
public:
    // startFolder: the current folder at start; updateServer: where the update check asks.
    ProgramWindows(const StartupFacts& facts, const QString& startFolder,
                   UpdateServer updateServer = UpdateServer());
    // The windows go with the main window, their owner; those that keep something at the end
    // (the options: the settings and the window's place) write it in their destruction.
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    Workspace& workspace() { return *workspace_; }
    Cover& cover() { return *cover_; }
    MainWindow& mainWindow() { return *main_; }
    QuestionDialog& questionDialog() { return *questions_; }
    TimedMessage& timedMessage() { return *message_; }
    // The editor with the list the start read in it, also before the cover was shown.
    BackTextEditor& backTextEditor();
    OptionsDialog& optionsDialog() { return *options_; }
    // The windows the first showing does not need are made, wired, at their first use, so that
    // the start waits only for what it shows.
    PrintPreview& printPreview();
    CalibrationDialog& calibrationDialog();
    FrontFillDialog& frontFillDialog();
    DiscLabelDialog& discLabelDialog();
    BrowseDialog& browseDialog();
    TextInputDialog& textInputDialog();
    AboutDialog& aboutDialog();
    UpdateDialog& updateDialog();

private:
    void createWindows();
    void wireMainWindow();
    void wireOptions();
    std::optional<QString> browse(const BrowseRequest& request);
    bool mayReplaceProject(QWidget* over, const QString& folder);
    // Asks in the program's question window over the window over; true for Yes.
    bool askYesNo(QWidget* over, const QString& question);
    void whenBrowseIsFree(const std::function<void()>& command);
    void wireUpdateCheck();

    UpdateServer updateServer_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<Cover> cover_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<ProjectCommands> projects_;
    // Owned by the main window.
    QuestionDialog* questions_ = nullptr;
    TimedMessage* message_ = nullptr;
    UpdateDialog* update_ = nullptr;
    PrintPreview* preview_ = nullptr;
    CalibrationDialog* calibration_ = nullptr;
    FrontFillDialog* frontFill_ = nullptr;
    DiscLabelDialog* discLabel_ = nullptr;
    BackTextEditor* backEditor_ = nullptr;
    OptionsDialog* options_ = nullptr;
    BrowseDialog* browse_ = nullptr;
    TextInputDialog* input_ = nullptr;
    AboutDialog* about_ = nullptr;
};
