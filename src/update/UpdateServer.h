// The maker's update server: where the version list and the installers are fetched, and the name
// its certificate must carry. The program knows one host; for trying the program against a server
// of one's own (the tests do) three environment variables, read once at start, point it
// elsewhere:
//
//   SLEEVIX_UPDATE_SERVER      https://HOST:PORT/ — requests go there; the server's certificate
//                              must carry HOST among its subject alternative names (a DNS name,
//                              or an IP address when HOST is one)
//   SLEEVIX_UPDATE_CA          a PEM file of authorities trusted besides the system's
//   SLEEVIX_UPDATE_TIMEOUT_MS  the receive time-out, 20000 when not given
//
// Only https addresses are taken: the certificate is always checked.
#pragma once

#include "platform/Internet.h"

#include <QProcessEnvironment>
#include <QString>

inline const QString UpdateHost = QStringLiteral("updates.sleevix.org");

struct UpdateServer {
    Internet::Server access;       // where requests go, what the certificate must say
    QString hostName = UpdateHost; // the server as the messages name it

    // The update host, with the system's authorities and a 20-second receive time-out.
    UpdateServer();

    static UpdateServer fromEnvironment(const QProcessEnvironment& environment);

    // The address installers are fetched below: "https://<host>/".
    QString downloadBase() const { return access.base.toString(); }
    // What the connectivity test reaches: the host requests go to, and its HTTPS port.
    QString pingHost() const { return access.base.host(); }
    quint16 port() const { return quint16(access.base.port(443)); }
};
