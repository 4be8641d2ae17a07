// A project with a 24-megapixel front photo (6000 x 4000) and a list of 14 tracks written as a
// whole process, from start to the written file, with no display, beside other programs doing
// comparable work on the same photo and tracks:
//   - the PDF beside cdlabelgen (PostScript) followed by ps2pdf, and beside gLabels'
//     glabels-3-batch with bench/jewel-case.glabels;
//   - the PNG at 600 dpi beside cdlabelgen followed by ghostscript drawing its page at 600 dpi;
//   - the peak memory of the PDF export beside a program that prints the same photo with Qt alone
//     (bench/tools/QtPrintPhoto.cpp);
//   - the peak memory of printing the project to the spooler's "PDF" queue at 600 dpi as the
//     print preview prints it (bench/tools/PrintProject.cpp), when that queue exists.
// Each round runs them all in turn, so that a change in the machine's speed touches all of them;
// the figures are the medians of the rounds, times as ratios of Sleevix's to the others'. Peak
// memory is the processes' own high-water mark (wait4's ru_maxrss, child processes included).
// cdlabelgen takes its picture as EPS: the JPEG is wrapped once, before timing, the way jpeg2ps
// does (the JPEG's bytes passed through, decoded by the PostScript interpreter).
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rounds = 9;
constexpr int PhotoWidth = 6000, PhotoHeight = 4000;
const QString ProjectName = QStringLiteral("Velmora - Last Rose Of Summer 2002");
const QStringList Tracks = {
    "1. The Last Rose Of Summer 4:12", "2. Lantern Light 3:48",
    "3. Where The Heather Grows 5:01", "4. Salt And Silver 3:22",
    "5. Northern Quay 4:35",           "6. A Letter Never Sent 3:59",
    "7. Autumn Fields 4:44",           "8. Evening Song 6:10",
    "9. The Ferryman 4:02",            "10. Harbour Lights 3:31",
    "11. Over The Moor 5:17",          "12. Wintering 4:26",
    "13. The Long Road Home 6:03",     "14. Last Rose (Reprise) 2:48"};

// A user without a display: a home of its own, no DISPLAY, no platform chosen, no session bus.
QStringList headless(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=/nonexistent"));
    return env.toStringList();
}

struct Run {
    double ms = 0;
    double peakMiB = 0;
};

