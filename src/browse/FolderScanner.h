// FolderScanner: lists folders on worker threads, so that a folder of tens of thousands of
// entries, a slow disk or a network share that does not answer never holds up the window. A
// listing is started with start() and comes back on the thread of the scanner, in the event
// loop: found() with what has been read so far (every 50 ms while a big or slow folder is being
// read, sorted by the browse order), then finished() once. A cancelled listing, or any listing
// of a scanner that is going away, reports nothing more.
//
// The workers leave their reports in a queue that the scanner empties both on a posted call and
// on a short timer: a window opened modally from a queued call runs an event loop nested in the
// delivery of posted events, where further posted events may wait until that window closes,
// while timers still fire.
#pragma once

#include "browse/BrowsePaths.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <memory>

class FolderScanner : public QObject {
    Q_OBJECT

public:
    struct Request {
        QString folder;
        bool folders = true; // list the subfolders
        bool files = false;  // list the files that match the mask
        BrowsePaths::FileMask mask;
    };
    // Names read since the last batch; each list in the browse order.
    struct Batch {
        QStringList folders;
        QStringList files;
    };

    explicit FolderScanner(QObject* parent = nullptr);
    ~FolderScanner() override;

    // Starts listing a folder; gives the number its reports carry (never 0).
    quint64 start(const Request& request);
    // Stops a listing: nothing more is reported for it.
    void cancel(quint64 id);
    // Whether any listing is still running.
    bool isBusy() const { return !running_.isEmpty(); }
    // How long a worker reads before it shows what it has (50 ms); 0 shows every step of 512
    // entries, which lets a test see a folder arrive in several batches.
    void setBatchInterval(int ms) { batchIntervalMs_ = ms; }

Q_SIGNALS:
    void found(quint64 id, const FolderScanner::Batch& batch);
    // The listing is complete; opened is false when the folder could not be read at all
    // (missing, gone, no permission).
    void finished(quint64 id, bool opened);

private:
    struct Outlet;
    struct Report;
    // Hands the workers' reports to the receivers of found() and finished().
    void deliverReports();

    std::shared_ptr<Outlet> outlet_;
    QTimer pickUp_;
    QHash<quint64, std::shared_ptr<std::atomic_bool>> running_;
    quint64 lastId_ = 0;
    int batchIntervalMs_ = 50;
    bool delivering_ = false;
    QThreadPool pool_;
};
