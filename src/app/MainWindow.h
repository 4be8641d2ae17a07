// The main window: a panel of buttons and the spine-text field at the top, below it the whole
// insert at full size on the layout canvas (coverView) with the picture controls over it.
//
// The window draws and loads through CoverLayout; what belongs to other windows (the back-cover
// editor, the options, printing, the closing question) reaches it through MainWindowServices, which
// the program's entry fills when it has made those windows.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <utility>

class Cover;
class RegistryStore;
class ImageView;
class Workspace;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTimer;

// How the closing question was answered.
enum class SaveAnswer { Yes, No, Cancel };

struct MainWindowServices {
    std::function<void(const QString& rtfFile)> loadBackText; // into the back-cover editor
    std::function<void()> showBackEditor;
    std::function<void()> showPrintPreview;
    std::function<void()> showFrontFill; // how the front picture fills its square
    std::function<void()> showDiscLabel;
    std::function<void()> showOptions;
    std::function<void()> showAbout;
    // The options' settings (and the options window's place), at closing, in the same group of
    // the store as the main window's own values: the file is written once.
    std::function<void(RegistryStore&)> saveSettings;
    std::function<SaveAnswer()> askSaveProject; // the closing question
    std::function<void()> saveProject;          // what the save-project button does
    std::function<void()> newProject;
    std::function<void()> readProject;
    std::function<void()> readFrontPicture;
    std::function<void()> frontPictureTaken; // a picture dropped or opened became the front
    std::function<void()> checkForUpdate;    // the automatic update check
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(Workspace& workspace, Cover& cover, QWidget* parent = nullptr);

    MainWindowServices services;

    // Controls.
    QWidget* buttonPanel;
    QPushButton* newProjectButton;
    QPushButton* saveProjectButton;
    QPushButton* readProjectButton;
    QPushButton* readFrontPictureButton;
    QPushButton* backTextButton;
    QPushButton* printButton;
    QPushButton* frontFillButton;
    QPushButton* discLabelButton;
    QPushButton* helpButton;
    QPushButton* optionsButton;
    QPushButton* aboutButton;
    QPushButton* closeButton;
    QLabel* spineTextLabel;
    QLineEdit* spineTextEdit;
    QPushButton* applySpineTextButton;
    QFrame* panelRule;
    QScrollArea* coverScrollArea;
    ImageView* coverView; // shows the layout canvas
    ImageView* frontPictureView;
    ImageView* leftSpineView;
    ImageView* backPictureView;
    ImageView* rightSpineView;
    QTimer* updateTimer;

    // Texts set by language at creation.
    QString versionText;
    QString copyrightText;
    QString helpFile;
    bool firstShowingDone = false;

    // The two lines shown when a project is saved without spine text.
    QString noBackTextLine1;
    QString noBackTextLine2;

    // Draws the spine text field's text on the spines.
    void applySpineText();

    // A picture file dropped on the front or the back of the cover: it replaces that picture and
    // the project has unsaved changes. A file that cannot be read throws AppError naming it; the
    // cover stays as it was.
    void takeFrontPicture(const QString& fileName);
    void takeBackPicture(const QString& fileName);

    // Files the program was started with (opened from a file manager): the first picture among
    // them becomes the front picture, as if dropped there, once the project has been shown.
    void openFiles(const QStringList& fileNames);

    // The buttons that have a common shortcut key besides their mnemonic, with that key.
    QList<std::pair<QPushButton*, QKeySequence>> shortcutKeys() const;

    // Handlers.
    void handleShow();
    void handlePaint();
    void onUpdateTimer();
    // Asks whether to save the unsaved work, and saves it on Yes; false when the user chose to
    // stay (Cancel) or the save did not keep the work. True at once when nothing is unsaved.
    bool offerToSave();
    // A failure met while the program's windows were made, told with the first showing's
    // failures once this window stands.
    void tellAtFirstShowing(const QString& message);
    // Runs the closing steps; false when the user chose to stay.
    bool confirmClose();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setTexts();
    void connectHandlers();
    void fixSize();
    void showCover();
    void removeStaleInstaller();
    void openGivenFiles();

    Workspace& workspace_;
    Cover& cover_;
    QStringList filesToOpen_;
    // What went wrong while the window was made, told with the first showing's failures.
    QStringList creationFailures_;
};
