#include "browse/FolderScanner.h"

#include "platform/FolderReader.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QScopedValueRollback>

struct FolderScanner::Report {
    quint64 id;
    Batch batch;
    bool last;
    bool opened;
};

// Where the workers hand their reports in, for the scanner while it lives. Its destructor clears
// the pointer under the lock, so no worker posts to a scanner that is gone; what was posted
// before is dropped with the scanner's pending events.
struct FolderScanner::Outlet {
    QMutex mutex;
    FolderScanner* scanner = nullptr;
    QList<Report> reports;
};

namespace {

// Entries read between two looks at the clock.
constexpr int ReadStep = 512;

} // namespace

FolderScanner::FolderScanner(QObject* parent)
    : QObject(parent), outlet_(std::make_shared<Outlet>()) {
    outlet_->scanner = this;
    pool_.setMaxThreadCount(4);
    pickUp_.setInterval(15);
    connect(&pickUp_, &QTimer::timeout, this, &FolderScanner::deliverReports);
}

FolderScanner::~FolderScanner() {
    {
        QMutexLocker lock(&outlet_->mutex);
        outlet_->scanner = nullptr;
    }
    for (const auto& flag : std::as_const(running_))
        *flag = true;
    pool_.waitForDone();
}

quint64 FolderScanner::start(const Request& request) {
    const quint64 id = ++lastId_;
    auto cancelled = std::make_shared<std::atomic_bool>(false);
    running_.insert(id, cancelled);
    pickUp_.start();
    std::shared_ptr<Outlet> outlet = outlet_;
    // Every 50 ms the window shows what has been read: current, but not flooded with batches.
    const qint64 interval = batchIntervalMs_;
    pool_.start([id, request, cancelled, outlet, interval] {
        auto post = [&](Batch batch, bool last, bool opened) {
            QMutexLocker lock(&outlet->mutex);
            FolderScanner* scanner = outlet->scanner;
            if (!scanner)
                return;
            outlet->reports.append(Report{id, std::move(batch), last, opened});
            if (outlet->reports.size() == 1)
                QMetaObject::invokeMethod(scanner, &FolderScanner::deliverReports,
                                          Qt::QueuedConnection);
        };
        const BrowsePaths::NameOrder order;
        const int wanted = (request.folders ? FolderReader::Folders : 0) |
                           (request.files ? FolderReader::Files : 0);
        FolderReader reader(request.folder, FolderReader::Wanted(wanted));
        Batch batch;
        QList<FolderReader::Entry> entries;
        QElapsedTimer sinceShown;
        sinceShown.start();
        while (!*cancelled && reader.read(entries, ReadStep)) {
            for (const FolderReader::Entry& e : std::as_const(entries)) {
                if (e.kind == FolderReader::Kind::Folder) {
                    if (request.folders)
                        batch.folders.append(e.name);
                } else if (request.files && request.mask.matches(e.name)) {
                    batch.files.append(e.name);
                }
            }
            if (sinceShown.elapsed() >= interval &&
                !(batch.folders.isEmpty() && batch.files.isEmpty())) {
                order.sort(batch.folders);
                order.sort(batch.files);
                post(std::move(batch), false, true);
                batch = Batch();
                sinceShown.restart();
            }
        }
        if (*cancelled)
            return;
        order.sort(batch.folders);
        order.sort(batch.files);
        post(std::move(batch), true, reader.isOpen());
    });
    return id;
}

void FolderScanner::cancel(quint64 id) {
    if (auto flag = running_.take(id))
        *flag = true;
    if (running_.isEmpty())
        pickUp_.stop();
}

void FolderScanner::deliverReports() {
    // A receiver that runs an event loop must not have later reports overtake earlier ones.
    if (delivering_)
        return;
    const QScopedValueRollback<bool> busy(delivering_, true);
    QList<Report> reports;
    {
        QMutexLocker lock(&outlet_->mutex);
        reports.swap(outlet_->reports);
    }
    for (const Report& r : std::as_const(reports)) {
        if (!running_.contains(r.id))
            continue;
        if (!r.batch.folders.isEmpty() || !r.batch.files.isEmpty())
            Q_EMIT found(r.id, r.batch);
        // A listing cancelled by a receiver of found() ends without a word.
        if (r.last && running_.remove(r.id))
            Q_EMIT finished(r.id, r.opened);
    }
    if (running_.isEmpty())
        pickUp_.stop();
}
