// Opening the browse dialog at a path three folders deep whose middle folder holds 20 000
// subfolders and 20 000 files, until the tree has walked down and every folder on the path is
// listed, beside `ls -f` of that middle folder (a process, as people run it) in the same
// iteration. Counters, side by side: dialog_ms, ls_f_ms, their ratio, the longest time the
// window's event loop was held up while the dialog opened (max_block_ms), and the folders read
// (only the four on the path: the drive root, top, middle and deep).
#include "browse/BrowseDialog.h"
#include "browse/FolderTree.h"
#include "browse/FolderTreeModel.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
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

void BM_OpenBrowseDialogBesideLsF(benchmark::State& state) {
    const QString ls = QStandardPaths::findExecutable(QStringLiteral("ls"));
    if (ls.isEmpty()) {
        state.SkipWithError("ls is not installed");
        return;
    }
    const QString root = benchRoot();
    const QString deep = root + QStringLiteral("top/middle/m-deep");
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

    double dialogTotal = 0;
    double lsTotal = 0;
    qint64 maxBlockNs = 0;
    int foldersRead = 0;
    for (auto _ : state) {
        lsTotal += lsF(ls, root + QStringLiteral("top/middle"));

        // How long the event loop goes without turning while the dialog opens.
        QElapsedTimer sinceTurn;
        QTimer heartbeat;
        heartbeat.setInterval(1);
        QObject::connect(&heartbeat, &QTimer::timeout, &heartbeat, [&] {
            maxBlockNs = std::max(maxBlockNs, sinceTurn.nsecsElapsed());
            sinceTurn.restart();
        });

        QElapsedTimer clock;
        clock.start();
        const int before = dialog.folderTree->folderModel()->listingCount();
        dialog.setFolderPath(deep);
        dialog.setShowFiles(false);
        dialog.setInitialized(false);
        sinceTurn.start();
        heartbeat.start();
        dialog.show();
        while (dialog.folderTree->isBusy() || dialog.folderTree->directory() != deep + u'/')
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double ms = clock.nsecsElapsed() / 1e6;
        heartbeat.stop();
        maxBlockNs = std::max(maxBlockNs, sinceTurn.nsecsElapsed());
        foldersRead = dialog.folderTree->folderModel()->listingCount() - before;
        dialog.hide();
        dialogTotal += ms;
        state.SetIterationTime(ms / 1000);
    }
    const double n = double(state.iterations());
    state.counters["dialog_ms"] = dialogTotal / n;
    state.counters["ls_f_ms"] = lsTotal / n;
    state.counters["ratio"] = dialogTotal / lsTotal;
    state.counters["max_block_ms"] = maxBlockNs / 1e6;
    state.counters["folders_read"] = foldersRead;
    if (savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

} // namespace

BENCHMARK(BM_OpenBrowseDialogBesideLsF)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);
