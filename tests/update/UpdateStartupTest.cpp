#include "app/MainWindow.h"
#include "app/Startup.h"
#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/QuestionDialog.h"
#include "settings/OptionsDialog.h"
#include "update/UpdateDialog.h"

#include "TestEnv.h"
#include "UpdateFixture.h"

#include <QDir>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs the action once the window shows (its modal loop is running then).
void whenShown(QWidget* window, const std::function<void()>& action) {
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [=] {
        if (!window->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start(5);
}

class UpdateStartup : public ::testing::Test {
protected:
    void SetUp() override {
        saved = QDir::currentPath();
        testenv::prepareWorkspace(QStringLiteral("update-start"));
        ErrorGuard::setReporter(qApp, [this](const QString& text) { errors.append(text); });
        fixture.serveList(versionList("Sleevix,sleevix111.exe,d,2350,-"));
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        QDir::setCurrent(saved);
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    }

    QString saved;
    QStringList errors;
    UpdateFixture fixture;
};

TEST_F(UpdateStartup, CheckNowAndTheTimerReachTheUpdateWindow) {
    ProgramWindows windows(testenv::startupFacts(), QDir::currentPath(), fixture.updateServer());
    UpdateDialog& update = windows.updateDialog();
    EXPECT_EQ(update.parent(), &windows.mainWindow());

    QString shown;
    whenShown(&update, [&] {
        shown = update.messageText->toPlainText();
        update.done(2);
    });
    windows.optionsDialog().checkNowButton->click();
    EXPECT_TRUE(shown.contains(QStringLiteral("Update is advised"))) << shown.toStdString();

    shown.clear();
    whenShown(&update, [&] {
        shown = update.messageText->toPlainText();
        update.done(2);
    });
    // The timer stops for the check and runs again as soon as the update window closes, not
    // at the main window's next painting (the window is not even shown here).
    ASSERT_TRUE(windows.workspace().autoUpdateEnabled);
    windows.mainWindow().onUpdateTimer();
    EXPECT_TRUE(shown.contains(QStringLiteral("The latest version is 1.11d")));
    EXPECT_TRUE(windows.mainWindow().updateTimer->isActive());
}

TEST_F(UpdateStartup, InstallOffersUnsavedWorkForSavingFirst) {
    ProgramWindows windows(testenv::startupFacts(), QDir::currentPath(), fixture.updateServer());
    UpdateDialog& update = windows.updateDialog();
    QuestionDialog& question = windows.questionDialog();
    QStringList started;
    int ended = 0;
    update.actions.startProgram = [&](const QString& program, const QStringList&) {
        started.append(program);
        return true;
    };
    update.actions.endProgram = [&] { ++ended; };
    update.installerReady = true;
    update.downloadName = QStringLiteral("sleevix111.exe");
    windows.workspace().setUnsavedChanges(true);

    // Cancel: back to the update window, nothing started.
    QString asked;
    whenShown(&question, [&] {
        asked = question.windowTitle() + QLatin1Char('|') + question.messageText->toPlainText();
        question.cancelButton->click();
    });
    update.startInstaller();
    EXPECT_EQ(asked, QStringLiteral("Sleevix|Do you want to save the current project?"));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(ended, 0);

    // No: the work is left, the installer starts and the program ends.
    whenShown(&question, [&] { question.noButton->click(); });
    update.startInstaller();
    EXPECT_EQ(started.size(), 1);
    EXPECT_EQ(ended, 1);

    // Nothing unsaved: no question at all.
    windows.workspace().setUnsavedChanges(false);
    update.startInstaller();
    EXPECT_EQ(ended, 2);
}

} // namespace
