#include "dialogs/ErrorGuard.h"

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

void setReporter(Reporter r) {
    reporter() = std::move(r);
}

void showError(QWidget* parent, const QString& message) {
    if (reporter()) {
        reporter()(message);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Sleevix"), message);
}

bool run(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const AppError& e) {
        showError(parent, e.message());
    } catch (const std::bad_alloc&) {
        showError(parent, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        showError(parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace ErrorGuard
