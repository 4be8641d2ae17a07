// Reading and writing a 2 MB RTF track list (bold titles, colours, tabs with a right tab stop,
// accented and Cyrillic text as \'hh and \u): MB/s of the program's RTF reader and writer in
// this process, and the reader as a process of its own beside `unrtf --text` and `unrtf --html`
// converting the same file in the same run.
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// A long track list the way a word processor writes it, about 2 MB, made once.
const QString& trackListFile() {
    static const QString file = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/sleevix-bench-tracklist-v1.rtf");
        QByteArray rtf =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
            "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fswiss\\fcharset204 Arial CYR;}}\r\n"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue160;}\r\n"
            "{\\*\\generator Microsoft Word 15.0;}\\viewkind4\r\n";
        int disc = 0;
        while (rtf.size() < 2 * 1024 * 1024) {
            ++disc;
            rtf += "\\pard\\qc\\sb240\\sa120\\b\\f0\\fs32\\cf2 Disc " + QByteArray::number(disc) +
                   ": Caf\\'e9 M\\'fcnchen \\u8211\\'96 Live\\b0\\cf0\\par\r\n";
            for (int track = 1; track <= 20; ++track) {
                rtf += "\\pard\\li360\\tqr\\tx8000\\f1\\fs24 " + QByteArray::number(track) +
                       ".\\tab {\\i Symphony No. " + QByteArray::number(track % 9 + 1) +
                       "} in D minor, {\\cf1 Allegro}\\tab " + QByteArray::number(track % 7 + 2) +
                       ":" + QByteArray::number(10 + track * 2) + "\\par\r\n";
                if (track % 5 == 0)
                    rtf += "\\pard\\li720\\f2\\fs20 "
                           "\\'d7\\'e0\\'e9\\'ea\\'ee\\'e2\\'f1\\'ea\\'e8\\'e9 "
                           "\\u1051\\'3f\\u1077\\'3f\\u1073\\'3f\\u1077\\'3f\\u1076\\'3f\\par\r\n";
            }
        }
        rtf += "}\r\n";
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(rtf);
        return path;
    }();
    return file;
}

qint64 fileSize() {
    return QFileInfo(trackListFile()).size();
}

void BM_SleevixReadRtf(benchmark::State& state) {
    const QString file = trackListFile();
    for (auto _ : state) {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        QTextDocument doc;
        RtfReader::read(&in, &doc);
        benchmark::DoNotOptimize(doc.blockCount());
    }
    state.SetBytesProcessed(state.iterations() * fileSize());
}

void BM_SleevixWriteRtf(benchmark::State& state) {
    QFile in(trackListFile());
    in.open(QIODevice::ReadOnly);
    QTextDocument doc;
    RtfReader::read(&in, &doc);
    const QString outFile = QDir::tempPath() + QStringLiteral("/sleevix-bench-written.rtf");
    qint64 written = 0;
    for (auto _ : state) {
        QFile out(outFile);
        out.open(QIODevice::WriteOnly);
        RtfWriter::write(&doc, &out);
        written = out.size();
    }
    state.SetBytesProcessed(state.iterations() * written);
    state.counters["output_MB"] = double(written) / (1024 * 1024);
}

// Milliseconds one process takes from start to end, its output thrown away; negative when it
// failed.
double timedProcess(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    p.start(program, arguments);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Process beside process: the program's reader (bench/tools/RtfToText.cpp, the text written out)
// and `unrtf --text` and `unrtf --html` on the same file, in turn in every round.
void BM_RtfReadProcesses(benchmark::State& state) {
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty()) {
        state.SkipWithError("unrtf is not installed (Debian package unrtf)");
        return;
    }
    const QString ours = QStringLiteral(SLEEVIX_BINARY_DIR "/bench/rtf_to_text");
    const QString file = trackListFile();
    std::vector<double> sleevix, text, html;
    for (auto _ : state) {
        for (int round = 0; round < 9; ++round) {
            const double a = timedProcess(ours, {file});
            const double b = timedProcess(unrtf, {QStringLiteral("--text"), file});
            const double c = timedProcess(unrtf, {QStringLiteral("--html"), file});
            if (a < 0 || b < 0 || c < 0) {
                state.SkipWithError("a reader failed");
                return;
            }
            sleevix.push_back(a);
            text.push_back(b);
            html.push_back(c);
        }
        state.SetIterationTime(median(sleevix) / 1000);
    }
    state.counters["sleevix_ms"] = median(sleevix);
    state.counters["unrtf_text_ms"] = median(text);
    state.counters["unrtf_html_ms"] = median(html);
    state.counters["unrtf_text_per_sleevix"] = median(text) / median(sleevix);
    state.counters["unrtf_html_per_sleevix"] = median(html) / median(sleevix);
}

} // namespace

BENCHMARK(BM_SleevixReadRtf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SleevixWriteRtf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RtfReadProcesses)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
