// Fetching files from a web server over HTTPS: a small text in one piece, or a large file in
// blocks handed to the caller as they arrive. Certificates are always checked (the system's
// authorities plus any the caller adds); a receive time-out ends a transfer that stalls.
//
// Every call blocks its caller while it runs its own event loop on the calling thread, so on the
// main thread the windows stay responsive. BackgroundFetch runs a text fetch on a thread of its
// own and hands the answer to the main thread in one step.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class QThread;

namespace Internet {

// Where a server is reached and what its certificate must say.
struct Server {
    QUrl base;          // "https://host[:port]/"; paths are resolved against it
    QString verifyName; // the name the certificate must carry; empty: the host of base
    QList<QSslCertificate> extraAuthorities; // trusted besides the system's
    int receiveTimeoutMs = 20000;            // a transfer that receives nothing this long ends
};

// The program's name for itself towards servers.
inline const QByteArray UserAgent = QByteArrayLiteral("Tessaro Function: Download");

struct FetchResult {
    bool secureTransport = true; // false: this system cannot make HTTPS connections at all
    int httpStatus = 0;          // 0 when no HTTP answer came
    QByteArray body;             // the body, only for a complete answer with a 2xx status
    bool tooLarge = false;       // the answer went past MaxTextSize and was broken off
    QString error;               // why it failed; empty on success

    bool ok() const { return error.isEmpty(); }
};

// Fetches a small file (at most MaxTextSize bytes) in up to `attempts` attempts, the next only
// when the one before brought no text and was not too large.
inline constexpr qint64 MaxTextSize = 1024 * 1024;
FetchResult fetchText(const Server& server, const QString& path, int attempts = 1);

struct DownloadResult {
    int httpStatus = 0;
    qint64 received = 0;  // bytes handed to the caller
    qint64 expected = -1; // the announced length, -1 when none was announced
    bool stopped = false; // the caller asked to stop
    QString error;        // why it failed; empty when the whole file arrived

    bool complete() const { return error.isEmpty() && !stopped; }
};

// Downloads a file in blocks of blockSize bytes (the last may be shorter) and hands each to
// onBlock as it arrives; onBlock gives false to stop. An answer whose status is not 2xx hands out
// nothing. An exception thrown by onBlock ends the transfer and is passed on to the caller.
DownloadResult download(const Server& server, const QString& path, int blockSize,
                        const std::function<bool(const char* data, qint64 size)>& onBlock);

// One text fetch on a thread of its own, started per fetch and gone when it is done. The answer
// reaches the thread that started it in one step, through that thread's events: done() turns
// true only once the whole answer is there.
class BackgroundFetch {
public:
    BackgroundFetch();
    ~BackgroundFetch(); // stops a fetch still running and waits for its thread
    BackgroundFetch(const BackgroundFetch&) = delete;
    BackgroundFetch& operator=(const BackgroundFetch&) = delete;

    void start(const Server& server, const QString& path, int attempts);
    bool running() const { return started_ && !answer_; }
    bool done() const { return answer_.has_value(); }
    FetchResult take();

private:
    QObject receiver_; // lives on the starting thread; the answer arrives through it
    QList<QPointer<QThread>> threads_; // a fetch's thread lasts until it has handed over
    std::optional<FetchResult> answer_;
    bool started_ = false;
    int generation_ = 0; // an answer of an earlier fetch is not taken for this one
};

} // namespace Internet
