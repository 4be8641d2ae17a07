// Reading the track list of a folder of 300 tagged FLAC files, the import's work (tags, duration,
// order, album facts, front picture), beside:
//   - a plain TagLib loop over the same files reading the same facts with the same library: the
//     floor the import is measured against (goal: at most 1.2 times its time);
//   - exiftool -fast -json over the same folder, the usual tool a script would call.
// The files are made once with sox and tagged with TagLib; every run reads them from the page
// cache, as a second import of an album would.
#include "tracks/MusicFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <unistd.h>
#include <vector>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

namespace {

constexpr int FileCount = 300;
constexpr int Rounds = 41;

QString albumFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        const QString first = dir.path() + QStringLiteral("/template.flac");
        QProcess sox;
        sox.start(QStringLiteral("sox"),
                  {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                   QStringLiteral("-c"), QStringLiteral("2"), first, QStringLiteral("trim"),
                   QStringLiteral("0"), QStringLiteral("1")});
        sox.waitForFinished(60000);
        for (int i = 1; i <= FileCount; ++i) {
            const QString path =
                dir.path() + QStringLiteral("/%1 - Song.flac").arg(i, 3, 10, QLatin1Char('0'));
            QFile::copy(first, path);
            const QByteArray local = QFile::encodeName(path);
            TagLib::FileRef ref(local.constData());
            if (ref.isNull())
                continue;
            TagLib::PropertyMap map;
            map.replace("TITLE", TagLib::String("Song number " + std::to_string(i)));
            map.replace("ARTIST", TagLib::String("The Band"));
            map.replace("ALBUMARTIST", TagLib::String("The Band"));
            map.replace("ALBUM", TagLib::String("Three Hundred"));
            map.replace("TRACKNUMBER", TagLib::String(std::to_string(i)));
            map.replace("DISCNUMBER", TagLib::String("1/1"));
            map.replace("DATE", TagLib::String("2020"));
            ref.file()->setProperties(map);
            ref.save();
        }
        QFile::remove(first);
        // The new files written out before anything is timed: otherwise the kernel writes them
        // back while the first benchmark runs, and that one pays for it.
        ::sync();
    }
    return dir.path();
}

// The plain TagLib loop: the files of the folder and the same facts the import reads.
int readWithTagLib(const QString& folder) {
    int read = 0;
    QDirIterator it(folder, {QStringLiteral("*.flac")}, QDir::Files);
    while (it.hasNext()) {
        const QByteArray local = QFile::encodeName(it.next());
        const TagLib::FileRef ref(local.constData(), true, TagLib::AudioProperties::Fast);
        if (ref.isNull())
            continue;
        const TagLib::Tag* tag = ref.tag();
        const TagLib::PropertyMap map = ref.file()->properties();
        benchmark::DoNotOptimize(tag->title());
        benchmark::DoNotOptimize(tag->artist());
        benchmark::DoNotOptimize(tag->album());
        benchmark::DoNotOptimize(tag->track());
        benchmark::DoNotOptimize(tag->year());
        benchmark::DoNotOptimize(map["ALBUMARTIST"]);
        benchmark::DoNotOptimize(map["DISCNUMBER"]);
        benchmark::DoNotOptimize(ref.audioProperties()->lengthInMilliseconds());
        ++read;
    }
    return read;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The import and the loop in alternate rounds, so that the machine's moments weigh on both alike;
// the figures are the medians of the rounds.
void ImportBesideTagLibLoop(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto msSince = [](Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    const QString folder = albumFolder();
    std::vector<double> import, loop;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            Clock::time_point start = Clock::now();
            const TrackList list = MusicFolder::read(folder);
            import.push_back(msSince(start));
            start = Clock::now();
            const int read = readWithTagLib(folder);
            loop.push_back(msSince(start));
            if (list.tracks.size() != FileCount || read != FileCount) {
                state.SkipWithError("not every file was read");
                return;
            }
        }
        state.SetIterationTime(median(import) / 1000);
    }
    state.counters["files"] = FileCount;
    state.counters["sleevix_ms"] = median(import);
    state.counters["taglib_loop_ms"] = median(loop);
    state.counters["per_taglib_loop"] = median(import) / median(loop);
}

void ExiftoolFastJson(benchmark::State& state) {
    const QString folder = albumFolder();
    for (auto _ : state) {
        QProcess exiftool;
        exiftool.setStandardOutputFile(QProcess::nullDevice());
        exiftool.start(QStringLiteral("exiftool"),
                       {QStringLiteral("-fast"), QStringLiteral("-json"), folder});
        if (!exiftool.waitForFinished(300000) || exiftool.exitCode() != 0) {
            state.SkipWithError("exiftool did not run (package libimage-exiftool-perl)");
            break;
        }
    }
    state.counters["files"] = FileCount;
}

} // namespace

BENCHMARK(ImportBesideTagLibLoop)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(ExiftoolFastJson)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
