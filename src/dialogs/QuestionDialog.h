// QuestionDialog: the modal question with the answers Yes, No and (optionally) Cancel. It sizes
// itself to the question and stands centred over the calling window. The caller gives every text,
// so the window has no language of its own. One instance is created at start and reused:
//
//   bool cancel = true; // in: show Cancel; out: Cancel was chosen
//   if (AskYesNo(top, left, height, width, caption, question, yes, no, cancelText, true, cancel))
//       ...
#pragma once

#include <QDialog>

class QFrame;
class QTextEdit;
class ColourButton;

class QuestionDialog : public QDialog {
    Q_OBJECT

public:
    explicit QuestionDialog(QWidget* parent = nullptr);
    ~QuestionDialog() override;

    // Asks the question; true when Yes was chosen. The rectangle is the caller's outer window
    // (top, left, height, width). A carriage return in the message starts a new line. cancel: in,
    // whether the Cancel button is shown; out, whether Cancel was chosen.
    bool askYesNo(int top, int left, int height, int width, const QString& caption,
                  const QString& message, const QString& yesCaption, const QString& noCaption,
                  const QString& cancelCaption, bool defaultYes, bool& cancel);

    QFrame* messagePanel;
    QTextEdit* messageText;
    ColourButton* yesButton;
    ColourButton* cancelButton;
    ColourButton* noButton;

    bool answer = false;
    bool cancelled = false;
    bool laidOut = false; // height, place and focus done for the question now shown
    int callerTop = 0;
    int callerLeft = 0;
    int callerHeight = 0;
    int callerWidth = 0;

    void answerYes();
    void answerNo();
    void answerCancel();

    // Escape and the system's close: Cancel when that button is shown, otherwise nothing.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void placeControls();
    void initialise();
    // Height, place and focus, done at the first showing of each question.
    void handlePaint();
};

// The instance created at start (set by its constructor).
extern QuestionDialog* questionDialog;

// Asks through the one instance (created here if the start-up has not made it).
bool askYesNo(int top, int left, int height, int width, const QString& caption,
              const QString& message, const QString& yesCaption, const QString& noCaption,
              const QString& cancelCaption, bool defaultYes, bool& cancel);
