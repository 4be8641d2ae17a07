#include "LayoutFixture.h"
#include "NoSpoolerChild.h"
#include "PrintThroughDialog.h"
#include "common/TestEnv.h"
#include "platform/RegistryStore.h"
#include "print/PrintPreview.h"
#include "settings/Settings.h"
#include "support/WindowPlacement.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

// The preview is modal: shown where no screen is, it blocks the program out of the user's
// reach. A stored place that no screen shows falls back to the default; either is kept inside
// the screen (the test screen is smaller than the preview, which then starts at its top).
TEST(ReviewPrintPreview, AStoredPlaceOffEveryScreenFallsBack) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const struct {
        int left, top;
        QPoint expected;
    } rows[] = {
        {-20000, 100, QPoint(200, 100)},
        {screen.right() + 5000, 140, QPoint(200, 100)},
        {150, screen.bottom() + 3000, QPoint(200, 100)},
        {50, 120, QPoint(50, 120)}, // on the screen: kept, as far as it fits
    };
    for (const auto& row : rows) {
        {
            RegistryStore store;
            store.writeInteger(SettingsSection, QStringLiteral("PrintLeft"), row.left);
            store.writeInteger(SettingsSection, QStringLiteral("PrintTop"), row.top);
        }
        PrintPreview form;
        form.show();
        EXPECT_EQ(form.pos(), keepOnScreen(row.expected, form.frameGeometry().size(),
                                           availableScreenAreas(), row.expected))
            << row.left << ", " << row.top;
        const QRect area = form.screen()->availableGeometry();
        EXPECT_GE(form.frameGeometry().top(), area.top());
        EXPECT_GE(form.frameGeometry().left(), area.left());
        EXPECT_LE(form.frameGeometry().right(), area.right());
        form.hide();
    }
}

} // namespace

namespace {
const char* ReviewChildVariable = "SLEEVIX_REVIEW_NO_PRINTER_CHILD";
}

// Without any printer the print dialog offers only a PDF file, named after the cover. Each
// cover printed in a run gets its own: the second cover printed must not be written over the
// first one's PDF under the first one's name.
TEST(ReviewNoPrinterChild, EachCoverIsProposedItsOwnPdf) {
    if (qEnvironmentVariableIsEmpty(ReviewChildVariable))
        GTEST_SKIP() << "runs only as the child of ReviewNoPrinter.EachCoverIsProposedItsOwnPdf";
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    PrintPreview form;
    form.show();
    form.makePreview(fixture::layout(845, QImage(), QStringLiteral("Cover A")));
    EXPECT_TRUE(fixture::printAcceptingTheDialog(form).isEmpty());
    const QString first = form.printer().outputFileName();
    EXPECT_TRUE(first.endsWith(QStringLiteral("/Sleevix - Cover A.pdf"))) << first.toStdString();
    QFile firstFile(first);
    ASSERT_TRUE(firstFile.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = firstFile.readAll();
    firstFile.close();

    form.makePreview(fixture::layout(845, QImage(), QStringLiteral("Cover B")));
    EXPECT_TRUE(fixture::printAcceptingTheDialog(form).isEmpty());
    const QString second = form.printer().outputFileName();
    EXPECT_TRUE(second.endsWith(QStringLiteral("/Sleevix - Cover B.pdf"))) << second.toStdString();
    EXPECT_EQ(form.printer().docName(), QStringLiteral("Sleevix - Cover B"));
    EXPECT_TRUE(QFile::exists(second));
    ASSERT_TRUE(firstFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(firstFile.readAll(), firstBytes) << "the first cover's PDF is left alone";
    form.hide();
}

TEST(ReviewNoPrinter, EachCoverIsProposedItsOwnPdf) {
    fixture::runWithoutSpooler(ReviewChildVariable,
                               QStringLiteral("ReviewNoPrinterChild.EachCoverIsProposedItsOwnPdf"));
}
