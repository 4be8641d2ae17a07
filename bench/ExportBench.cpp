// The sample project exported to a PDF as a whole process, from start to the written file, with
// no display, beside two other programs writing a comparable jewel-case page:
//   - gLabels' glabels-3-batch with bench/jewel-case.glabels (the front picture, the list as a
//     text block, the spine text turned on both spines, on an A4 page);
//   - cdlabelgen (the same picture, list and spine texts; PostScript) followed by ps2pdf.
// Each round runs the three in turn, so that a change in the machine's speed touches all of them;
// the figures are the medians of the rounds, and the ratios those of the others to Sleevix.
// cdlabelgen takes its picture as EPS: the JPEG is wrapped once, before timing, the way jpeg2ps
// does (the JPEG's bytes passed through, decoded by the PostScript interpreter).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <optional>
#include <vector>

namespace {

const QString ProjectName = QStringLiteral("Velmora - Last Rose Of Summer 2002");
const QStringList Tracks = {"1. The Last Rose Of Summer 4:12", "2. Lantern Light 3:48",
                            "3. Where The Heather Grows 5:01", "4. Salt And Silver 3:22",
                            "5. Northern Quay 4:35",           "6. A Letter Never Sent 3:59",
                            "7. Autumn Fields 4:44",           "8. Evening Song 6:10"};

// A user without a display: a home of its own, no DISPLAY, no platform chosen, no session bus.
QProcessEnvironment headless(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=/nonexistent"));
    return env;
}

// Milliseconds from start to end of one process; nothing when it failed.
std::optional<double> timed(const QString& program, const QStringList& arguments,
                            const QString& folder, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return clock.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool copy(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

// The JPEG wrapped as an EPS, its bytes decoded by the interpreter's DCT filter.
bool writeEps(const QString& jpeg, int width, int height, const QString& eps) {
    QFile in(jpeg), out(eps);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray hex = in.readAll().toHex();
    QByteArray text = QStringLiteral("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 %1 %2\n"
                                     "%%EndComments\ngsave\n/DeviceRGB setcolorspace\n%1 %2 scale\n"
                                     "<< /ImageType 1 /Width %1 /Height %2 /BitsPerComponent 8 "
                                     "/Decode [0 1 0 1 0 1] /ImageMatrix [%1 0 0 -%2 0 %2]\n"
                                     "/DataSource currentfile /ASCIIHexDecode filter "
                                     "/DCTDecode filter >> image\n")
                          .arg(width)
                          .arg(height)
                          .toLatin1();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        text += hex.mid(i, 128) + '\n';
    text += ">\ngrestore\n%%EOF\n";
    return out.write(text) == text.size();
}

void BM_ExportPdfBesideGlabelsAndCdlabelgen(benchmark::State& state) {
    const QString sleevix = QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix");
    const QString glabels = QStandardPaths::findExecutable(QStringLiteral("glabels-3-batch"));
    const QString cdlabelgen = QStandardPaths::findExecutable(QStringLiteral("cdlabelgen"));
    const QString ps2pdf = QStandardPaths::findExecutable(QStringLiteral("ps2pdf"));
    if (glabels.isEmpty() || cdlabelgen.isEmpty() || ps2pdf.isEmpty()) {
        state.SkipWithError("glabels-3-batch, cdlabelgen or ps2pdf is missing "
                            "(scripts/packages/export-bench.txt)");
        return;
    }

    QTemporaryDir home;
    const QString work = home.path() + QStringLiteral("/work");
    const QString project = home.path() + QStringLiteral("/") + ProjectName;
    QDir().mkpath(work);
    QDir().mkpath(project);
    const QString samples = QStringLiteral(SLEEVIX_SOURCE_DIR "/samples/");
    bool ready = true;
    for (const char* file : {"Front.jpg", "Back.bmp", "Back.rtf"})
        ready &= copy(samples + QLatin1String(file), project + QLatin1Char('/') + file);
    ready &= copy(samples + QStringLiteral("Front.jpg"), work + QStringLiteral("/Front.jpg"));
    ready &= copy(QStringLiteral(SLEEVIX_SOURCE_DIR "/bench/jewel-case.glabels"),
                  work + QStringLiteral("/jewel-case.glabels"));
    ready &= writeEps(samples + QStringLiteral("Front.jpg"), 1000, 1000,
                      work + QStringLiteral("/front.eps"));
    if (!ready) {
        state.SkipWithError("the sample project or the template could not be copied");
        return;
    }
    const QProcessEnvironment env = headless(home.path());
    const QStringList cdArguments{QStringLiteral("--category"),
                                  QStringLiteral("Velmora"),
                                  QStringLiteral("--subcategory"),
                                  QStringLiteral("Last Rose Of Summer 2002"),
                                  QStringLiteral("--items"),
                                  Tracks.join(u'%'),
                                  QStringLiteral("--cover-image"),
                                  QStringLiteral("front.eps"),
                                  QStringLiteral("--cover-image-scaleratio"),
                                  QStringLiteral("0"),
                                  QStringLiteral("--no-date"),
                                  QStringLiteral("--output-file"),
                                  QStringLiteral("cdlabelgen.ps")};

    std::vector<double> ours, theirs, cd;
    for (auto _ : state) {
        const auto a =
            timed(sleevix, {QStringLiteral("--export-pdf"), QStringLiteral("sleevix.pdf"), project},
                  work, env);
        const auto b = timed(glabels,
                             {QStringLiteral("-o"), QStringLiteral("glabels.pdf"),
                              QStringLiteral("jewel-case.glabels")},
                             work, env);
        const auto c1 = timed(cdlabelgen, cdArguments, work, env);
        const auto c2 = timed(ps2pdf,
                              {QStringLiteral("-sPAPERSIZE=a4"), QStringLiteral("cdlabelgen.ps"),
                               QStringLiteral("cdlabelgen.pdf")},
                              work, env);
        if (!a || !b || !c1 || !c2) {
            state.SkipWithError("a program did not write its PDF");
            return;
        }
        ours.push_back(*a);
        theirs.push_back(*b);
        cd.push_back(*c1 + *c2);
        state.SetIterationTime(*a / 1000);
    }
    const double sleevixMs = median(ours), glabelsMs = median(theirs), cdMs = median(cd);
    state.counters["sleevix_ms"] = sleevixMs;
    state.counters["glabels_ms"] = glabelsMs;
    state.counters["cdlabelgen_ps2pdf_ms"] = cdMs;
    state.counters["glabels_per_sleevix"] = glabelsMs / sleevixMs;
    state.counters["cdlabelgen_per_sleevix"] = cdMs / sleevixMs;
}

BENCHMARK(BM_ExportPdfBesideGlabelsAndCdlabelgen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(9);

} // namespace

BENCHMARK_MAIN();
