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
    testenv::useLanguage(QStringLiteral("ENU"));
    QStringList errors;
    ErrorGuard::setReporter(qApp, [&](const QString& text) { errors.append(text); });
    {
        ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
        MainWindow& main = windows.mainWindow();
        AboutDialog& about = windows.aboutDialog();
        EXPECT_EQ(about.parent(), &main);
        EXPECT_EQ(main.children().last(), &about) << "the last window made";
        ASSERT_TRUE(main.services.showAbout);

        main.setGeometry(50, 60, 900, 700);
        QRect place;
        auto* poll = new QTimer(&about);
        QObject::connect(poll, &QTimer::timeout, &about, [&] {
            if (!about.isVisible())
                return;
            poll->stop();
            place = about.frameGeometry();
            about.okButton->click();
        });
        poll->start(20);
        main.services.showAbout();
        const QRect caller = main.frameGeometry();
        EXPECT_EQ(place.left(), (caller.width() - place.width()) / 2 + caller.left());
        EXPECT_EQ(place.top(), (caller.height() - place.height()) / 2 + caller.top());
        EXPECT_FALSE(about.isVisible());
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::setReporter(qApp, nullptr);
    QDir::setCurrent(saved);
}

} // namespace
