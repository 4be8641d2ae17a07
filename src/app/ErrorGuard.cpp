#include "app/ErrorGuard.h"

#include "platform/AppError.h"

#include <QMessageBox>
#include <exception>

namespace ErrorGuard {
namespace {
Reporter& reporter() {
    static Reporter instance;
    return instance;
}
} // namespace

void SetReporter(Reporter r) { reporter() = std::move(r); }

void ShowError(QWidget* parent, const QString& message) {
    if (reporter()) {
        reporter()(message);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Sleevix"), message);
}

bool Run(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const AppError& e) {
        ShowError(parent, e.message());
    } catch (const std::bad_alloc&) {
        ShowError(parent, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        ShowError(parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace ErrorGuard
