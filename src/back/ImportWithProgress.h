// Runs an import's reading on a worker thread while the windows go on painting; a progress window
// with Cancel shows when it takes longer than 0.4 s.
#pragma once

#include <QString>
#include <functional>

class QWidget;
struct ImportProgress;

// Runs read on a worker thread, showing label over parent meanwhile; the progress counts come
// from read through progress. False when the user cancelled (whatever read gave); a failure of
// read (AppError or another exception) is thrown again here, as an AppError, on the window's
// thread.
bool importWithProgress(QWidget* parent, const QString& label, ImportProgress& progress,
                        const std::function<void()>& read);
