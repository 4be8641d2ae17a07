// SHA-256 of a stream of blocks, through OpenSSL's libcrypto: it uses the processor's SHA
// instructions where there are any, about ten times faster than Qt's own SHA-256 here, so that
// checking a download while it arrives costs little beside the download itself. The library is
// loaded on first use; without it, Qt's SHA-256 gives the same sums.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void addData(QByteArrayView data);
    // The digest of everything added, as 64 lower-case hexadecimal digits. Ends the hash: add
    // nothing after it.
    QByteArray hexResult();

private:
    struct Context;
    std::unique_ptr<Context> context_;
};

// SHA-256 computed on a thread of its own: pieces handed in are hashed while the caller goes on
// (receiving and writing the next ones), in the order they were added.
class BackgroundSha256 {
public:
    BackgroundSha256();
    ~BackgroundSha256(); // waits for the pieces still queued
    BackgroundSha256(const BackgroundSha256&) = delete;
    BackgroundSha256& operator=(const BackgroundSha256&) = delete;

    void addData(const QByteArray& piece);
    // Waits until every piece is hashed; as Sha256::hexResult.
    QByteArray hexResult();

private:
    struct Queue;
    std::unique_ptr<Queue> queue_;
};

