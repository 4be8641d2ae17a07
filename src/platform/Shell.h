// Opening a link (a web page, a "mailto:" mail, a document) with the program the user has set up
// for it, and starting a program. The layer only hands the link or program over and tells whether
// that worked; what to do when it did not is the caller's business.
#pragma once

#include <QString>
#include <QStringList>

namespace Shell {

// Opens the link; false when no program took it.
bool open(const QString& link);

// Starts a program with its parameters, on its own (it goes on when this program ends), in the
// current folder. False when it could not be started.
bool startProgram(const QString& program, const QStringList& parameters);

} // namespace Shell
