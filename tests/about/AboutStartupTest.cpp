#include "TestEnv.h"
#include "about/About.h"
#include "app/ErrorGuard.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "controls/ClrBtn.h"

#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The About button of the main window shows the About box made at start, centred over it.
TEST(AboutStartup, MadeLastAtStartAndShownCentredOverTheMainWindow) {
    const QString saved = QDir::currentPath();
    QDir::setCurrent(testenv::freshFolder(QStringLiteral("about-start")));
    StartUp();
    ProgramFolder = QStringLiteral(SLEEVIX_BINARY_DIR "/");
    LanguageCode = QStringLiteral("ENU");
    QStringList errors;
    ErrorGuard::SetReporter([&](const QString& text) { errors.append(text); });

    CreateForms();
    ASSERT_NE(AboutForm, nullptr);
    EXPECT_EQ(AboutForm->parent(), MainForm);
    EXPECT_EQ(MainForm->children().last(), AboutForm) << "the last window made";
    ASSERT_TRUE(MainForm->Services.ShowAbout);

    MainForm->setGeometry(50, 60, 900, 700);
    QRect place;
    auto* poll = new QTimer(AboutForm);
    QObject::connect(poll, &QTimer::timeout, AboutForm, [&] {
        if (!AboutForm->isVisible())
            return;
        poll->stop();
        place = AboutForm->frameGeometry();
        AboutForm->BtnOk->click();
    });
    poll->start(20);
    MainForm->Services.ShowAbout();
    const QRect caller = MainForm->frameGeometry();
    EXPECT_EQ(place.left(), (caller.width() - place.width()) / 2 + caller.left());
    EXPECT_EQ(place.top(), (caller.height() - place.height()) / 2 + caller.top());
    EXPECT_FALSE(AboutForm->isVisible());

    DestroyForms();
    EXPECT_EQ(AboutForm, nullptr);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ErrorGuard::SetReporter(nullptr);
    QDir::setCurrent(saved);
}

} // namespace
