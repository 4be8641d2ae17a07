// Shared helpers for the tests: a private home folder per test run, paths of the source tree.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

#include "support/Support.h"

namespace testenv {

// The temporary folder that stands in for the user's home, config and data folders.
QString homeFolder();

// A fresh empty folder below the temporary home, unique per call.
QString freshFolder(const QString& hint = QStringLiteral("t"));

// Absolute path of a file in the source tree (relative to its root).
QString sourcePath(const QString& relative);

// Absolute path of the shared RTF corpus, or empty when it is absent.
QString rtfCorpusFolder();

// Writes bytes to a file, creating folders; returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);

// A fresh user for a test of the windows: settings and data folders of its own below a new
// folder, an empty start folder made current (so sample files are found beside the program, the
// build folder), the start-up facts, English (see useLanguage). Gives the new folder; the caller
// restores the current directory it kept.
QString prepareWorkspace(const QString& hint);

// The start-up facts of this machine, English, with the build folder as the program's folder
// (where the sample files are).
StartupFacts startupFacts();

// Switches the windows' language as the start-up would: sets the language code ("NLD" or
// "ENU") and installs the program's Dutch texts for "NLD", takes them away otherwise. Windows
// made afterwards speak that language.
void useLanguage(const QString& code);

// "NLD" while the program's Dutch texts are installed, otherwise "ENU".
QString currentLanguage();

// A GIF picture of one red pixel (Qt reads GIF but cannot write it).
QByteArray oneRedPixelGif();

// The message of the AppError the action throws; empty when it throws none.
QString errorOf(const std::function<void()>& action);

} // namespace testenv
