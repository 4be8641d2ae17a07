// BackTextEditor: the back-cover contents editor. The user writes the track list in editor, reads
// it from or saves it to an .rtf file, and copies it onto the back cover: the list as the editor
// displays it becomes the back picture (and prints as text while the picture is that copy), the
// first displayed line (or the second, when the first is short) the spine text. The window stays
// open beside the main window (not modal); closing only hides it and keeps what was typed.
#pragma once

#include "cover/BackText.h"

#include <QDialog>
#include <functional>

class QFileDialog;
class QLabel;
class RichTextEdit;
class ColourButton;
class Cover;
class Workspace;

class BackTextEditor : public QDialog {
    Q_OBJECT
public:
    BackTextEditor(Workspace& workspace, Cover& cover, QWidget* parent = nullptr);

    QWidget* topPanel;
    ColourButton* readButton;
    ColourButton* saveButton;
    QLabel* hintLabel;
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

    // Loads a list file (a project's "Back.rtf") into the editor, replacing its content. When the
    // cover's back picture is exactly the copy of this list, the cover keeps the list with it.
    void loadContents(const QString& fileName);
    // The same for a file dropped on the editor; an error names the file.
    void takeListFile(const QString& fileName);
    // The list as the editor shows it now: what Copy to Back Cover puts on the back.
    BackTextView displayedList() const;

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
    void createControls();
    void setTexts();
    void connectHandlers();

    Workspace& workspace_;
    Cover& cover_;
};
