#include "TestEnv.h"
#include "about/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "controls/ColourButton.h"
#include "dialogs/ErrorGuard.h"

#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The About button of the main window shows the About box made at start, centred over it.
TEST(AboutStartup, MadeLastAtStartAndShownCentredOverTheMainWindow) {
    const QString saved = QDir::currentPath();
    QDir::setCurrent(testenv::freshFolder(QStringLiteral("about-start")));
    startUp();
    programFolder = QStringLiteral(SLEEVIX_BINARY_DIR "/");
    languageCode = QStringLiteral("ENU");
    QStringList errors;
    ErrorGuard::setReporter([&](const QString& text) { errors.append(text); });

    createForms();
    ASSERT_NE(aboutDialog, nullptr);
    EXPECT_EQ(aboutDialog->parent(), mainWindow);
    EXPECT_EQ(mainWindow->children().last(), aboutDialog) << "the last window made";
    ASSERT_TRUE(mainWindow->services.showAbout);

    mainWindow->setGeometry(50, 60, 900, 700);
    QRect place;
    auto* poll = new QTimer(aboutDialog);
    QObject::connect(poll, &QTimer::timeout, aboutDialog, [&] {
        if (!aboutDialog->isVisible())
            return;
        poll->stop();
        place = aboutDialog->frameGeometry();
        aboutDialog->okButton->click();
    });
    poll->start(20);
    mainWindow->services.showAbout();
    const QRect caller = mainWindow->frameGeometry();
    EXPECT_EQ(place.left(), (caller.width() - place.width()) / 2 + caller.left());
    EXPECT_EQ(place.top(), (caller.height() - place.height()) / 2 + caller.top());
    EXPECT_FALSE(aboutDialog->isVisible());

    destroyForms();
    EXPECT_EQ(aboutDialog, nullptr);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::setReporter(nullptr);
    QDir::setCurrent(saved);
}

} // namespace
