// A real HTTPS server on 127.0.0.1 for the update tests, the benchmark and trying the program by
// hand. It runs on a thread of its own, so the program under test can block its own thread and
// still be answered. Each path gets a scripted answer: a status and body, an answer cut off
// half-way, a slow answer, or none at all.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QStringList>
#include <QString>
#include <memory>

class QThread;
class ServerWorker;

class HttpsTestServer {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        qint64 cutAfter = -1;   // close after this many body bytes (the whole is announced)
        bool silent = false;    // take the request and never answer it
        int bytesPerSecond = 0; // 0: as fast as the connection goes
    };

    // Listens on 127.0.0.1 at a free port with the given certificate (and its chain) and key.
    HttpsTestServer(const QString& certificateFile, const QString& keyFile);
    ~HttpsTestServer();

    quint16 port() const { return port_; }
    QString url() const; // "https://127.0.0.1:<port>/"

    // The answer for a path ("/versions.dat"); a list gives one answer per request, the last
    // one for every request after it. A path without an answer gets 404.
    void answer(const QString& path, const Answer& answer);
    void answer(const QString& path, const QList<Answer>& answers);
    // Paths without a scripted answer are served from this folder.
    void serveFolder(const QString& folder);
    // Takes connections and never even starts the secure handshake.
    void setAcceptOnly(bool acceptOnly);

    int requestCount(const QString& path) const;
    // The paths asked for so far, each once, in no particular order.
    QStringList requestedPaths() const;

    // Used by the server's thread.
    Answer nextAnswer(const QString& path);
    bool acceptOnly() const;

private:
    mutable QMutex mutex_;
    QHash<QString, QList<Answer>> answers_;
    QHash<QString, int> counts_;
    QString folder_;
    bool acceptOnly_ = false;
    quint16 port_ = 0;
    QThread* thread_ = nullptr;
    ServerWorker* worker_ = nullptr;
};
