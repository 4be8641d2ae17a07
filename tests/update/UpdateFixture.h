// A loopback HTTPS update server for a test, and the program's view of it: the environment a user
// would set to point the program there.
#pragma once

#include "update/UpdateServer.h"

#include "HttpsTestServer.h"
#include "TestCertificates.h"

#include <QProcessEnvironment>
#include <ostream>

struct UpdateFixture {
    HttpsTestServer server{TestCertificates::forThisRun().serverChain,
                           TestCertificates::forThisRun().serverKey};

    UpdateServer updateServer(int timeoutMs = 5000) const {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("SLEEVIX_UPDATE_SERVER"), server.url());
        environment.insert(QStringLiteral("SLEEVIX_UPDATE_CA"),
                           TestCertificates::forThisRun().authority);
        environment.insert(QStringLiteral("SLEEVIX_UPDATE_TIMEOUT_MS"), QString::number(timeoutMs));
        return UpdateServer::fromEnvironment(environment);
    }

    void serveList(const QByteArray& list) {
        server.answer(QStringLiteral("/versions.dat"), HttpsTestServer::Answer{200, list});
    }
};

// A version list with other programs' records around this program's.
inline QByteArray versionList(const QByteArray& record) {
    return "Other,other200.exe,a,100,-\r\n" + record + "\r\nAnother,another310.exe,,250,-\r\n";
}

struct NameCase {
    QByteArray name; // field 1 as it stands in the list
    bool plain;
};

inline void PrintTo(const NameCase& c, std::ostream* out) {
    *out << '"' << QString::fromLatin1(c.name).toStdString() << '"'
         << (c.plain ? " (plain)" : " (not plain)");
}

// Names from which a path or an address could reach outside the Downloads folder, the program
// folder or the server's folder, and plain names that may look odd but stay inside.
inline const QList<NameCase> DownloadNameCases = {
    {"sleevix111.exe", true},
    {QByteArray(255, 'a'), true},
    {"sleevix 1.11 (final).exe", true},
    {"a:b?c#d%e.exe", true},
    {"2024/../../victim.txt", false},
    {"../victim.txt", false},
    {"/etc/passwd", false},
    {"//other-host/x", false},
    {"sub\\x.exe", false},
    {QByteArray("cut\0off.exe", 11), false},
    {"tab\there.exe", false},
    {".hidden.exe", false},
    {".", false},
    {"..", false},
    {"sleevix..exe", false},
    {"", false},
    {QByteArray(256, 'a'), false},
    {QByteArray(128, '\xe9'), false}, // 128 characters, 256 bytes in the file system
};
