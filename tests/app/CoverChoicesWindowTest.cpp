// The main window's Front Fill and Disc Label windows as a user meets them: what is chosen with
// OK becomes the project's (marked changed, written to Cover.ini by Save), what is chosen and
// then cancelled is forgotten, and the disc label's picture follows the choices as they are made.
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "controls/ColourButton.h"
#include "cover/Cover.h"
#include "cover/CoverOptionsFile.h"
#include "cover/Workspace.h"
#include "dialogs/DialogTestUtil.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/FrontFillDialog.h"
#include "label/DiscLabelDialog.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Once the window stands, does what the user does in it.
void whenShown(QDialog& window, const std::function<void()>& act) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, act] {
        if (!window.isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act();
    });
    poll->start(10);
}

QImage shownLabel(const DiscLabelDialog& window) {
    return window.labelView->pixmap().toImage();
}

TEST(CoverChoicesWindow, ChoicesMadeWithOkAreSavedAndCancelledOnesForgotten) {
    const QString saved = QDir::currentPath();
    testenv::prepareWorkspace(QStringLiteral("cover-choices"));
    QStringList errors;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { errors.append(text); });
    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        MainWindow& main = windows.mainWindow();
        main.show();
        main.handleShow();
        ASSERT_TRUE(dialogtest::WaitUntil([&] { return !windows.cover().frontPicture().isEmpty(); },
                                          20000));
        const CoverOptions start = windows.cover().coverOptions();
        ASSERT_EQ(start.fill, FrontFill::Stretch);
        windows.workspace().setUnsavedChanges(false);

        // Chosen, then cancelled: nothing changes.
        FrontFillDialog& fill = windows.frontFillDialog();
        whenShown(fill, [&] {
            fill.fitButton->click();
            fill.cancelButton->click();
        });
        main.frontFillButton->click();
        EXPECT_EQ(windows.cover().coverOptions(), start);
        EXPECT_FALSE(windows.workspace().hasUnsavedChanges());

        whenShown(fill, [&] {
            fill.cropButton->click();
            fill.okButton->click();
        });
        main.frontFillButton->click();
        EXPECT_EQ(windows.cover().coverOptions().fill, FrontFill::Crop);
        EXPECT_TRUE(windows.workspace().hasUnsavedChanges());

        DiscLabelDialog& label = windows.discLabelDialog();
        bool labelFollowed = false;
        whenShown(label, [&] {
            const QImage before = shownLabel(label);
            label.holeBox->setCurrentIndex(1); // 15 mm
            label.tracksBox->setCurrentIndex(label.tracksBox->findData(int(LabelTracks::Ring)));
            labelFollowed = shownLabel(label) != before;
            label.okButton->click();
        });
        main.discLabelButton->click();
        EXPECT_TRUE(labelFollowed) << "the label's picture did not follow the choices";
        EXPECT_EQ(windows.cover().coverOptions().holeMm, 15);
        EXPECT_EQ(windows.cover().coverOptions().tracks, LabelTracks::Ring);
        EXPECT_EQ(windows.cover().coverOptions().fill, FrontFill::Crop) << "the front's stays";

        whenShown(label, [&] {
            label.holeBox->setCurrentIndex(0);
            label.cancelButton->click();
        });
        main.discLabelButton->click();
        EXPECT_EQ(windows.cover().coverOptions().holeMm, 15);

        main.saveProjectButton->click();
        const CoverOptions stored = readCoverOptionsFile(windows.workspace().projectFolder);
        EXPECT_EQ(stored, windows.cover().coverOptions());
        EXPECT_TRUE(main.close());
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::setReporter(qApp, nullptr);
    QDir::setCurrent(saved);
}

} // namespace
