#include "cover/Workspace.h"

#include "platform/PathDelim.h"

#include <utility>

Workspace::Workspace(StartupFacts facts, const QString& startFolder, QObject* parent)
    : QObject(parent), facts_(std::move(facts)), startFolder_(withTrailingDelim(startFolder)) {}

void Workspace::setUnsavedChanges(bool unsaved) {
    if (unsaved == unsaved_)
        return;
    unsaved_ = unsaved;
    Q_EMIT unsavedChangesChanged(unsaved);
}
