// Showing a 6000 x 4000 camera photo as the front picture, as the start does, measured as the
// user sees it: a fresh process that loads the photo and stretches it into the front square
// (bench/front/SleevixFront.cpp), against a fresh process doing the same with Qt alone, its
// JPEG reader asked for the front's size (bench/front/QtFront.cpp, the fair baseline); djpeg
// -scale 1/8 is the floor. Wall time and peak resident memory of each process.
#include "common/OwnSchedulingGroup.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A photo-like 6000 x 4000 JPEG (smooth gradients, a pattern and some sensor noise), made once;
// with a restart marker at every row of blocks, as many cameras write them, or without.
QString photoFile(bool restarts) {
    static QString files[2];
    QString& file = files[restarts ? 1 : 0];
    if (!file.isEmpty())
        return file;
    file = [restarts] {
        const QString path =
            QDir::tempPath() + (restarts ? QStringLiteral("/sleevix-bench-6000x4000-rst.jpg")
                                         : QStringLiteral("/sleevix-bench-6000x4000-v2.jpg"));
        if (QFile::exists(path))
            return path;
        const int w = 6000, h = 4000;
        jpeg_compress_struct info;
        jpeg_error_mgr error;
        info.err = jpeg_std_error(&error);
        jpeg_create_compress(&info);
        FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
        jpeg_stdio_dest(&info, out);
        info.image_width = w;
        info.image_height = h;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 90, TRUE);
        info.restart_in_rows = restarts ? 1 : 0;
        jpeg_start_compress(&info, TRUE);
        std::vector<unsigned char> row(w * 3);
        QRandomGenerator random(42);
        while (info.next_scanline < info.image_height) {
            const int y = int(info.next_scanline);
            for (int x = 0; x < w; ++x) {
                const int n = int(random.bounded(8)) + ((x / 40 + y / 40) % 2) * 12;
                row[3 * x] = uchar((x * 255 / w + n) & 0xff);
                row[3 * x + 1] = uchar((y * 255 / h + n) & 0xff);
                row[3 * x + 2] = uchar(((x + y) * 127 / (w + h) + 64 + n) & 0xff);
            }
            JSAMPROW rows[] = {row.data()};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        std::fclose(out);
        jpeg_destroy_compress(&info);
        return path;
    }();
    return file;
}

struct ProcessRun {
    double milliseconds = 0;
    double cpuMilliseconds = 0; // user and system time, all threads
    double peakMiB = 0;
    bool ok = false;
};

// Runs a program to its end as a user's start would, at a raised priority where allowed (so that
// other work on the machine disturbs the figures less), and measures its wall time, the processor
// time of all its threads and its peak resident memory.
ProcessRun runProcess(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& a : arguments)
        storage.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setpriority(PRIO_PROCESS, 0, -20);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ProcessRun run;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000 + t.tv_usec / 1000.0; };
    run.cpuMilliseconds = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakMiB = double(usage.ru_maxrss) / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The front picture shown in a fresh process, the program's loader against Qt alone, in
// alternating rounds; the figures are medians. Argument: 1 for the photo with restart markers,
// 0 for the one without.
void BM_FrontPictureProcess(benchmark::State& state) {
    const QString file = photoFile(state.range(0) != 0);
    const QString ours = QStringLiteral(SLEEVIX_BINARY_DIR "/bench/front_sleevix");
    const QString qt = QStringLiteral(SLEEVIX_BINARY_DIR "/bench/front_qt");
    std::vector<double> oursMs, qtMs, oursCpu, qtCpu, oursMiB, qtMiB;
    for (int warm = 0; warm < 2; ++warm) { // the file and the libraries in the page cache
        runProcess(ours, {file});
        runProcess(qt, {file});
    }
    bool alternate = false;
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool runOurs = (turn == 0) != alternate;
            const ProcessRun run = runProcess(runOurs ? ours : qt, {file});
            if (!run.ok) {
                state.SkipWithError(runOurs ? "front_sleevix failed" : "front_qt failed");
                return;
            }
            (runOurs ? oursMs : qtMs).push_back(run.milliseconds);
            (runOurs ? oursCpu : qtCpu).push_back(run.cpuMilliseconds);
            (runOurs ? oursMiB : qtMiB).push_back(run.peakMiB);
        }
        alternate = !alternate;
    }
    state.counters["sleevix_ms"] = median(oursMs);
    state.counters["qt_ms"] = median(qtMs);
    state.counters["time_ratio"] = median(oursMs) / median(qtMs);
    state.counters["sleevix_cpu_ms"] = median(oursCpu);
    state.counters["qt_cpu_ms"] = median(qtCpu);
    state.counters["sleevix_MiB"] = median(oursMiB);
    state.counters["qt_MiB"] = median(qtMiB);
    state.counters["extra_MiB"] = median(oursMiB) - median(qtMiB);
}

// djpeg -scale 1/8 as the floor: libjpeg alone, no toolkit.
void BM_DjpegScaleEighthProcess(benchmark::State& state) {
    const QString file = photoFile(state.range(0) != 0);
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty()) {
        state.SkipWithError("djpeg not installed (libjpeg-turbo-progs)");
        return;
    }
    std::vector<double> ms, mib;
    for (auto _ : state) {
        const ProcessRun run =
            runProcess(djpeg, {QStringLiteral("-scale"), QStringLiteral("1/8"), file});
        ms.push_back(run.milliseconds);
        mib.push_back(run.peakMiB);
    }
    state.counters["djpeg_ms"] = median(ms);
    state.counters["djpeg_MiB"] = median(mib);
}

// Argument: 1 for the photo with restart markers, 0 for the one without.
BENCHMARK(BM_FrontPictureProcess)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(11)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DjpegScaleEighthProcess)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(11)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
