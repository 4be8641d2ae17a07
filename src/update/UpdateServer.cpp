#include "update/UpdateServer.h"

UpdateServer::UpdateServer() {
    access.base = QUrl(QStringLiteral("https://") + UpdateHost + QLatin1Char('/'));
    access.verifyName = UpdateHost;
}

UpdateServer UpdateServer::fromEnvironment(const QProcessEnvironment& environment) {
    UpdateServer server;
    QUrl base(environment.value(QStringLiteral("SLEEVIX_UPDATE_SERVER")).trimmed(),
              QUrl::StrictMode);
    if (base.isValid() && base.scheme() == QLatin1String("https") && !base.host().isEmpty()) {
        if (!base.path().endsWith(QLatin1Char('/')))
            base.setPath(base.path() + QLatin1Char('/'));
        server.access.base = base;
        // A server of one's own shows a certificate for its own name (or address), as any other
        // HTTPS server does.
        server.access.verifyName = base.host();
    }
    const QString authorities = environment.value(QStringLiteral("SLEEVIX_UPDATE_CA"));
    if (!authorities.isEmpty())
        server.access.extraAuthorities = QSslCertificate::fromPath(authorities, QSsl::Pem);
    bool ok = false;
    const int timeout = environment.value(QStringLiteral("SLEEVIX_UPDATE_TIMEOUT_MS")).toInt(&ok);
    if (ok && timeout > 0)
        server.access.receiveTimeoutMs = timeout;
    return server;
}
