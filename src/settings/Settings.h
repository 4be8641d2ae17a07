// The settings shared by several windows: where projects live, the current project and whether
// the program checks for updates by itself. They are loaded from the store when the options
// window is created (before the main window first shows) and written back on OK, when the main
// window closes and at program end.
#pragma once

#include <QString>

extern QString ProjectName;     // name of the current project (folder name, default spine text)
extern QString ProjectFolder;   // full path of the current project folder, trailing separator
extern bool AutoUpdateEnabled;  // changed only by loading the settings

inline const QString DefaultProjectName = QStringLiteral("Velmora - Last Rose Of Summer 2002");
inline const QString SettingsSection = QStringLiteral("Defaults");

// What the options window shows of the stored settings.
struct StoredOptions {
    int top = 100;
    int left = 100;
    bool autoUpdate = true;
};

// Reads the options from the store into DataFolder, ProjectName, ProjectFolder and
// AutoUpdateEnabled, and gives what the options window shows.
StoredOptions LoadSettingsValues();

// Writes "AutoUpdate", "Project Name" (ProjectName cut to its last path component first) and
// "Path for Data".
void SaveSettingsValues(bool autoUpdateChecked);
