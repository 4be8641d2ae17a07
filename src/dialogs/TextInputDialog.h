// TextInputDialog: the modal window that asks for one line of text, with a prompt above an edit
// field and OK and Cancel buttons. It sizes itself to the prompt and stands centred over the
// calling window. One instance is created at start and reused:
//
//   QString name;                        // in: the text offered; out: the text as left
//   if (Ask(top, left, height, width, QString(), prompt, name)) ...
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class ColourButton;

class TextInputDialog : public QDialog {
    Q_OBJECT

public:
    explicit TextInputDialog(QWidget* parent = nullptr);
    ~TextInputDialog() override;

    // What the user left in the edit field, and whether OK closed the window.
    struct Result {
        bool accepted = false;
        QString text;
    };

    // Shows the prompt with `answer` in the edit field, centred over the caller's outer window;
    // the caption is the product name + " - " + captionSuffix. The text comes back whichever
    // button closed the window; `accepted` is true only for OK.
    Result ask(const QRect& caller, const QString& captionSuffix, const QString& prompt,
               const QString& answer);

    QLabel* promptLabel;
    QLineEdit* answerEdit;
    ColourButton* okButton;
    ColourButton* cancelButton;

    bool okChosen = false;

    void confirm();
    void answerCancel();

    // Escape and the system's close count as Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void placeControls();
    void initialise();
    // Gives the edit field the focus and brings the window to the front.
    void focusAnswer();
    void centreOverCaller();

    // The calling window's outer rectangle, from the last call.
    QRect caller_;
};
