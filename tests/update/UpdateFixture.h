// A loopback HTTPS update server for a test, and the program's view of it: the environment a user
// would set to point the program there.
#pragma once

#include "update/UpdateServer.h"

#include "HttpsTestServer.h"
#include "TestCertificates.h"

#include <QProcessEnvironment>

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
