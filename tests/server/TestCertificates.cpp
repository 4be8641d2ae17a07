#include "TestCertificates.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

void openssl(const QString& folder, const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("openssl %s failed: %s", qPrintable(arguments.join(QLatin1Char(' '))),
               process.readAll().constData());
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

const QStringList EcKey{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                        QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};

void makeAuthority(const QString& folder, const QString& name, const QString& subject) {
    openssl(folder, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + EcKey +
                        QStringList{QStringLiteral("-keyout"), name + QStringLiteral(".key"),
                                    QStringLiteral("-out"), name + QStringLiteral(".pem"),
                                    QStringLiteral("-days"), QStringLiteral("3"),
                                    QStringLiteral("-subj"), subject, QStringLiteral("-addext"),
                                    QStringLiteral("basicConstraints=critical,CA:TRUE"),
                                    QStringLiteral("-addext"),
                                    QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")});
}

// A server certificate for the names, signed by the authority; its chain file holds both.
void makeServer(const QString& folder, const QString& name, const QString& authority,
                const QString& names) {
    write(folder + QLatin1Char('/') + name + QStringLiteral(".ext"),
          "subjectAltName=" + names.toLatin1() +
              "\nbasicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
              "extendedKeyUsage=serverAuth\n");
    openssl(folder, QStringList{QStringLiteral("req")} + EcKey +
                        QStringList{QStringLiteral("-keyout"), name + QStringLiteral(".key"),
                                    QStringLiteral("-out"), name + QStringLiteral(".csr"),
                                    QStringLiteral("-subj"), QStringLiteral("/CN=Sleevix test")});
    openssl(folder, {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                     name + QStringLiteral(".csr"), QStringLiteral("-CA"),
                     authority + QStringLiteral(".pem"), QStringLiteral("-CAkey"),
                     authority + QStringLiteral(".key"), QStringLiteral("-CAcreateserial"),
                     QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-out"),
                     name + QStringLiteral(".pem"), QStringLiteral("-extfile"),
                     name + QStringLiteral(".ext")});
    write(folder + QLatin1Char('/') + name + QStringLiteral("-chain.pem"),
          read(folder + QLatin1Char('/') + name + QStringLiteral(".pem")) +
              read(folder + QLatin1Char('/') + authority + QStringLiteral(".pem")));
}

} // namespace

TestCertificates TestCertificates::make(const QString& folder) {
    QDir().mkpath(folder);
    makeAuthority(folder, QStringLiteral("ca"), QStringLiteral("/CN=Sleevix Test Authority"));
    makeAuthority(folder, QStringLiteral("stranger-ca"), QStringLiteral("/CN=Unknown Authority"));
    makeServer(folder, QStringLiteral("server"), QStringLiteral("ca"),
               QStringLiteral("DNS:updates.sleevix.org,DNS:localhost,IP:127.0.0.1"));
    makeServer(folder, QStringLiteral("other-name"), QStringLiteral("ca"),
               QStringLiteral("DNS:elsewhere.example"));
    makeServer(folder, QStringLiteral("stranger"), QStringLiteral("stranger-ca"),
               QStringLiteral("DNS:updates.sleevix.org,DNS:localhost,IP:127.0.0.1"));
    const QString f = folder + QLatin1Char('/');
    return {f + QStringLiteral("ca.pem"),         f + QStringLiteral("server-chain.pem"),
            f + QStringLiteral("server.key"),     f + QStringLiteral("other-name-chain.pem"),
            f + QStringLiteral("other-name.key"), f + QStringLiteral("stranger-chain.pem"),
            f + QStringLiteral("stranger.key")};
}

const TestCertificates& TestCertificates::forThisRun() {
    static QTemporaryDir folder;
    static const TestCertificates made = make(folder.path());
    return made;
}
