// Opening a link (a web page, a "mailto:" mail, a document) with the program the user has set up
// for it, and starting a program. The layer only hands the link or program over and tells whether
// that worked; what to do when it did not is the caller's business. Nothing here waits: a window
// that opens a link goes on answering the mouse while the handler decides.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace Shell {

// Opens the link and returns at once; `answered` is called once, later from the event loop (or
// at once when the link cannot be handed over at all), with whether a program took it. Nothing is
// called once `context` is gone.
void open(const QString& link, QObject* context, std::function<void(bool took)> answered);

// Starts a program with its parameters, on its own (it goes on when this program ends), in the
// current folder. False when it could not be started.
bool startProgram(const QString& program, const QStringList& parameters);

} // namespace Shell
