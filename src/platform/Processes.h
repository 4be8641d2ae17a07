// Running processes by the full path of their executable, and ending them.
//
// Linux reads /proc: a process's executable is the target of /proc/<pid>/exe, and a process whose
// file has since been replaced or deleted still counts as a copy of that file. Paths compare
// exactly there (the file system tells case apart); on Windows they compare without regard to
// case, after trimming blanks.
#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace Processes {

// The ids of the running processes whose executable is `path`, lowest first. The calling process
// is never among them. Throws AppError when the running processes cannot be listed.
QList<qint64> findByExecutable(const QString& path);

// Ends every running copy of the program at `path`, one per pass, looking afresh each time; a
// copy that cannot be ended is tried once and then left alone. `betweenPasses` runs after each
// ending (to keep the windows responsive). Gives the number of copies ended. Throws AppError
// when the running processes cannot be listed. `endCopy` ends one copy and tells whether it is
// gone; empty: the system's way (a kill, then a wait of up to two seconds).
int terminateProgram(const QString& path, const std::function<void()>& betweenPasses = {},
                     const std::function<bool(qint64 pid)>& endCopy = {});

} // namespace Processes
