// The sample project that a first start opens: "Front.jpg", "Back.bmp" and "Back.rtf", shipped
// beside the program and copied into the first project folder.
#pragma once

#include "support/StartupFacts.h"

#include <QString>
#include <QStringList>

inline const QStringList SampleFileNames = {QStringLiteral("Front.jpg"), QStringLiteral("Back.bmp"),
                                            QStringLiteral("Back.rtf")};

// Folders to look in for the sample files, in order: the start folder, the program's folder and
// the data folder of an installed program (..../share/sleevix/ beside .../bin/).
QStringList sampleFolders(const QString& startFolder, const QString& programFolder);

// Copies each sample file missing from projectFolder from the first folder that has it; the
// folder is made when missing. Files already there are kept.
void copySampleFiles(const QStringList& folders, const QString& projectFolder,
                     const DaylightFacts& daylight);
