// Presses the print window's Print button and accepts the print dialog that it opens, the way a
// user would; gives the text of the error box, empty when none was shown.
#pragma once

#include "app/ErrorGuard.h"
#include "controls/ClrBtn.h"
#include "print/Print.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace fixture {

inline QString printAcceptingTheDialog(TPrintForm& form) {
    QString error;
    ErrorGuard::SetReporter([&](const QString& text) { error = text; });
    QTimer::singleShot(0, &form, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    form.PrintButton->click();
    ErrorGuard::SetReporter(nullptr);
    return error;
}

} // namespace fixture
