// The settings shared by several windows: where projects live, the current project and whether
// the program checks for updates by itself. They are loaded from the store when the options
// window is created (before the main window first shows) and on Cancel there, and written back
// on OK, when the main window closes and at program end.
//
// Store (section "Defaults"): "Path for Data" -> DataFolder, "Project Name" -> ProjectName,
// "AutoUpdate" -> AutoUpdateEnabled (and the options' check box), "OptionsTop"/"OptionsLeft" ->
// the options window; the other windows keep their places in the integers listed below.
#pragma once

#include <QString>

class RegistryStore;
class Workspace;

inline const QString DefaultProjectName = QStringLiteral("Velmora - Last Rose Of Summer 2002");
inline const QString SettingsSection = QStringLiteral("Defaults");

// The integers of the store (window places and sizes) with the value each takes when it is
// missing, empty or not a number.
struct StoredInteger {
    const char* name;
    int def;
};
inline constexpr StoredInteger StoredIntegers[] = {
    {"Left", 200},
    {"Top", 100},
    {"OptionsTop", 100},
    {"OptionsLeft", 100},
    {"BackLeft", 200},
    {"BackTop", 100},
    {"PrintLeft", 200},
    {"PrintTop", 100},
    {"Browse Large Top", 200},
    {"Browse Large Left", 500},
    {"Browse Large Width", 550},
    {"Browse Large Height", 550},
    {"Browse Splitter", 200},
    {"Browse Small Top", 200},
    {"Browse Small Left", 600},
    {"Browse Small Width", 350},
    {"Browse Small Height", 550},
};

// Reads one of the integers above from section "Defaults" with its default and its own rule: a
// negative "OptionsTop" or "OptionsLeft" gives 100, a "Browse Splitter" below 200 gives 200.
// Throws AppError for a name not in the list, and "Invalid data type" like the store.
int readStoredInteger(RegistryStore& store, const QString& name);

// What the options window shows of the stored settings.
struct StoredOptions {
    int top = 100;
    int left = 100;
    bool autoUpdate = true;
    // The first failure met while reading (a value of the wrong kind, a damaged store file), to
    // be raised once the window has taken the values above; empty when all went well. Every
    // value that could not be read has taken its default.
    QString failure;
};

// Reads the options from the store into the workspace's data folder, project and update option,
// and gives what the options window shows. A failure does not stop the reading halfway: see
// StoredOptions::failure.
StoredOptions loadSettingsValues(Workspace& workspace);

// The project name the store keeps: the name of the current project's folder when that lies in
// the data folder and the project's name is that folder's name cut to the spine's length (so
// that the next start finds the folder again), else the project's name.
QString storedProjectName(const Workspace& workspace);

// Writes "AutoUpdate", "Project Name" (ProjectName cut to its last path component first, then as
// storedProjectName gives it) and "Path for Data", all or none. Throws "Failed to set data for
// '<name>'" when it cannot.
void saveSettingsValues(Workspace& workspace, bool autoUpdateChecked);
// The same values as part of a larger group of the store, written when the store is flushed.
void saveSettingsValues(Workspace& workspace, bool autoUpdateChecked, RegistryStore& store);

// Writes the current project ("Project Name" as storedProjectName gives it, and "Path for Data")
// when a project has been read or saved, so that a later start or an export beside this run
// finds it. Says nothing when the store cannot take it: the closing tells.
void recordCurrentProject(const Workspace& workspace);

// A folder chosen for the data: the data folder := folder (with a separator at its end), and the
// current project moves along: project folder := data folder + project name + separator.
void useDataFolder(Workspace& workspace, const QString& folder);

// The last component of a project name that holds a path; the name itself when it holds none.
QString projectNameOnly(const QString& name);