// One process from start to end, timed, with its peak memory; nothing when it failed.
std::optional<Run> run(const QString& program, const QStringList& arguments,
                       const QString& folder, const QStringList& environment) {
    std::vector<QByteArray> args{program.toLocal8Bit()}, env;
    for (const QString& a : arguments)
        args.push_back(a.toLocal8Bit());
    for (const QString& e : environment)
        env.push_back(e.toLocal8Bit());
    std::vector<char*> argv, envp;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const QByteArray dir = folder.toLocal8Bit();
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (chdir(dir.constData()) != 0)
            _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    Run r;
    r.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
               .count();
    r.peakMiB = usage.ru_maxrss / 1024.0;
    return r;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool copy(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

// A photo-like JPEG: gradients, a pattern and some noise.
bool writePhoto(const QString& path) {
    QImage image(PhotoWidth, PhotoHeight, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < PhotoHeight; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < PhotoWidth; ++x) {
            const int n = int(random.bounded(8)) + ((x / 40 + y / 40) % 2) * 12;
            line[x] = qRgb((x * 255 / PhotoWidth + n) & 0xff, (y * 255 / PhotoHeight + n) & 0xff,
                           ((x + y) * 127 / (PhotoWidth + PhotoHeight) + 64 + n) & 0xff);
        }
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(image);
}

// The list as a word processor writes it, one paragraph a track.
bool writeTrackList(const QString& path) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
                     "\\pard\\qc\\b\\f0\\fs28 Velmora - Last Rose Of Summer\\b0\\par\r\n";
    for (const QString& track : Tracks)
        rtf += "\\pard\\fs20 " + track.toLatin1() + "\\par\r\n";
    rtf += "}\r\n";
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(rtf) == rtf.size();
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

struct Programs {
    QString sleevix = QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix");
    QString qtAlone = QStringLiteral(SLEEVIX_BINARY_DIR "/bench/qt_print_photo");
    QString printProject = QStringLiteral(SLEEVIX_BINARY_DIR "/bench/print_project");
    QString glabels = QStandardPaths::findExecutable(QStringLiteral("glabels-3-batch"));
    QString cdlabelgen = QStandardPaths::findExecutable(QStringLiteral("cdlabelgen"));
    QString ps2pdf = QStandardPaths::findExecutable(QStringLiteral("ps2pdf"));
    QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    QString lpstat = QStandardPaths::findExecutable(QStringLiteral("lpstat"));

    bool complete() const {
        return !glabels.isEmpty() && !cdlabelgen.isEmpty() && !ps2pdf.isEmpty() && !gs.isEmpty();
    }
    // The spooler runs and has the queue "PDF" (scripts/services/cups.sh).
    bool pdfQueue() const {
        if (lpstat.isEmpty())
            return false;
        QProcess p;
        p.start(lpstat, {QStringLiteral("-p"), QStringLiteral("PDF")});
        return p.waitForFinished(10000) && p.exitCode() == 0;
    }
};

void BM_ExportBesideCdlabelgen(benchmark::State& state) {
    const Programs programs;
    if (!programs.complete()) {
        state.SkipWithError("glabels-3-batch, cdlabelgen, ps2pdf or gs is missing "
                            "(scripts/packages/export-bench.txt)");
        return;
    }
    QTemporaryDir home;
    const QString work = home.path() + QStringLiteral("/work");
    const QString project = home.path() + QStringLiteral("/") + ProjectName;
    QDir().mkpath(work);
    QDir().mkpath(project);
    const QString front = project + QStringLiteral("/Front.jpg");
    bool ready = writePhoto(front) && writeTrackList(project + QStringLiteral("/Back.rtf"));
    ready &= copy(QStringLiteral(SLEEVIX_SOURCE_DIR "/samples/Back.bmp"),
                  project + QStringLiteral("/Back.bmp"));
    ready &= copy(front, work + QStringLiteral("/Front.jpg"));
    ready &= copy(QStringLiteral(SLEEVIX_SOURCE_DIR "/bench/jewel-case.glabels"),
                  work + QStringLiteral("/jewel-case.glabels"));
    ready &= writeEps(front, PhotoWidth, PhotoHeight, work + QStringLiteral("/front.eps"));
    if (!ready) {
        state.SkipWithError("the project or the template could not be written");
        return;
    }
    const QStringList env = headless(home.path());
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
    const bool spooler = programs.pdfQueue();

    std::vector<double> pdf, pdfPeak, cdPdf, glabels, png, pngPeak, cdPng, qtPeak, printPeak;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const auto a = run(programs.sleevix,
                               {QStringLiteral("--export-pdf"), QStringLiteral("sleevix.pdf"),
                                project},
                               work, env);
            const auto c1 = run(programs.cdlabelgen, cdArguments, work, env);
            const auto c2 = run(programs.ps2pdf,
                                {QStringLiteral("-sPAPERSIZE=a4"), QStringLiteral("cdlabelgen.ps"),
                                 QStringLiteral("cdlabelgen.pdf")},
                                work, env);
            const auto p = run(programs.sleevix,
                               {QStringLiteral("--export-png"), QStringLiteral("sleevix.png"),
                                QStringLiteral("--dpi"), QStringLiteral("600"), project},
                               work, env);
            const auto c3 = run(programs.cdlabelgen, cdArguments, work, env);
            const auto c4 = run(programs.gs,
                                {QStringLiteral("-q"), QStringLiteral("-dSAFER"),
                                 QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
                                 QStringLiteral("-sPAPERSIZE=a4"), QStringLiteral("-r600"),
                                 QStringLiteral("-sDEVICE=png16m"),
                                 QStringLiteral("-sOutputFile=cdlabelgen.png"),
                                 QStringLiteral("cdlabelgen.ps")},
                                work, env);
            const auto g = run(programs.glabels,
                               {QStringLiteral("-o"), QStringLiteral("glabels.pdf"),
                                QStringLiteral("jewel-case.glabels")},
                               work, env);
            const auto q = run(programs.qtAlone, {front, QStringLiteral("qt.pdf")}, work, env);
            if (!a || !c1 || !c2 || !p || !c3 || !c4 || !g || !q) {
                state.SkipWithError("a program did not write its page");
                return;
            }
            if (spooler) {
                const auto s =
                    run(programs.printProject, {project, QStringLiteral("PDF"), QStringLiteral("600")},
                        work, env);
                if (!s) {
                    state.SkipWithError("printing to the queue PDF failed");
                    return;
                }
                printPeak.push_back(s->peakMiB);
            }
            pdf.push_back(a->ms);
            pdfPeak.push_back(a->peakMiB);
            cdPdf.push_back(c1->ms + c2->ms);
            png.push_back(p->ms);
            pngPeak.push_back(p->peakMiB);
            cdPng.push_back(c3->ms + c4->ms);
            glabels.push_back(g->ms);
            qtPeak.push_back(q->peakMiB);
        }
        state.SetIterationTime(median(pdf) / 1000);
    }
    state.counters["pdf_ms"] = median(pdf);
    state.counters["cdlabelgen_ps2pdf_ms"] = median(cdPdf);
    state.counters["pdf_per_cdlabelgen"] = median(pdf) / median(cdPdf);
    state.counters["glabels_ms"] = median(glabels);
    state.counters["pdf_per_glabels"] = median(pdf) / median(glabels);
    state.counters["png600_ms"] = median(png);
    state.counters["cdlabelgen_gs600_ms"] = median(cdPng);
    state.counters["png600_per_cdlabelgen"] = median(png) / median(cdPng);
    state.counters["pdf_peak_MiB"] = median(pdfPeak);
    state.counters["qt_alone_peak_MiB"] = median(qtPeak);
    state.counters["pdf_peak_per_qt_alone"] = median(pdfPeak) / median(qtPeak);
    state.counters["png600_peak_MiB"] = median(pngPeak);
    if (spooler)
        state.counters["print600_peak_MiB"] = median(printPeak);
}

BENCHMARK(BM_ExportBesideCdlabelgen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
