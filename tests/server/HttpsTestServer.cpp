#include "HttpsTestServer.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QThread>
#include <QTimer>

namespace {

constexpr qint64 QueueLimit = 1 << 20; // bytes kept waiting in the socket at most
constexpr int RateTickMs = 50;

QByteArray reasonOf(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

// One connection: reads one request, sends its answer, closes.
class Connection : public QObject {
public:
    Connection(QTcpSocket* socket, HttpsTestServer& server) : socket_(socket), server_(server) {
        socket_->setParent(this);
        connect(socket_, &QTcpSocket::readyRead, this, &Connection::readRequest);
        connect(socket_, &QTcpSocket::bytesWritten, this, &Connection::sendMore);
        connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
        connect(socket_, &QTcpSocket::errorOccurred, this, [this] {
            if (socket_->state() == QAbstractSocket::UnconnectedState)
                deleteLater();
        });
        rate_.setInterval(RateTickMs);
        connect(&rate_, &QTimer::timeout, this, [this] {
            allowance_ += std::max<qint64>(1, answer_.bytesPerSecond * RateTickMs / 1000);
            sendMore();
        });
    }

private:
    void readRequest() {
        if (answered_)
            return;
        request_ += socket_->readAll();
        const qsizetype end = request_.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        answered_ = true;
        const QList<QByteArray> words = request_.left(request_.indexOf("\r\n")).split(' ');
        const QString path = words.size() > 1 ? QString::fromLatin1(words[1]) : QString();
        answer_ = server_.nextAnswer(path);
        if (answer_.silent)
            return;
        const qint64 length = answer_.body.size();
        QByteArray head = "HTTP/1.1 " + QByteArray::number(answer_.status) + ' ' +
                          reasonOf(answer_.status) + "\r\n";
        head += "Content-Type: application/octet-stream\r\n";
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket_->write(head);
        toSend_ = answer_.cutAfter >= 0 ? std::min(answer_.cutAfter, length) : length;
        if (answer_.bytesPerSecond > 0) {
            allowance_ = 0;
            rate_.start();
        }
        sendMore();
    }

    void sendMore() {
        if (!answered_ || answer_.silent || closing_)
            return;
        while (sent_ < toSend_ && socket_->bytesToWrite() < QueueLimit) {
            qint64 size = std::min<qint64>(toSend_ - sent_, 256 * 1024);
            if (answer_.bytesPerSecond > 0)
                size = std::min(size, allowance_);
            if (size <= 0)
                return;
            socket_->write(answer_.body.constData() + sent_, size);
            sent_ += size;
            if (answer_.bytesPerSecond > 0)
                allowance_ -= size;
        }
        if (sent_ >= toSend_) {
            closing_ = true;
            rate_.stop();
            socket_->disconnectFromHost();
        }
    }

    QTcpSocket* socket_;
    HttpsTestServer& server_;
    QByteArray request_;
    HttpsTestServer::Answer answer_;
    bool answered_ = false;
    bool closing_ = false;
    qint64 sent_ = 0;
    qint64 toSend_ = 0;
    qint64 allowance_ = 0;
    QTimer rate_;
};

} // namespace

class ServerWorker : public QTcpServer {
public:
    ServerWorker(HttpsTestServer& server, const QString& certificateFile, const QString& keyFile)
        : server_(server) {
        tls_ = QSslConfiguration::defaultConfiguration();
        const QList<QSslCertificate> chain = QSslCertificate::fromPath(certificateFile);
        QFile keyIn(keyFile);
        keyIn.open(QIODevice::ReadOnly);
        QByteArray keyPem = keyIn.readAll();
        QSslKey key(keyPem, QSsl::Ec);
        if (key.isNull())
            key = QSslKey(keyPem, QSsl::Rsa);
        if (!chain.isEmpty())
            tls_.setLocalCertificateChain(chain);
        tls_.setPrivateKey(key);
        tls_.setPeerVerifyMode(QSslSocket::VerifyNone); // clients show no certificate
    }

protected:
    void incomingConnection(qintptr descriptor) override {
        if (server_.acceptOnly()) {
            auto* socket = new QTcpSocket(this);
            socket->setSocketDescriptor(descriptor);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            return;
        }
        auto* socket = new QSslSocket;
        socket->setSslConfiguration(tls_);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        auto* connection = new Connection(socket, server_);
        connection->setParent(this);
        socket->startServerEncryption();
    }

private:
    HttpsTestServer& server_;
    QSslConfiguration tls_;
};

HttpsTestServer::HttpsTestServer(const QString& certificateFile, const QString& keyFile) {
    thread_ = new QThread;
    // The server lives on its own thread, so its sockets are served there.
    worker_ = new ServerWorker(*this, certificateFile, keyFile);
    worker_->moveToThread(thread_);
    thread_->start();
    ServerWorker* worker = worker_;
    QMetaObject::invokeMethod(
        worker,
        [this, worker] {
            worker->listen(QHostAddress::LocalHost, 0);
            port_ = worker->serverPort();
        },
        Qt::BlockingQueuedConnection);
    if (port_ == 0)
        qFatal("the test server could not listen on 127.0.0.1");
}

HttpsTestServer::~HttpsTestServer() {
    ServerWorker* worker = worker_;
    QMetaObject::invokeMethod(
        worker, [worker] { delete worker; }, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete thread_;
}

QString HttpsTestServer::url() const {
    return QStringLiteral("https://127.0.0.1:%1/").arg(port_);
}

void HttpsTestServer::answer(const QString& path, const Answer& answer) {
    this->answer(path, QList<Answer>{answer});
}

void HttpsTestServer::answer(const QString& path, const QList<Answer>& answers) {
    QMutexLocker lock(&mutex_);
    answers_[path] = answers;
}

void HttpsTestServer::serveFolder(const QString& folder) {
    QMutexLocker lock(&mutex_);
    folder_ = folder;
}

void HttpsTestServer::setAcceptOnly(bool acceptOnly) {
    QMutexLocker lock(&mutex_);
    acceptOnly_ = acceptOnly;
}

bool HttpsTestServer::acceptOnly() const {
    QMutexLocker lock(&mutex_);
    return acceptOnly_;
}

int HttpsTestServer::requestCount(const QString& path) const {
    QMutexLocker lock(&mutex_);
    return counts_.value(path);
}

QStringList HttpsTestServer::requestedPaths() const {
    QMutexLocker lock(&mutex_);
    return counts_.keys();
}

HttpsTestServer::Answer HttpsTestServer::nextAnswer(const QString& path) {
    QMutexLocker lock(&mutex_);
    const int count = counts_[path]++;
    const auto scripted = answers_.constFind(path);
    if (scripted != answers_.constEnd() && !scripted->isEmpty())
        return scripted->at(std::min<qsizetype>(count, scripted->size() - 1));
    if (!folder_.isEmpty() && !path.contains(QStringLiteral(".."))) {
        QFile file(folder_ + path);
        if (file.open(QIODevice::ReadOnly))
            return Answer{200, file.readAll()};
    }
    return Answer{404, QByteArrayLiteral("<html><body><h1>404 Not Found</h1>"
                                         "The file is not on this server.</body></html>")};
}
