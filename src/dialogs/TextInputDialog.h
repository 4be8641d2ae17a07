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

    // Shows the prompt with answer in the edit field; the caption is ProductName + " - " +
    // captionSuffix. answer receives the edit field's text whichever button closed the window;
    // the result is true only for OK.
    bool ask(int refTop, int refLeft, int refHeight, int refWidth, const QString& captionSuffix,
             const QString& prompt, QString& answer);

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
    int callerTop_ = 0;
    int callerLeft_ = 0;
    int callerHeight_ = 0;
    int callerWidth_ = 0;
};

// The instance created at start (set by its constructor).
extern TextInputDialog* textInputDialog;

// Asks through the one instance (created here if the start-up has not made it).
bool ask(int refTop, int refLeft, int refHeight, int refWidth, const QString& captionSuffix,
         const QString& prompt, QString& answer);
