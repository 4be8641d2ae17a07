// The main window with its back-cover editor and message window, after a first showing of
// the sample project, for tests of the project commands.
#pragma once

#include "TestEnv.h"
#include "app/MainWindow.h"
#include "back/BackTextEditor.h"
#include "dialogs/TimedMessage.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

class ProjectFixture : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("project"));
        main_ = std::make_unique<MainWindow>();
        loadSettingsValues();
        back_ = std::make_unique<BackTextEditor>(main_.get());
        main_->services.loadBackText = [this](const QString& f) { back_->loadContents(f); };
        main_->handleShow();
        message_ = std::make_unique<TimedMessage>();
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    QString root_;
    QString savedDir_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<BackTextEditor> back_;
    std::unique_ptr<TimedMessage> message_;
};
