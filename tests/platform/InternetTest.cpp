#include "platform/Internet.h"

#include "HttpsTestServer.h"
#include "TestCertificates.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const TestCertificates& certificates() {
    return TestCertificates::forThisRun();
}

// The program's way to the server: the update host's name checked on a loopback connection.
Internet::Server serverAt(const HttpsTestServer& server, int timeoutMs = 5000) {
    Internet::Server access;
    access.base = QUrl(server.url());
    access.verifyName = QStringLiteral("updates.sleevix.org");
    access.extraAuthorities = QSslCertificate::fromPath(certificates().authority);
    access.receiveTimeoutMs = timeoutMs;
    return access;
}

QByteArray pattern(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}

TEST(Internet, FetchesTextAndTellsAMissingFileAndAFailedAttemptApart) {
    HttpsTestServer server(certificates().serverChain, certificates().serverKey);
    server.answer(QStringLiteral("/list.txt"), {200, "the list"});
    const Internet::FetchResult fetched = Internet::fetchText(serverAt(server), "list.txt");
    EXPECT_TRUE(fetched.ok()) << qPrintable(fetched.error);
    EXPECT_EQ(fetched.body, QByteArray("the list"));
    EXPECT_EQ(fetched.httpStatus, 200);

    // A 404 page is no text of the file.
    const Internet::FetchResult missing = Internet::fetchText(serverAt(server), "absent.txt", 2);
    EXPECT_EQ(missing.httpStatus, 404);
    EXPECT_TRUE(missing.body.isEmpty());
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(server.requestCount(QStringLiteral("/absent.txt")), 2);

    // The second attempt is made only when the first brought nothing.
    server.answer(QStringLiteral("/second.txt"), {{200, ""}, {200, "second time"}});
    EXPECT_EQ(Internet::fetchText(serverAt(server), "second.txt", 2).body,
              QByteArray("second time"));
    server.answer(QStringLiteral("/once.txt"), {{200, "first"}, {200, "never asked"}});
    EXPECT_EQ(Internet::fetchText(serverAt(server), "once.txt", 2).body, QByteArray("first"));
    EXPECT_EQ(server.requestCount(QStringLiteral("/once.txt")), 1);
}

TEST(Internet, CertificateChecksAreNeverSkipped) {
    struct Case {
        QString chain, key;
        bool trustTestAuthority;
        const char* why;
    };
    const Case cases[] = {
        {certificates().strangerChain, certificates().strangerKey, true, "unknown authority"},
        {certificates().otherNameChain, certificates().otherNameKey, true, "made out to another"},
        {certificates().serverChain, certificates().serverKey, false, "authority not added"},
    };
    for (const Case& c : cases) {
        HttpsTestServer server(c.chain, c.key);
        server.answer(QStringLiteral("/list.txt"), {200, "secret"});
        Internet::Server access = serverAt(server);
        if (!c.trustTestAuthority)
            access.extraAuthorities.clear();
        const Internet::FetchResult fetched = Internet::fetchText(access, "list.txt");
        EXPECT_FALSE(fetched.ok()) << c.why;
        EXPECT_TRUE(fetched.body.isEmpty()) << c.why;
        EXPECT_EQ(fetched.httpStatus, 0) << c.why << ": no HTTP answer, unlike a 404";
    }
    // The certificate is checked against the update host's name, not the address dialled.
    HttpsTestServer server(certificates().serverChain, certificates().serverKey);
    server.answer(QStringLiteral("/list.txt"), {200, "secret"});
    Internet::Server wrongName = serverAt(server);
    wrongName.verifyName = QStringLiteral("elsewhere.example");
    EXPECT_FALSE(Internet::fetchText(wrongName, "list.txt").ok());
}

