// The main window with its back-cover editor and message window, after a first showing of
// the sample project, for tests of the project commands.
#pragma once

#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/ProjectCommands.h"
#include "back/BackTextEditor.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/TimedMessage.h"
#include "settings/Settings.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

class ProjectFixture : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("project"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        main_ = std::make_unique<MainWindow>(*ws_, *cover_);
        loadSettingsValues(*ws_);
        back_ = std::make_unique<BackTextEditor>(*ws_, *cover_, main_.get());
        main_->services.loadBackText = [this](const QString& f) { back_->loadContents(f); };
        main_->handleShow();
        message_ = std::make_unique<TimedMessage>();
        // The browse dialog's part: what it was asked, and the user's answer.
        projects_ = std::make_unique<ProjectCommands>(
            *ws_, *cover_, *main_, *back_, *message_,
            [this](const BrowseRequest& request) -> std::optional<QString> {
                browseRequests_.append(request);
                return browseAnswer_;
            },
            [this](const QString& folder) {
                replaceAsked_.append(folder);
                return replaceAnswer_;
            });
        back_->confirmReplace = [this](const QString& folder) {
            replaceAsked_.append(folder);
            return replaceAnswer_;
        };
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    QString root_;
    QString savedDir_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<BackTextEditor> back_;
    std::unique_ptr<TimedMessage> message_;
    std::unique_ptr<ProjectCommands> projects_;
    QList<BrowseRequest> browseRequests_;
    std::optional<QString> browseAnswer_;
    // The question before another project is replaced: the folders asked about, the answer.
    QStringList replaceAsked_;
    bool replaceAnswer_ = false;
};
