// The workspace state shared by the windows for the whole run. DataFolder lives with the
// start-up facts (support/Support.h); ProjectName, ProjectFolder and AutoUpdateEnabled with the
// settings (settings/Settings.h).
#pragma once

#include "settings/Settings.h"
#include "support/Support.h"

#include <QString>

inline const QString ProductName = QStringLiteral("Sleevix");

extern QString startFolder; // current directory when the main window was made, trailing separator
extern bool askToSave;      // closing the main window asks whether to save
extern quint16 savedScrollPos;
