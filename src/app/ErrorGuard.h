// Every handler of a window runs through this guard: an AppError (or any other exception) is
// shown in the standard error box, titled "Sleevix", and the program goes on.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ErrorGuard {

// Runs the action; returns false when it ended with an error (which has then been shown).
bool Run(QWidget* parent, const std::function<void()>& action);

// Shows the standard error box with this text.
void ShowError(QWidget* parent, const QString& message);

// Tests replace the error box with a recorder; nullptr restores the box.
using Reporter = std::function<void(const QString&)>;
void SetReporter(Reporter reporter);

} // namespace ErrorGuard

// Wraps a member handler so that a connection runs it through the guard:
//   connect(button, &QPushButton::clicked, this, Guarded(this, &TMainForm::PastoeButtonClick));
template <typename Window, typename Handler>
auto Guarded(Window* window, Handler handler) {
    return [window, handler]() { ErrorGuard::Run(window, [&] { (window->*handler)(); }); };
}
