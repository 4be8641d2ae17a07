// BrowseDialog: the program's own window for choosing a folder, or a file in a folder. On the
// left a drive list, a button that makes a new folder, and the directory tree (FolderTree); on
// the right, when files are wanted ("large" mode), the files of the selected folder that match
// the caller's mask, with a splitter between the two. Under them the current folder, the file
// count, OK and Cancel; above them a heading that says what to choose.
//
// Made once at start and reused. A caller sets the start path, the mask, the caption, the
// heading and the mode, shows it modally and reads the chosen path back:
//
//   browse.setFolderPath(start);  browse.setFileMask("*.*");  browse.setWindowTitle(...);
//   browse.setHeading(...);  browse.setShowFiles(false);  browse.setInitialized(false);
//   if (browse.exec() == 1) use(browse.folderPath());
//
// The first showing (and the first after setInitialized(false), or after a change of mode)
// opens the tree afresh at the start path; later showings find the window as it was left. Each
// mode keeps its place and size in the settings store, the large one also the splitter.
#pragma once

#include "platform/Drives.h"

#include <QDialog>
#include <functional>

class ColourButton;
class FileListModel;
class FolderScanner;
class FolderTree;
class QComboBox;
class QLabel;
class QListView;
class QSplitter;
class QToolButton;
class TextInputDialog;
class TimedMessage;

class BrowseDialog : public QDialog {
    Q_OBJECT

public:
    // The drives the list offers; by default the system's.
    using DriveSource = std::function<QList<Drives::Drive>()>;

    BrowseDialog(TextInputDialog& textInput, TimedMessage& message, QWidget* parent = nullptr,
                 DriveSource drives = {});
    ~BrowseDialog() override;

    // In: where the tree opens (a folder, or a folder and a file name). Out, after OK: the
    // chosen folder with the delimiter at its end, followed in large mode by the chosen file's
    // name; after Cancel: the path as it was when the window was initialised. While the window
    // is open it follows the tree's selection.
    QString folderPath() const { return folderPath_; }
    void setFolderPath(const QString& path) { folderPath_ = path; }
    // The text above the tree; a carriage return and line feed start a new line.
    QString heading() const { return heading_; }
    void setHeading(const QString& heading) { heading_ = heading; }
    // True: the file list is shown and a file is chosen (large mode); false: folders only.
    bool showFiles() const { return showFiles_; }
    void setShowFiles(bool show) { showFiles_ = show; }
    // The files the list shows: "*.*", or patterns such as "*.jpg; *.bmp; *.gif".
    void setFileMask(const QString& mask);
    // False makes the next showing open the window afresh at folderPath().
    bool isInitialized() const { return initialized_; }
    void setInitialized(bool initialized) { initialized_ = initialized; }
    // Whether the last showing was ended by a double click on a file.
    bool wasDoubleClicked() const { return doubleClicked_; }
    // Whether a showing is still under way: from exec() until it returns, which is a moment
    // after the window has gone (window events already waiting are handled first).
    bool isRunning() const { return running_; }

    // Shows the window modally; OK gives 1, Cancel 2. A call while a showing is still under way
    // shows nothing and gives 2.
    int exec() override;

    // Controls.
    QWidget* headingPanel;
    QLabel* headingLabel;
    QSplitter* splitter;
    QWidget* treePanel;
    QComboBox* driveList;
    QToolButton* newFolderButton;
    FolderTree* folderTree;
    QListView* fileList;
    FileListModel* files;
    QWidget* bottomPanel;
    QLabel* directoryPanel;
    QLabel* countLabel;
    ColourButton* okButton;
    ColourButton* cancelButton;

    // Handlers.
    void initialise();
    void chooseDrive(int index);
    void refreshDrives();
    void showDirectory(const QString& directory);
    void showChosenFile();
    void chooseFileByDoubleClick();
    void confirm();
    void cancel();
    void makeNewFolder();

    // OK ends with 1, Cancel (and Escape, and the close button) with 2; every ending stores the
    // place of the current mode.
    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void setTexts();
    void layoutControls();
    void layoutTreePanel();
    void readPlace();
    void savePlace();
    void listFiles(const QString& folder);
    void showFileCount();
    void selectDriveOf(const QString& path);
    bool isLarge() const { return showFiles_; }
    void tellNameProblem(const QString& text);

    TextInputDialog& textInput_;
    TimedMessage& message_;
    DriveSource drives_;
    QList<Drives::Drive> shownDrives_;
    FolderScanner* fileScanner_;
    quint64 fileListing_ = 0;
    QString fileMask_ = QStringLiteral("*.*");

    QString folderPath_;
    QString initialPath_;
    QString heading_;
    bool showFiles_ = false;
    bool initialized_ = false;
    bool initializedLarge_ = false; // the mode the window was initialised in
    bool doubleClicked_ = false;
    bool running_ = false;
    QString lastDriveRoot_;
    int splitterPos_ = 200;
};
