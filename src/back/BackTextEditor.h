// BackTextEditor: the back-cover contents editor. The user writes the track list in editor, reads
// it from or saves it to an .rtf file, and copies it onto the back cover: the list as the editor
// displays it becomes the back picture (and prints as text while the picture is that copy), the
// first displayed line (or the second, when the first is short) the spine text. The window stays
// open beside the main window (not modal); closing only hides it and keeps what was typed.
#pragma once

#include "cover/BackText.h"
#include "tracks/TrackList.h"

#include <QDialog>
#include <functional>
#include <optional>

class QFileDialog;
class QLabel;
class QMenu;
class RichTextEdit;
class TabRuler;
class TextFormatBar;
class ColourButton;
class DiscImport;
class Cover;
class Workspace;

class BackTextEditor : public QDialog {
    Q_OBJECT
public:
    BackTextEditor(Workspace& workspace, Cover& cover, QWidget* parent = nullptr);

    QWidget* topPanel;
    ColourButton* readButton;
    ColourButton* saveButton;
    // Import: a track list from a folder of audio files, a cue sheet or text file, or the
    // clipboard.
    ColourButton* importButton;
    QMenu* importMenu;
    // Import of an audio CD: reads and looks up the disc, lets the user pick the release.
    DiscImport* discImport;
    QLabel* hintLabel;
    // Font, size, style, colour, alignment and the kind of tab stop, over the ruler that shows
    // the paragraph's tab stops right above the text.
    TextFormatBar* formatBar;
    TabRuler* ruler;
    RichTextEdit* editor;
    QWidget* bottomPanel;
    ColourButton* copyButton;
    ColourButton* closeButton;
    QFileDialog* openDialog = nullptr; // made at the first read

    // Shows the open dialog; true when the user chose a file. Tests answer it themselves.
    std::function<bool(QFileDialog*)> runOpenDialog;
    // Asks whether the project in this folder, another than the one being edited, is to be
    // replaced by Save; true for Yes. Without it such a folder is left alone.
    std::function<bool(const QString& folder)> confirmReplace;
    // Asks the user a yes/no question; true for yes. Tests answer it themselves.
    std::function<bool(const QString&)> askYesNo;
    // Chooses what to import: a folder (folder true) or a file; empty when the user cancels.
    std::function<QString(bool folder)> chooseImport;
    // Called when an import's album picture became the front (the main window warns of one too
    // small to print sharply).
    std::function<void()> frontPictureTaken;

    // Loads a list file (a project's "Back.rtf") into the editor, replacing its content. When the
    // cover's back picture is exactly the copy of this list, the cover keeps the list with it.
    void loadContents(const QString& fileName);
    // The same for a file dropped on the editor; an error names the file.
    void takeListFile(const QString& fileName);
    // The list as the editor shows it now: what Copy to Back Cover puts on the back.
    BackTextView displayedList() const;

    // Reads a track list from a folder, cue sheet, text or audio file, on a worker thread with
    // its progress shown and a Cancel, and lays it out in place of the list (one undo step).
    // A list with unsaved changes is replaced only when the user agrees; the album's picture is
    // offered as the front.
    void importTracks(const QString& path);
    // The same for the clipboard's text.
    void importClipboard();
    // The same for the audio CD in the drive.
    void importDisc();
    // Lays a list out in place of the editor's content, fitted to the back.
    void layOutTracks(const TrackList& list);

    void initialise();
    void handleShow();
    void keepFixedSize();
    void readList();
    void saveList();
    void copyToBackCover();
    void closeEditor();
    void handleClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::optional<TrackList> readInBackground(const QString& path);
    void takeTracks(const TrackList& list, const QString& source);
    void createControls();
    void setTexts();
    void connectHandlers();

    Workspace& workspace_;
    Cover& cover_;
};
