// TimedMessage: tells the user something without asking anything back. A borderless window with
// a read-only text stands centred over the calling window and closes itself after the given
// number of milliseconds. Not modal: ShowTimed returns as soon as the window is on screen.
#pragma once

#include <QWidget>

class QTextEdit;
class QTimer;

class TimedMessage : public QWidget {
    Q_OBJECT

public:
    // The message takes the background of the parent (the main window), white when it has none.
    explicit TimedMessage(QWidget* parent = nullptr);
    ~TimedMessage() override;

    // Shows lineA and lineB (either may be empty) under an empty first line, centred over the
    // caller's outer rectangle, for interval milliseconds. A call while a message stands replaces
    // it; the count restarts only when the interval differs from the one already set. An interval
    // of zero or less closes the window at the next turn of the event loop.
    void showTimed(const QRect& caller, const QString& lineA, const QString& lineB, int interval);

    QTextEdit* messageText;
    QTimer* closeTimer;

    void closeMessage();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void initialise();
    void handleShow();
};
