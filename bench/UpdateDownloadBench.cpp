// Downloading a 50 MB installer from an HTTPS server on 127.0.0.1: the program's download (2048-
// byte blocks written to the file, the kilobytes counted, a shown gauge moved after every block)
// beside `curl -o` of the same file from the same server in the same run, both checking the
// server's certificate against the test authority. The program's run also reports the longest
// time its event loop went without serving a 10 ms timer: how responsive the window stays. The
// download is measured without and with a checksum in the version list (every block hashed), and
// the toolkit's reply read alone, with nothing written, shows the floor.
#include "controls/Gauge.h"
#include "update/InstallerDownload.h"

#include "HttpsTestServer.h"
#include "TestCertificates.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr qint64 InstallerSize = 50 * 1024 * 1024;

struct Setup {
    QTemporaryDir folder;
    TestCertificates certificates = TestCertificates::make(folder.path() + "/certificates");
    std::unique_ptr<HttpsTestServer> server;
    QString checksum;

    Setup() {
        server =
            std::make_unique<HttpsTestServer>(certificates.serverChain, certificates.serverKey);
        QByteArray installer(InstallerSize, Qt::Uninitialized);
        for (qint64 i = 0; i < InstallerSize; ++i)
            installer[i] = char((i * 31 + i / 4093) & 0xff);
        server->answer(QStringLiteral("/sleevix111.exe"), HttpsTestServer::Answer{200, installer});
        checksum = QString::fromLatin1(
            QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex());
        server->answer(QStringLiteral("/warm-up"), HttpsTestServer::Answer{200, "x"});
        // The first secure connection of a run loads the TLS library and the system's
        // authorities; that is no part of a download.
        Internet::fetchText(updateServer().access, QStringLiteral("warm-up"));
    }

    UpdateServer updateServer() const {
        UpdateServer update;
        update.access.base = QUrl(server->url());
        update.access.extraAuthorities = QSslCertificate::fromPath(certificates.authority);
        return update;
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

void BM_SleevixDownload(benchmark::State& state) {
    Setup& s = setup();
    const UpdateServer server = s.updateServer();
    const QString downloads = s.folder.path() + QStringLiteral("/Downloads/");
    // With the checksum field of the version list filled, every block is hashed as well.
    const InstallerRequest request{QStringLiteral("sleevix111.exe"),
                                   state.range(0) ? s.checksum : QString(),
                                   s.folder.path() + QStringLiteral("/program/"), downloads,
                                   QStringLiteral("Sleevix1.10.exe")};
    Gauge gauge;
    gauge.resize(400, 17);
    gauge.show();
    qint64 longestGap = 0;
    for (auto _ : state) {
        gauge.setMaxValue(int(InstallerSize / 1024));
        gauge.setProgress(0);
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &tick,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        tick.start(10);
        const InstallerOutcome outcome = downloadInstaller(server, request, [&](qint64 position) {
            gauge.setProgress(int(position));
            return true;
        });
        if (outcome.status != InstallerOutcome::Status::Done) {
            state.SkipWithError(qPrintable(outcome.reason));
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * InstallerSize);
    state.counters["longest_event_gap_ms"] = double(longestGap);
    state.counters["gauge_percent"] = gauge.percentComplete();
}

// The toolkit alone: the same file read whole from the reply as it comes, nothing written.
void BM_ToolkitReplyOnly(benchmark::State& state) {
    const UpdateServer server = setup().updateServer();
    for (auto _ : state) {
        qint64 received = 0;
        Internet::download(server.access, QStringLiteral("sleevix111.exe"), int(state.range(0)),
                           [&](const char*, qint64 size) {
                               received += size;
                               return true;
                           });
        if (received != InstallerSize) {
            state.SkipWithError("incomplete");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * InstallerSize);
}

void BM_CurlDownload(benchmark::State& state) {
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty()) {
        state.SkipWithError("curl is not installed (Debian package curl)");
        return;
    }
    Setup& s = setup();
    const QString host = QStringLiteral("updates.sleevix.example");
    const QString port = QString::number(s.server->port());
    const QString out = s.folder.path() + QStringLiteral("/curl-sleevix111.exe");
    for (auto _ : state) {
        QProcess p;
        p.start(curl, {QStringLiteral("-sS"), QStringLiteral("--fail"), QStringLiteral("--cacert"),
                       s.certificates.authority, QStringLiteral("--resolve"),
                       host + ':' + port + QStringLiteral(":127.0.0.1"), QStringLiteral("-o"), out,
                       QStringLiteral("https://") + host + ':' + port +
                           QStringLiteral("/sleevix111.exe")});
        if (!p.waitForFinished(120000) || p.exitCode() != 0) {
            state.SkipWithError(qPrintable(QString::fromLocal8Bit(p.readAllStandardError())));
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * InstallerSize);
}

} // namespace

BENCHMARK(BM_SleevixDownload)
    ->ArgName("checksum")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);
BENCHMARK(BM_ToolkitReplyOnly)
    ->Arg(2048)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);
BENCHMARK(BM_CurlDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
