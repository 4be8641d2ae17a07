#include "platform/Internet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QThread>
#include <QTimer>
#include <exception>
#include <vector>

namespace Internet {

namespace {

QNetworkRequest requestFor(const Server& server, const QString& path) {
    QNetworkRequest request(server.base.resolved(QUrl(path)));
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(server.receiveTimeoutMs);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!server.extraAuthorities.isEmpty())
        tls.addCaCertificates(server.extraAuthorities);
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    request.setSslConfiguration(tls);
    if (!server.verifyName.isEmpty())
        request.setPeerVerifyName(server.verifyName);
    return request;
}

// A manager that goes straight to the server, as the program always has.
void makeDirect(QNetworkAccessManager& manager) {
    manager.setProxy(QNetworkProxy::NoProxy);
}

int statusOf(const QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// How many blocks a download hands out before the thread's events get their turn.
constexpr int BlocksPerTurn = 64;

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

// Runs the loop until the reply finishes; a thread asked to stop aborts the transfer.
void waitFor(QNetworkReply* reply, QEventLoop& loop) {
    QTimer stopWatch;
    stopWatch.setInterval(100);
    QObject::connect(&stopWatch, &QTimer::timeout, &loop, [reply] {
        if (QThread::currentThread()->isInterruptionRequested())
            reply->abort();
    });
    stopWatch.start();
    loop.exec();
}

FetchResult fetchOnce(QNetworkAccessManager& manager, const Server& server, const QString& path) {
    FetchResult result;
    QNetworkReply* reply = manager.get(requestFor(server, path));
    QEventLoop loop;
    QByteArray body;
    bool tooLarge = false;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        body += reply->readAll();
        if (body.size() > MaxTextSize) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    waitFor(reply, loop);
    if (!tooLarge)
        body += reply->readAll();
    result.httpStatus = statusOf(reply);
    result.tooLarge = tooLarge;
    if (tooLarge)
        result.error = QStringLiteral("The answer is too large");
    else if (reply->error() != QNetworkReply::NoError)
        result.error = reply->errorString();
    else if (!isSuccess(result.httpStatus))
        result.error = QStringLiteral("HTTP status %1").arg(result.httpStatus);
    else
        result.body = body;
    reply->deleteLater();
    return result;
}

} // namespace

FetchResult fetchText(const Server& server, const QString& path, int attempts) {
    FetchResult result;
    if (!QSslSocket::supportsSsl()) {
        result.secureTransport = false;
        result.error = QStringLiteral("No secure transport on this system");
        return result;
    }
    QNetworkAccessManager manager;
    makeDirect(manager);
    for (int attempt = 0; attempt < std::max(1, attempts); ++attempt) {
        result = fetchOnce(manager, server, path);
        if (!result.body.isEmpty() || result.tooLarge ||
            QThread::currentThread()->isInterruptionRequested())
            break;
    }
    return result;
}

DownloadResult download(const Server& server, const QString& path, int blockSize,
                        const std::function<bool(const char* data, qint64 size)>& onBlock) {
    DownloadResult result;
    if (!QSslSocket::supportsSsl()) {
        result.error = QStringLiteral("No secure transport on this system");
        return result;
    }
    QNetworkAccessManager manager;
    makeDirect(manager);
    QNetworkReply* reply = manager.get(requestFor(server, path));
    QEventLoop loop;
    const qint64 blockBytes = std::max(1, blockSize);
    // Whole blocks are taken from the reply many at a time and handed out one by one.
    std::vector<char> blocks(std::size_t(blockBytes * BlocksPerTurn));
    std::exception_ptr failure;
    bool refused = false; // the answer is not the file: nothing of it is handed out
    bool ended = false;

    auto stop = [&] {
        ended = true;
        if (!reply->isFinished())
            reply->abort();
    };
    // Hands out at most a turn's worth of blocks; true when more is waiting.
    auto handOut = [&](bool atEnd) {
        const int status = statusOf(reply);
        if (status != 0 && !isSuccess(status)) {
            refused = true;
            stop();
            return false;
        }
        try {
            const qint64 available = reply->bytesAvailable();
            // Only whole blocks until the end; the last block may be shorter.
            const qint64 wanted = std::min<qint64>(
                qint64(blocks.size()), atEnd ? available : available / blockBytes * blockBytes);
            if (wanted <= 0)
                return false;
            const qint64 size = reply->read(blocks.data(), wanted);
            if (size <= 0)
                return false;
            for (qint64 at = 0; at < size && !ended; at += blockBytes) {
                const qint64 length = std::min(blockBytes, size - at);
                result.received += length;
                if (!onBlock(blocks.data() + at, length)) {
                    result.stopped = true;
                    stop();
                }
            }
            return !ended && reply->bytesAvailable() >= (atEnd ? 1 : blockBytes);
        } catch (...) {
            failure = std::current_exception();
            stop();
        }
        return false;
    };
    // The blocks go out in turns, with the thread's events served between them, so that a
    // window stays responsive however fast the data comes in.
    bool replyDone = false;
    bool turnPending = false;
    std::function<void()> nextTurn;
    nextTurn = [&] {
        turnPending = false;
        if (!ended && handOut(replyDone)) {
            turnPending = true;
            QTimer::singleShot(0, &loop, nextTurn);
            return;
        }
        if (replyDone)
            loop.quit();
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (!turnPending)
            nextTurn();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
        replyDone = true;
        if (!turnPending)
            nextTurn();
    });
    waitFor(reply, loop);

    result.httpStatus = statusOf(reply);
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid())
        result.expected = length.toLongLong();
    reply->deleteLater();
    if (failure)
        std::rethrow_exception(failure);
    if (refused)
        result.error = QStringLiteral("HTTP status %1").arg(result.httpStatus);
    else if (result.stopped)
        result.error = QStringLiteral("Stopped");
    else if (reply->error() != QNetworkReply::NoError)
        result.error = reply->errorString();
    else if (result.expected >= 0 && result.received != result.expected)
        result.error = QStringLiteral("The transfer ended after %1 of %2 bytes")
                           .arg(result.received)
                           .arg(result.expected);
    return result;
}

BackgroundFetch::BackgroundFetch() = default;

BackgroundFetch::~BackgroundFetch() {
    for (const QPointer<QThread>& thread : std::as_const(threads_)) {
        if (thread) {
            thread->requestInterruption();
            thread->wait();
            delete thread.data();
        }
    }
}

void BackgroundFetch::start(const Server& server, const QString& path, int attempts) {
    answer_.reset();
    started_ = true;
    const int generation = ++generation_;
    QObject* receiver = &receiver_;
    BackgroundFetch* self = this;
    QThread* thread = QThread::create([server, path, attempts, receiver, self, generation] {
        FetchResult result = fetchText(server, path, attempts);
        // The owner waits for this thread before it goes, so the receiver is still there.
        QMetaObject::invokeMethod(
            receiver,
            [self, generation, result = std::move(result)] {
                if (self->generation_ == generation)
                    self->answer_ = result;
            },
            Qt::QueuedConnection);
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    threads_.removeIf([](const QPointer<QThread>& t) { return t.isNull(); });
    threads_.append(thread);
    thread->start();
}

FetchResult BackgroundFetch::take() {
    FetchResult result = answer_ ? std::move(*answer_) : FetchResult{};
    answer_.reset();
    started_ = false;
    return result;
}

} // namespace Internet
