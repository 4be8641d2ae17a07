#include "settings/Settings.h"

#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "platform/RegistryStore.h"
#include "platform/SystemReason.h"
#include "support/Support.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// Runs one read; a value that cannot be read keeps the fallback and the first such failure is
// remembered, so that one bad value does not leave the others unread.
template <typename T, typename Read> T readOr(QString& failure, T fallback, Read read) {
    try {
        return read();
    } catch (const AppError& e) {
        if (failure.isEmpty())
            failure = e.message();
        return fallback;
    }
}

// A stored folder without its separator would glue the project name onto the folder's name.
QString asFolder(const QString& path) {
    return withTrailingDelim(path);
}

} // namespace

int readStoredInteger(RegistryStore& store, const QString& name) {
    const auto* entry = std::find_if(std::begin(StoredIntegers), std::end(StoredIntegers),
                                     [&](const StoredInteger& e) { return name == e.name; });
    if (entry == std::end(StoredIntegers))
        throw AppError(QStringLiteral("Unknown setting '%1'").arg(name));
    int value = store.readInteger(SettingsSection, name, entry->def);
    if ((name == QLatin1String("OptionsTop") || name == QLatin1String("OptionsLeft")) && value < 0)
        value = 100;
    if (name == QLatin1String("Browse Splitter") && value < 200)
        value = 200;
    return value;
}

QString projectNameOnly(const QString& name) {
#ifdef Q_OS_WIN
    const qsizetype cut =
        std::max({name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'), name.lastIndexOf(u':')});
#else
    // Only the separator: a colon or a backslash is an ordinary letter of a folder name here.
    const qsizetype cut = name.lastIndexOf(PathDelim);
#endif
    return name.mid(cut + 1);
}

StoredOptions loadSettingsValues(Workspace& workspace) {
    RegistryStore store;
    StoredOptions options;
    QString& failure = options.failure;
    options.top = readOr(failure, 100,
                         [&] { return readStoredInteger(store, QStringLiteral("OptionsTop")); });
    options.left = readOr(failure, 100,
                          [&] { return readStoredInteger(store, QStringLiteral("OptionsLeft")); });
    options.autoUpdate = readOr(failure, true, [&] {
        return store.readBool(SettingsSection, QStringLiteral("AutoUpdate"), true);
    });
    workspace.autoUpdateEnabled = options.autoUpdate;
    workspace.dataFolder = readOr(failure, workspace.dataFolder, [&] {
        return store.readString(SettingsSection, QStringLiteral("Path for Data"),
                                workspace.dataFolder);
    });
    workspace.dataFolder = asFolder(workspace.dataFolder);
    const QString storedName = readOr(failure, DefaultProjectName, [&] {
        return store.readString(SettingsSection, QStringLiteral("Project Name"),
                                DefaultProjectName);
    });
    // The name is kept whole, also when it is longer than the user may type.
    workspace.projectName = storedName;
    workspace.projectFolder = workspace.dataFolder + storedName + PathDelim;
    if (!store.readable())
        failure = withReason(QCoreApplication::translate(
                                 "Settings", "The settings file %1 cannot be read: the settings "
                                             "take their defaults and will not be saved.")
                                 .arg(store.location()),
                             store.unreadableReason());
    else if (failure.isEmpty() && store.damaged())
        failure = QCoreApplication::translate(
                      "Settings", "The settings file %1 is damaged; the settings that could not "
                                  "be read take their defaults. A copy of the file is kept as %2 "
                                  "when the settings are next saved.")
                      .arg(store.location(), store.damagedCopy());
    return options;
}

void saveSettingsValues(Workspace& workspace, bool autoUpdateChecked) {
    RegistryStore store;
    saveSettingsValues(workspace, autoUpdateChecked, store);
    store.flush();
}

void saveSettingsValues(Workspace& workspace, bool autoUpdateChecked, RegistryStore& store) {
    store.writeBool(SettingsSection, QStringLiteral("AutoUpdate"), autoUpdateChecked);
    workspace.projectName = projectNameOnly(workspace.projectName);
    store.writeString(SettingsSection, QStringLiteral("Project Name"),
                      storedProjectName(workspace));
    store.writeString(SettingsSection, QStringLiteral("Path for Data"), workspace.dataFolder);
}

QString storedProjectName(const Workspace& workspace) {
    const QString folderName = Project::nameOfFolder(workspace.projectFolder);
    const bool inDataFolder = !workspace.projectFolder.isEmpty() && !folderName.isEmpty() &&
                              withTrailingDelim(workspace.projectFolder) ==
                                  withTrailingDelim(workspace.dataFolder + folderName);
    if (inDataFolder && folderName == workspace.projectName)
        return folderName;
    return workspace.projectName;
}

void recordCurrentProject(const Workspace& workspace) {
    RegistryStore store;
    if (!store.readable())
        return;
    try {
        store.writeString(SettingsSection, QStringLiteral("Project Name"),
                          storedProjectName(workspace));
        store.writeString(SettingsSection, QStringLiteral("Path for Data"), workspace.dataFolder);
        store.flush();
    } catch (const AppError&) {
    }
}

void useDataFolder(Workspace& workspace, const QString& folder) {
    workspace.dataFolder = asFolder(folder);
    workspace.projectFolder = workspace.dataFolder + workspace.projectName + PathDelim;
}
