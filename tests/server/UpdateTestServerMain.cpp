// The HTTPS test server as a program of its own, for trying Sleevix's update check by hand and
// for the download benchmark:
//
//   update_test_server --folder DIR [--certificates DIR] [--rate BYTES_PER_SECOND]
//
// Makes the test certificates in the certificates folder (DIR/certificates by default), serves
// the files of DIR, prints "port <n>" and "authority <file>" and runs until its input closes.
#include "HttpsTestServer.h"
#include "TestCertificates.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption folder(QStringLiteral("folder"), QStringLiteral("Files to serve."),
                                    QStringLiteral("dir"));
    const QCommandLineOption certificates(QStringLiteral("certificates"),
                                          QStringLiteral("Where the certificates are made."),
                                          QStringLiteral("dir"));
    const QCommandLineOption rate(QStringLiteral("rate"),
                                  QStringLiteral("Bytes per second for installers (0: no limit)."),
                                  QStringLiteral("n"), QStringLiteral("0"));
    parser.addOptions({folder, certificates, rate});
    parser.process(app);
    if (!parser.isSet(folder))
        parser.showHelp(2);
    const QString root = QDir(parser.value(folder)).absolutePath();
    const QString certificateFolder = parser.isSet(certificates)
                                          ? parser.value(certificates)
                                          : root + QStringLiteral("/certificates");
    const TestCertificates made = TestCertificates::make(certificateFolder);
    HttpsTestServer server(made.serverChain, made.serverKey);
    server.serveFolder(root);
    const int bytesPerSecond = parser.value(rate).toInt();
    if (bytesPerSecond > 0) {
        // The installers come in slowly; the version list as it is on disk at each request.
        for (const QString& name : QDir(root).entryList({QStringLiteral("*.exe")}, QDir::Files)) {
            QFile file(root + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly)) {
                HttpsTestServer::Answer slow;
                slow.body = file.readAll();
                slow.bytesPerSecond = bytesPerSecond;
                server.answer(QLatin1Char('/') + name, slow);
            }
        }
    }
    std::printf("port %d\nauthority %s\n", server.port(), qPrintable(made.authority));
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}
