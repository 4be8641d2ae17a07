// Opening the browse dialog at a folder that holds 20 000 subfolders and 20 000 files: in small
// mode at a folder below it (the tree lists the big one on the way), in large mode at the big
// folder itself (its files fill the file list as well), until the tree has walked down and
// every folder on the path is listed, beside `ls -f` of the big folder (a process, as people run
// it) in the same iteration. Counters, side by side: dialog_ms, ls_f_ms, their ratio, how late a
// 10 ms timer fired at worst meanwhile (worst_late_ms: the longest the window could not answer;
// worst_late_cpu_ms: how much of that was the window thread's own work),
// and the folders read (only those on the path).
#include "browse/BrowseDialog.h"
#include "browse/FileListModel.h"
#include "browse/FolderTree.h"
#include "browse/FolderTreeModel.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"
#include "common/OwnSchedulingGroup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <benchmark/benchmark.h>

namespace {

constexpr int BigCount = 20000;

// base/top/middle/deep, with the middle folder full; made once, kept for later runs.
QString benchRoot() {
    const QString root = QDir::tempPath() + QStringLiteral("/sleevix-bench-browse-v1/");
    const QString middle = root + QStringLiteral("top/middle/");
    if (!QFile::exists(root + QStringLiteral("complete"))) {
        QDir(root).removeRecursively();
        QDir().mkpath(middle + QStringLiteral("m-deep"));
        for (int i = 0; i < BigCount - 1; ++i)
            QDir().mkdir(middle + QStringLiteral("folder %1").arg(i, 5, 10, QLatin1Char('0')));
        for (int i = 0; i < BigCount; ++i) {
            QFile f(middle + QStringLiteral("file %1.jpg").arg(i, 5, 10, QLatin1Char('0')));
            f.open(QIODevice::WriteOnly);
        }
        QFile done(root + QStringLiteral("complete"));
        done.open(QIODevice::WriteOnly);
    }
    return root;
}

double lsF(const QString& ls, const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(ls, {QStringLiteral("-f"), folder});
    p.waitForFinished(60000);
    return clock.nsecsElapsed() / 1e6;
}

// How late a 10 ms timer fires at worst while something runs in the event loop: the longest
// time the window could not answer.
class Lateness {
public:
    Lateness() {
        beat_.setTimerType(Qt::PreciseTimer);
        beat_.setInterval(10);
        QObject::connect(&beat_, &QTimer::timeout, &beat_, [this] { tick(); });
    }
    void start() {
        sinceBeat_.start();
        cpuAtBeat_ = threadCpuNs();
        beat_.start();
    }
    void stop() {
        tick();
        beat_.stop();
    }
    double worstMs() const { return worstNs_ / 1e6; }
    // The window thread's own processor time in that worst stretch: the rest of it was the
    // machine's other work.
    double worstCpuMs() const { return worstCpuNs_ / 1e6; }

private:
    // Processor time of the window's thread so far.
    static qint64 threadCpuNs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    }
    void tick() {
        const qint64 late = sinceBeat_.nsecsElapsed() - qint64(10'000'000);
        const qint64 cpu = threadCpuNs();
        if (late > worstNs_) {
            worstNs_ = late;
            worstCpuNs_ = cpu - cpuAtBeat_;
        }
        cpuAtBeat_ = cpu;
        sinceBeat_.restart();
    }
    qint64 cpuAtBeat_ = 0;
    qint64 worstCpuNs_ = 0;
    QTimer beat_;
    QElapsedTimer sinceBeat_;
    qint64 worstNs_ = 0;
};

// The dialog opened at path in the mode given, from its first showing until the tree has walked
// down and listed every folder on the way and, in large mode, the file list holds fileCount
// files; the dialog's time beside `ls -f` of the path's folder, and the worst lateness.
void measureOpening(benchmark::State& state, const QString& path, bool large, int fileCount) {
    const QString ls = QStandardPaths::findExecutable(QStringLiteral("ls"));
    if (ls.isEmpty()) {
        state.SkipWithError("ls is not installed");
        return;
    }
    const QString root = benchRoot();
    // The dialog keeps its places in a settings file of the bench's own.
    QTemporaryDir config;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    TextInputDialog input;
    TimedMessage message;
    // The bench folder stands for a drive of its own, so that only its folders are read.
    BrowseDialog dialog(input, message, nullptr, [&] {
        return QList<Drives::Drive>{{u'C', root, Drives::Fixed, ""}};
    });
    dialog.setFileMask(QStringLiteral("*.jpg"));
    const QString listed = large ? path : QFileInfo(path).absolutePath();

    double dialogTotal = 0;
    double lsTotal = 0;
    Lateness lateness;
    int foldersRead = 0;
    for (auto _ : state) {
        lsTotal += lsF(ls, listed);
        QElapsedTimer clock;
        clock.start();
        const int before = dialog.folderTree->folderModel()->listingCount();
        dialog.setFolderPath(path);
        dialog.setShowFiles(large);
        dialog.setInitialized(false);
        lateness.start();
        dialog.show();
        while (dialog.folderTree->isBusy() || dialog.folderTree->directory() != path + u'/' ||
               dialog.files->count() < fileCount)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double ms = clock.nsecsElapsed() / 1e6;
        lateness.stop();
        foldersRead = dialog.folderTree->folderModel()->listingCount() - before;
        dialog.hide();
        dialogTotal += ms;
        state.SetIterationTime(ms / 1000);
    }
    const double n = double(state.iterations());
    state.counters["dialog_ms"] = dialogTotal / n;
    state.counters["ls_f_ms"] = lsTotal / n;
    state.counters["ratio"] = dialogTotal / lsTotal;
    state.counters["worst_late_ms"] = lateness.worstMs();
    state.counters["worst_late_cpu_ms"] = lateness.worstCpuMs();
    state.counters["folders_read"] = foldersRead;
    if (savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

// Small mode at base/top/middle/m-deep: the tree lists the middle folder's 20 000 subfolders on
// the way; `ls -f` lists the middle folder.
void BM_OpenBrowseDialogBesideLsF(benchmark::State& state) {
    measureOpening(state, benchRoot() + QStringLiteral("top/middle/m-deep"), false, 0);
}

// Large mode at the middle folder: its 20 000 subfolders in the tree and its 20 000 files in the
// file list.
void BM_BrowseDialogLargeModeBesideLsF(benchmark::State& state) {
    measureOpening(state, benchRoot() + QStringLiteral("top/middle"), true, BigCount);
}

} // namespace

BENCHMARK(BM_OpenBrowseDialogBesideLsF)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);
BENCHMARK(BM_BrowseDialogLargeModeBesideLsF)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);
