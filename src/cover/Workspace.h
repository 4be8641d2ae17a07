// What the windows share for the whole run: the start-up facts, the folder projects live in, the
// current project, the automatic update option, and whether there is work the user has not
// saved. Made once at start and handed to every window that needs it; the settings load it and
// store it (settings/Settings.h).
#pragma once

#include "support/Support.h"

#include <QObject>
#include <QString>

inline const QString ProductName = QStringLiteral("Sleevix");

class Workspace : public QObject {
    Q_OBJECT
public:
    // startFolder: the current folder at start, where the sample files are looked for first.
    explicit Workspace(StartupFacts facts, const QString& startFolder, QObject* parent = nullptr);

    const StartupFacts& facts() const { return facts_; }
    const QString& startFolder() const { return startFolder_; }

    QString dataFolder;             // folder under which project folders live, trailing separator
    QString projectName;            // name of the current project (folder name, default spine text)
    QString projectFolder;          // full path of the current project folder, trailing separator
    bool autoUpdateEnabled = false; // changed only by loading the settings

    // Closing the main window asks whether to save while this is true.
    bool hasUnsavedChanges() const { return unsaved_; }
    void setUnsavedChanges(bool unsaved);

Q_SIGNALS:
    void unsavedChangesChanged(bool unsaved);

private:
    StartupFacts facts_;
    QString startFolder_;
    bool unsaved_ = false;
};
