// The program's one error type: it carries the exact text the user is shown.
// File, picture, store and network failures throw it; the handler guard (app/ErrorGuard.h)
// catches it, shows the standard error box and lets the program go on.
#pragma once

#include <QString>
#include <stdexcept>

class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};
