// Start-up to the main window's first showing, as a whole process, beside a bare Qt window
// program built in the same tree. Both run offscreen from a fresh home folder each time.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void runProcess(benchmark::State& state, const QString& program) {
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SLEEVIX_QUIT_AFTER_FIRST_SHOW"), QStringLiteral("1"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home.path());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        state.ResumeTiming();
        process.start(program, {});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("the program did not start and end cleanly");
            return;
        }
    }
}

void BM_SleevixToFirstShowing(benchmark::State& state) {
    runProcess(state, QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix"));
}

void BM_BareQtWindow(benchmark::State& state) {
    runProcess(state, QStringLiteral(SLEEVIX_BINARY_DIR "/bench/bare_window"));
}

BENCHMARK(BM_SleevixToFirstShowing)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_BareQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace

BENCHMARK_MAIN();
