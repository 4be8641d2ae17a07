// OptionsDialog: the options window, where the user sees and changes the data folder and the
// automatic update check, and can start an update check at once. Made once at start, hidden;
// its creation loads the stored settings (settings/Settings.h), so DataFolder, ProjectName,
// ProjectFolder and AutoUpdateEnabled are valid from then on. Shown modally from the main
// window's options button: OK saves and ends with 1, Cancel reloads and ends with 2. Destroying
// it at program end saves once more and stores the window's place.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class ColourButton;
class RegistryStore;
class Workspace;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(Workspace& workspace, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // Controls.
    QGroupBox* dataFolderGroup;
    QLabel* dataFolderLabel;
    QLineEdit* dataFolderEdit;
    QCheckBox* copyCheckBox;
    ColourButton* browseButton;
    QGroupBox* updateGroup;
    QCheckBox* autoUpdateCheckBox;
    ColourButton* checkNowButton;
    ColourButton* okButton;
    ColourButton* cancelButton;

    // The manual update check, given this window's outer rectangle so that it can
    // centre itself here. Filled by the program's entry once the update window exists.
    std::function<void(const QRect& caller)> checkNow;

    // What the options ask of the folder chooser: where it starts, its caption and its heading.
    struct FolderQuestion {
        QString start;
        QString caption;
        QString heading;
    };
    // Lets the user choose a folder; gives the folder (with the delimiter at its end), or
    // nothing when the user cancelled. Filled by the program's entry with the browse dialog.
    std::function<std::optional<QString>(const FolderQuestion&)> chooseFolder;

    // Reads the stored options into this window and the shared values (also the window's
    // place). Raises the first read failure after everything readable has been taken.
    void loadSettings();
    // Writes the options to the store.
    void saveSettings();
    // Adds the options and this window's place to a group of the store (the main window's
    // closing writes everything in one group); written when the store is flushed.
    void saveSettingsAndPlace(RegistryStore& store);
    // A data folder chosen by the user: shown in PathEdit and used from now on; it reaches the
    // store at the next save.
    void useChosenFolder(const QString& folder);

    // Handlers.
    void initialise();
    void handlePaint();
    void handleDestroy();
    void browseForDataFolder();
    void checkForUpdateNow();
    void acceptOptions();
    void cancelOptions();

    // Closing by the title bar or Escape ends with 2 like Cancel, but reads nothing back.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void placeControls();
    void connectHandlers();

    Workspace& workspace_;
};
