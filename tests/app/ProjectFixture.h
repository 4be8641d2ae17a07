// The main window with its back-cover editor and message window, after a first showing of
// the sample project, for tests of the project commands.
#pragma once

#include "TestEnv.h"
#include "app/Main.h"
#include "back/Back.h"
#include "dialogs/MessForm.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

class ProjectFixture : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("project"));
        main_ = std::make_unique<TMainForm>();
        LoadSettingsValues();
        back_ = std::make_unique<TBackForm>(main_.get());
        main_->Services.LoadBackText = [this](const QString& f) { back_->LoadContents(f); };
        main_->FormShow();
        message_ = std::make_unique<TMessageForm>();
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    QString root_;
    QString savedDir_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TBackForm> back_;
    std::unique_ptr<TMessageForm> message_;
};
