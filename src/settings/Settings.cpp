#include "settings/Settings.h"

#include "platform/PathDelim.h"
#include "platform/RegistryStore.h"
#include "support/Support.h"

QString ProjectName;
QString ProjectFolder;
bool AutoUpdateEnabled = false;

StoredOptions LoadSettingsValues() {
    RegistryStore store;
    StoredOptions options;
    options.top = store.ReadInteger(SettingsSection, QStringLiteral("OptionsTop"), 100);
    if (options.top < 0)
        options.top = 100;
    options.left = store.ReadInteger(SettingsSection, QStringLiteral("OptionsLeft"), 100);
    if (options.left < 0)
        options.left = 100;
    options.autoUpdate = store.ReadBool(SettingsSection, QStringLiteral("AutoUpdate"), true);
    AutoUpdateEnabled = options.autoUpdate;
    DataFolder = store.ReadString(SettingsSection, QStringLiteral("Path for Data"), DataFolder);
    ProjectName = store.ReadString(SettingsSection, QStringLiteral("Project Name"),
                                   DefaultProjectName);
    ProjectFolder = DataFolder + ProjectName + PathDelim;
    return options;
}

void SaveSettingsValues(bool autoUpdateChecked) {
    RegistryStore store;
    store.WriteBool(SettingsSection, QStringLiteral("AutoUpdate"), autoUpdateChecked);
    const qsizetype cut = std::max(ProjectName.lastIndexOf(PathDelim), ProjectName.lastIndexOf(u':'));
    ProjectName = ProjectName.mid(cut + 1);
    store.WriteString(SettingsSection, QStringLiteral("Project Name"), ProjectName);
    store.WriteString(SettingsSection, QStringLiteral("Path for Data"), DataFolder);
    store.Flush();
}
