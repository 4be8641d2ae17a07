// A back-cover editor over a workspace of its own, made in a fresh folder that is the working
// folder while the test runs.
#pragma once

#include "TestEnv.h"
#include "back/BackTextEditor.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

class EditorFixture : public ::testing::Test {
protected:
    // Makes the workspace in a fresh folder named name, its cover and the editor.
    void makeEditor(const QString& name) {
        savedDir_ = QDir::currentPath();
        testenv::prepareWorkspace(name);
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        back_ = std::make_unique<BackTextEditor>(*ws_, *cover_);
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    QString savedDir_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
    std::unique_ptr<BackTextEditor> back_;
};
