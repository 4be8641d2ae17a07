// The start puts the cover on the screen before it lays out the project's track list in the
// hidden back-cover editor. The list still arrives whole and unchanged, and a command given
// before it arrived (Save, New) acts on the project as read, not on an empty editor.
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString SampleTrack = QStringLiteral("The Last Rose Of Summer");

struct FirstCommand {
    const char* name;
    // Given right after the project was read, before the window was painted.
    std::function<void(ProgramWindows&)> give;
    bool listInEditor; // after the painting
};

TEST(StartList, ArrivesAfterTheCoverAndCommandsBeforeItFindTheProjectAsRead) {
    const FirstCommand rows[] = {
        {"none", [](ProgramWindows&) {}, true},
        {"Save Project",
         [](ProgramWindows& windows) {
             windows.mainWindow().saveProjectButton->click();
             QFile saved(windows.workspace().projectFolder + QStringLiteral("Back.rtf"));
             ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
             EXPECT_TRUE(saved.readAll().contains(SampleTrack.toLatin1()))
                 << "the list read at the start is saved, not an empty one";
         },
         true},
        {"New Project", [](ProgramWindows& windows) { windows.mainWindow().newProjectButton->click(); },
         false},
    };
    const QString saved = QDir::currentPath();
    for (const FirstCommand& row : rows) {
        SCOPED_TRACE(row.name);
        testenv::prepareWorkspace(QStringLiteral("start-list"));
        QStringList errors;
        ErrorGuard::setReporter(qApp, [&](const QString& text) { errors.append(text); });
        {
            ProgramWindows windows(testenv::startupFacts(), QDir::currentPath());
            MainWindow& main = windows.mainWindow();
            main.handleShow();
            EXPECT_FALSE(windows.workspace().hasUnsavedChanges());
            row.give(windows);
            main.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
            QTest::qWait(50); // the painting, and what waited for it
            EXPECT_EQ(windows.backTextEditor().editor->toPlainText().contains(SampleTrack),
                      row.listInEditor);
            if (row.listInEditor) {
                EXPECT_FALSE(windows.workspace().hasUnsavedChanges())
                    << "the list as read is no change: closing asks nothing";
            }
        }
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        ErrorGuard::setReporter(qApp, nullptr);
    }
    QDir::setCurrent(saved);
}

} // namespace
