// Reading and writing a 2 MB RTF track list (bold titles, colours, tabs with a right tab stop,
// accented and Cyrillic text as \'hh and \u): MB/s of the program's RTF reader and writer, beside
// `unrtf --html` converting the same file in the same run (a process, as people run it).
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <benchmark/benchmark.h>

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

void BM_UnrtfHtmlProcess(benchmark::State& state) {
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty()) {
        state.SkipWithError("unrtf is not installed (Debian package unrtf)");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start(unrtf, {QStringLiteral("--html"), trackListFile()});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            state.SkipWithError("unrtf failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * fileSize());
}

} // namespace

BENCHMARK(BM_SleevixReadRtf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SleevixWriteRtf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UnrtfHtmlProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
