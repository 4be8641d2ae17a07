// QuestionDialog: the modal question with the answers Yes, No and (optionally) Cancel. It sizes
// itself to the question and stands centred over the calling window. The caller gives every text,
// so the window has no language of its own. One instance is created at start and reused:
//
//   if (questions.ask(frameGeometry(), {caption, question, yes, no, cancel, true, true}) ==
//       QuestionDialog::Answer::Yes)
//       ...
#pragma once

#include <QDialog>

class QFrame;
class QTextEdit;
class ColourButton;

// What is asked: every text of the window, which answer has the focus, and whether Cancel is
// offered. A carriage return in the message starts a new line.
struct Question {
    QString caption;
    QString message;
    QString yesCaption;
    QString noCaption;
    QString cancelCaption;
    bool defaultYes = true;
    bool withCancel = false;
};

class QuestionDialog : public QDialog {
    Q_OBJECT

public:
    enum class Answer { Yes, No, Cancel };

    explicit QuestionDialog(QWidget* parent = nullptr);
    ~QuestionDialog() override;

    // Asks the question, centred over the caller's outer window, and gives the answer. Closing
    // the window without a button gives No, or Cancel when Cancel is offered.
    Answer ask(const QRect& caller, const Question& question);

    QFrame* messagePanel;
    QTextEdit* messageText;
    ColourButton* yesButton;
    ColourButton* cancelButton;
    ColourButton* noButton;

    bool answer = false;
    bool cancelled = false;
    bool laidOut = false; // height, place and focus done for the question now shown
    QRect caller;         // the calling window's outer rectangle, from the last question

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
