// Without a print system: no spooler to talk to, so no printer at all. The printer object still
// calls itself valid, but no document can begin on it; the user is told so, nothing crashes.
// The case runs in a child process of this test program whose CUPS client is pointed at a
// server that does not exist, so it holds whether or not a spooler runs on this machine.
#include "LayoutFixture.h"
#include "NoSpoolerChild.h"
#include "PrintThroughDialog.h"
#include "common/TestEnv.h"
#include "controls/ColourButton.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "print/PrintPreview.h"

#include <QApplication>
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
const char* ChildVariable = "SLEEVIX_NO_SPOOLER_CHILD";
}

TEST(NoSpoolerChild, NoPrinterIsToldClearly) {
    if (qEnvironmentVariableIsEmpty(ChildVariable))
        GTEST_SKIP() << "runs only as the child of NoSpooler.NoPrinterIsToldClearly";
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    QPrinter printer(QPrinter::HighResolution);
    EXPECT_TRUE(printer.isValid());
    try {
        printDocument(printer, [](QPainter&) { FAIL() << "a page was drawn"; });
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("No printer is installed")))
            << e.message().toStdString();
    }

    // Through the window: the print dialog offers only a PDF file then; accepting it prints
    // there, and the preview stays open.
    PrintPreview form;
    form.makePreview(fixture::layout(845, QImage(), QStringLiteral("No spooler")));
    form.show();
    const QString error = fixture::printAcceptingTheDialog(form);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(form.printer().outputFormat(), QPrinter::PdfFormat);
    EXPECT_TRUE(QFile::exists(form.printer().outputFileName()))
        << form.printer().outputFileName().toStdString();
    form.hide();
}

TEST(NoSpooler, NoPrinterIsToldClearly) {
    fixture::runWithoutSpooler(ChildVariable,
                               QStringLiteral("NoSpoolerChild.NoPrinterIsToldClearly"));
}
