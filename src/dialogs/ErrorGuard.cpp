#include "dialogs/ErrorGuard.h"

#include "platform/AppError.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace ErrorGuard {
namespace {

// Holds a window's reporter as one of its children, so that it goes with the window.
class ReporterHolder : public QObject {
public:
    ReporterHolder(QObject* window, Reporter reporter)
        : QObject(window), reporter(std::move(reporter)) {
        setObjectName(Name);
    }
    static inline const QString Name = QStringLiteral("errorReporter");
    Reporter reporter;
};

ReporterHolder* holderOf(QObject* o) {
    return dynamic_cast<ReporterHolder*>(
        o->findChild<QObject*>(ReporterHolder::Name, Qt::FindDirectChildrenOnly));
}

// The reporter of the window, of the nearest window that owns it, or of the application;
// nullptr for none.
ReporterHolder* holderFor(QObject* window) {
    for (QObject* o = window; o; o = o->parent())
        if (ReporterHolder* holder = holderOf(o))
            return holder;
    return QCoreApplication::instance() ? holderOf(QCoreApplication::instance()) : nullptr;
}

} // namespace

void setReporter(QObject* window, Reporter reporter) {
    delete window->findChild<QObject*>(ReporterHolder::Name, Qt::FindDirectChildrenOnly);
    if (reporter)
        new ReporterHolder(window, std::move(reporter));
}

void showError(QWidget* parent, const QString& message) {
    if (ReporterHolder* holder = holderFor(parent)) {
        holder->reporter(message);
        return;
    }
    // Also on standard error, for a program started from a terminal or a script.
    std::fprintf(stderr, "Sleevix: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
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
