// Presses the print window's Print button and accepts the print dialog that it opens, the way a
// user would; gives the text of the error box, empty when none was shown.
#pragma once

#include "controls/ColourButton.h"
#include "dialogs/ErrorGuard.h"
#include "print/PrintPreview.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace fixture {

inline QString printAcceptingTheDialog(PrintPreview& form) {
    QString error;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { error = text; });
    QTimer::singleShot(0, &form, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    form.printButton->click();
    ErrorGuard::setReporter(qApp, nullptr);
    return error;
}

} // namespace fixture
