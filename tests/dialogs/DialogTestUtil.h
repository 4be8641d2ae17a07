// Helpers for driving the dialog kit's windows in tests.
#pragma once

#include "dialogs/QuestionDialog.h"
#include "dialogs/TextInputDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <functional>

namespace dialogtest {

// Runs the action once the modal loop about to start is running.
inline void WhenShown(QObject* context, std::function<void()> action) {
    QTimer::singleShot(0, context, std::move(action));
}

// Lets the event loop run until the condition holds or the time is up; returns the condition.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// Asks a question the way the tests are written: the caller's top, left, height and width, and
// Cancel offered when `cancel` comes in true; `cancel` goes out true when Cancel was chosen.
inline bool AskYesNo(QuestionDialog& dialog, int top, int left, int height, int width,
                     const QString& caption, const QString& message, const QString& yes,
                     const QString& no, const QString& cancelText, bool defaultYes, bool& cancel) {
    const auto answer = dialog.ask(QRect(left, top, width, height),
                                   {caption, message, yes, no, cancelText, defaultYes, cancel});
    cancel = answer == QuestionDialog::Answer::Cancel;
    return answer == QuestionDialog::Answer::Yes;
}

// Asks for a line of text the way the tests are written: the caller's top, left, height and
// width; `answer` goes in as the proposal and comes out as what was left in the field.
inline bool AskText(TextInputDialog& dialog, int top, int left, int height, int width,
                    const QString& captionSuffix, const QString& prompt, QString& answer) {
    const auto result = dialog.ask(QRect(left, top, width, height), captionSuffix, prompt, answer);
    answer = result.text;
    return result.accepted;
}

} // namespace dialogtest
