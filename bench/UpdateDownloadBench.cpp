// Downloading a 50 MB installer over HTTPS from a server process of its own on 127.0.0.1
// (bench/tools/HttpsFileServer.cpp, the file written from memory in large pieces): the program's
// download as the update window runs it (written to the Downloads folder, the kilobytes counted,
// a shown gauge moved, with and without the version list's SHA-256) beside `curl -o` of the same
// file from the same server, both checking the server's certificate against the test authority.
// The three run alternately in every round; the figures are the medians of the rounds. The
// program's run also reports the longest time its event loop went without serving a 10 ms timer:
// how responsive the window stays.
#include "controls/Gauge.h"
#include "update/InstallerDownload.h"

#include "TestCertificates.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr qint64 InstallerSize = 50 * 1024 * 1024;
constexpr int Rounds = 9;
const QString InstallerName = QStringLiteral("sleevix111.exe");

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double mbPerSecond(double ms) {
    return InstallerSize / 1e6 / (ms / 1000);
}

// The server process, serving a folder with the installer in it; gone with this object.
struct ServedInstaller {
    QTemporaryDir folder;
    TestCertificates certificates = TestCertificates::make(folder.path() + "/certificates");
    QProcess server;
    int port = 0;
    QString checksum;
    QString error;

    ServedInstaller() {
        const QString served = folder.path() + QStringLiteral("/served");
        QDir().mkpath(served);
        QByteArray installer(InstallerSize, Qt::Uninitialized);
        for (qint64 i = 0; i < InstallerSize; ++i)
            installer[i] = char((i * 31 + i / 4093) & 0xff);
        checksum = QString::fromLatin1(
            QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex());
        QFile file(served + QLatin1Char('/') + InstallerName);
        if (!file.open(QIODevice::WriteOnly) || file.write(installer) != InstallerSize) {
            error = QStringLiteral("cannot write the installer");
            return;
        }
        file.close();
        QFile(served + QStringLiteral("/warm-up")).open(QIODevice::WriteOnly);
        server.start(QStringLiteral(SLEEVIX_BINARY_DIR "/bench/https_file_server"),
                     {certificates.serverChain, certificates.serverKey, served});
        if (!server.waitForReadyRead(10000)) {
            error = QStringLiteral("the HTTPS server did not start");
            return;
        }
        port = QString::fromLatin1(server.readLine()).section(u' ', 1).trimmed().toInt();
        // The first secure connection of a run loads the TLS library and the system's
        // authorities; that is no part of a download.
        Internet::fetchText(updateServer().access, QStringLiteral("warm-up"));
    }
    ~ServedInstaller() {
        server.closeWriteChannel();
        if (!server.waitForFinished(5000))
            server.kill();
    }

    UpdateServer updateServer() const {
        UpdateServer update;
        update.access.base = QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(port));
        update.access.extraAuthorities = QSslCertificate::fromPath(certificates.authority);
        return update;
    }
};

// One download as the update window runs it; milliseconds, or a negative number on failure.
double sleevixDownload(const ServedInstaller& s, bool withChecksum, Gauge& gauge,
                       qint64& longestGap) {
    const InstallerRequest request{InstallerName, withChecksum ? s.checksum : QString(),
                                   s.folder.path() + QStringLiteral("/program/"),
                                   s.folder.path() + QStringLiteral("/Downloads/"),
                                   QStringLiteral("Sleevix1.10.exe")};
    gauge.setMaxValue(int(InstallerSize / 1024));
    gauge.setProgress(0);
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &tick,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    tick.start(10);
    QElapsedTimer clock;
    clock.start();
    const InstallerOutcome outcome =
        downloadInstaller(s.updateServer(), request, [&](qint64 position) {
            gauge.setProgress(int(position));
            return true;
        });
    const double ms = clock.nsecsElapsed() / 1e6;
    return outcome.status == InstallerOutcome::Status::Done ? ms : -1;
}

double curlDownload(const ServedInstaller& s, const QString& curl) {
    const QString host = QStringLiteral("updates.sleevix.org");
    const QString port = QString::number(s.port);
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    p.start(curl, {QStringLiteral("-sS"), QStringLiteral("--fail"), QStringLiteral("--cacert"),
                   s.certificates.authority, QStringLiteral("--resolve"),
                   host + ':' + port + QStringLiteral(":127.0.0.1"), QStringLiteral("-o"),
                   s.folder.path() + QStringLiteral("/curl-") + InstallerName,
                   QStringLiteral("https://") + host + ':' + port + QLatin1Char('/') +
                       InstallerName});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

void BM_DownloadBesideCurl(benchmark::State& state) {
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty()) {
        state.SkipWithError("curl is not installed (Debian package curl)");
        return;
    }
    ServedInstaller s;
    if (!s.error.isEmpty()) {
        state.SkipWithError(qPrintable(s.error));
        return;
    }
    Gauge gauge;
    gauge.resize(400, 17);
    gauge.show();
    qint64 longestGap = 0;
    std::vector<double> curlMs, plainMs, summedMs;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const double c = curlDownload(s, curl);
            const double summed = sleevixDownload(s, true, gauge, longestGap);
            const double plain = sleevixDownload(s, false, gauge, longestGap);
            if (c < 0 || summed < 0 || plain < 0) {
                state.SkipWithError("a download failed");
                return;
            }
            curlMs.push_back(c);
            summedMs.push_back(summed);
            plainMs.push_back(plain);
        }
        state.SetIterationTime(median(summedMs) / 1000);
    }
    state.counters["curl_MBps"] = mbPerSecond(median(curlMs));
    state.counters["sleevix_sha256_MBps"] = mbPerSecond(median(summedMs));
    state.counters["sleevix_no_sum_MBps"] = mbPerSecond(median(plainMs));
    state.counters["sha256_per_curl"] = median(summedMs) / median(curlMs);
    state.counters["no_sum_per_curl"] = median(plainMs) / median(curlMs);
    state.counters["longest_event_gap_ms"] = double(longestGap);
}

} // namespace

BENCHMARK(BM_DownloadBesideCurl)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