TEST(Internet, AServerThatNeverAnswersEndsAtTheReceiveTimeOut) {
    HttpsTestServer quiet(certificates().serverChain, certificates().serverKey);
    quiet.setAcceptOnly(true);
    const Internet::FetchResult handshake = Internet::fetchText(serverAt(quiet, 300), "x", 2);
    EXPECT_FALSE(handshake.ok());
    EXPECT_TRUE(handshake.body.isEmpty());

    HttpsTestServer silent(certificates().serverChain, certificates().serverKey);
    HttpsTestServer::Answer never;
    never.silent = true;
    silent.answer(QStringLiteral("/x"), never);
    EXPECT_FALSE(Internet::fetchText(serverAt(silent, 300), "x", 2).ok());
    EXPECT_EQ(silent.requestCount(QStringLiteral("/x")), 2);

    // Nobody listening at all.
    Internet::Server closed = serverAt(quiet);
    closed.base.setPort(1);
    EXPECT_FALSE(Internet::fetchText(closed, "x").ok());
}

TEST(Internet, DownloadHandsOutFullBlocksAndOnlyTheLastOneShorter) {
    HttpsTestServer server(certificates().serverChain, certificates().serverKey);
    const QByteArray file = pattern(3 * 1024 * 1024 + 1000);
    server.answer(QStringLiteral("/big.bin"), {200, file});
    QByteArray received;
    QList<qint64> sizes;
    const Internet::DownloadResult result =
        Internet::download(serverAt(server), "big.bin", 2048, [&](const char* data, qint64 size) {
            received.append(data, size);
            sizes.append(size);
            return true;
        });
    EXPECT_TRUE(result.complete()) << qPrintable(result.error);
    EXPECT_EQ(result.expected, file.size());
    EXPECT_EQ(received, file);
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_EQ(sizes.last(), 1000);
    sizes.removeLast();
    EXPECT_TRUE(std::all_of(sizes.begin(), sizes.end(), [](qint64 s) { return s == 2048; }));
}

TEST(Internet, DownloadOfAnErrorPageOrOfHalfAFileFails) {
    HttpsTestServer server(certificates().serverChain, certificates().serverKey);
    HttpsTestServer::Answer cut{200, pattern(400 * 1024)};
    cut.cutAfter = 200 * 1024;
    server.answer(QStringLiteral("/cut.bin"), cut);
    server.answer(QStringLiteral("/error.bin"), {500, pattern(10 * 1024)});
    qint64 handedOut = 0;
    auto count = [&](const char*, qint64 size) {
        handedOut += size;
        return true;
    };

    const Internet::DownloadResult missing =
        Internet::download(serverAt(server), "gone", 2048, count);
    EXPECT_FALSE(missing.complete());
    EXPECT_EQ(missing.httpStatus, 404);
    const Internet::DownloadResult error =
        Internet::download(serverAt(server), "error.bin", 2048, count);
    EXPECT_FALSE(error.complete());
    EXPECT_EQ(error.httpStatus, 500);
    EXPECT_EQ(handedOut, 0) << "nothing of an error page reaches the file";

    const Internet::DownloadResult half =
        Internet::download(serverAt(server), "cut.bin", 2048, count);
    EXPECT_FALSE(half.complete());
    EXPECT_LE(half.received, 200 * 1024);

    // The caller stops: the transfer ends there.
    server.answer(QStringLiteral("/long.bin"), {200, pattern(2 * 1024 * 1024)});
    int blocks = 0;
    const Internet::DownloadResult stopped = Internet::download(
        serverAt(server), "long.bin", 2048, [&](const char*, qint64) { return ++blocks < 3; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(blocks, 3);
}

TEST(Internet, BackgroundFetchHandsItsAnswerToTheStartingThreadInOneStep) {
    HttpsTestServer server(certificates().serverChain, certificates().serverKey);
    server.answer(QStringLiteral("/list.txt"), {200, "in one piece"});
    Internet::BackgroundFetch fetch;
    fetch.start(serverAt(server), QStringLiteral("list.txt"), 2);
    EXPECT_TRUE(fetch.running());
    // The answer arrives only through this thread's events.
    QThread::msleep(300);
    EXPECT_FALSE(fetch.done());
    while (!fetch.done()) {
        QThread::msleep(10);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(fetch.take().body, QByteArray("in one piece"));

    // Going away while a fetch waits stops it.
    HttpsTestServer quiet(certificates().serverChain, certificates().serverKey);
    quiet.setAcceptOnly(true);
    auto waiting = std::make_unique<Internet::BackgroundFetch>();
    waiting->start(serverAt(quiet, 60000), QStringLiteral("x"), 2);
    QThread::msleep(100);
    waiting.reset();
}

} // namespace
