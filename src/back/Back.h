// TBackForm: the back-cover contents editor. The user writes the track list in RichEdit1, reads
// it from or saves it to an .rtf file, and copies it onto the back cover: the editor's displayed
// pixels become the back picture, the first displayed line (or the second, when the first is
// short) the spine text. The window stays open beside the main window (not modal); closing only
// hides it and keeps what was typed.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

class QFileDialog;
class QLabel;
class RichEdit;
class TClrBtn;
class TMainForm;

class TBackForm : public QDialog {
    Q_OBJECT
public:
    explicit TBackForm(QWidget* parent = nullptr);

    QWidget* Panel1;
    TClrBtn* LeesButton;
    TClrBtn* SaveButton;
    QLabel* Label1;
    RichEdit* RichEdit1;
    QWidget* Panel2;
    TClrBtn* OKButton;
    TClrBtn* CancelButton;
    QFileDialog* OpenDialog1;

    // The main window the list is copied to; the program's main window unless set.
    TMainForm* MainWindow = nullptr;
    // Shows the open dialog; true when the user chose a file. Tests answer it themselves.
    std::function<bool(QFileDialog*)> RunOpenDialog;

    // Loads "Back.rtf" (or any list file) into the editor, replacing its content.
    void LoadContents(const QString& fileName);

    void FormCreate();
    void FormShow();
    void FormResize();
    void LeesButtonClick();
    void SaveButtonClick();
    void OKButtonClick();
    void CancelButtonClick();
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void setTexts();
    void connectHandlers();
    TMainForm* mainWindow() const;
    QImage grabWithoutSelection(); // the window as shown, less the editor's selection
};

extern TBackForm* BackForm;
