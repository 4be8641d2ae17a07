// Every handler of a window runs through this guard: an AppError (or any other exception) is
// shown in the standard error box, titled "Sleevix", and the program goes on.
#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace ErrorGuard {

// Runs the action; returns false when it ended with an error (which has then been shown).
bool run(QWidget* parent, const std::function<void()>& action);

// Shows the standard error box with this text.
void showError(QWidget* parent, const QString& message);

// Replaces the error box, for the window and the windows it owns, with a recorder (tests do;
// on the application object, for every window); nullptr restores the box.
using Reporter = std::function<void(const QString&)>;
void setReporter(QObject* window, Reporter reporter);

} // namespace ErrorGuard

// Wraps a member handler so that a connection runs it through the guard:
//   connect(button, &QPushButton::clicked, this, Guarded(this, &MainWindow::pastoeButtonClick));
template <typename Window, typename Handler> auto guarded(Window* window, Handler handler) {
    return [window, handler]() { ErrorGuard::run(window, [&] { (window->*handler)(); }); };
}
