#include "platform/Ping.h"

#include "TestEnv.h"

#include <QFile>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

struct ReplyCase {
    const char* output;
    std::optional<int> ms;
};

class ReplyTime : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyTime, IsReadFromThePingOutput) {
    EXPECT_EQ(Ping::replyTimeMs(QString::fromLatin1(GetParam().output)), GetParam().ms)
        << GetParam().output;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyTime,
    ::testing::Values(ReplyCase{"64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=0.043 ms", 1},
                      ReplyCase{"64 bytes from 10.1.1.1: icmp_seq=1 ttl=57 time=15.6 ms", 16},
                      ReplyCase{"Reply from 192.0.2.1: bytes=32 time=15ms TTL=57", 15},
                      // Faster than a millisecond is a reply, not a time-out.
                      ReplyCase{"Reply from 192.0.2.1: bytes=32 time<1ms TTL=128", 1},
                      ReplyCase{"Antwoord van 192.0.2.1: bytes=32 tijd=3ms TTL=57", std::nullopt},
                      ReplyCase{"Request timed out.", std::nullopt},
                      ReplyCase{"Time-out", std::nullopt},
                      ReplyCase{"1 packets transmitted, 0 received, 100% packet loss, time 0ms",
                                std::nullopt},
                      ReplyCase{"", std::nullopt}));

// A stand-in ping that prints and exits as told.
QString fakePing(const QString& output, int exitCode) {
    const QString path = testenv::freshFolder(QStringLiteral("ping")) + QStringLiteral("/ping");
    testenv::writeFile(
        path, QStringLiteral("#!/bin/sh\necho '%1'\nexit %2\n").arg(output).arg(exitCode).toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(Ping, LoopbackAnswersThroughTheSystemsPing) {
    const std::optional<int> ms = Ping::roundTrip(QStringLiteral("127.0.0.1"), 1);
    ASSERT_TRUE(ms) << "127.0.0.1 answers a ping, or a connection when ping cannot run";
    EXPECT_GE(*ms, 1);
}

TEST(Ping, WithoutPingAConnectionToTheServersPortIsTimed) {
    QTcpServer listening;
    ASSERT_TRUE(listening.listen(QHostAddress::LocalHost));
    const Ping::Options missing{QStringLiteral("/nonexistent/ping"), 2000};
    EXPECT_GE(
        Ping::roundTrip(QStringLiteral("127.0.0.1"), listening.serverPort(), missing).value_or(0),
        1);

    // A ping that may not send falls back too.
    const Ping::Options forbidden{
        fakePing(QStringLiteral("ping: socket: Operation not permitted"), 2), 2000};
    EXPECT_TRUE(Ping::roundTrip(QStringLiteral("127.0.0.1"), listening.serverPort(), forbidden));

    const quint16 port = listening.serverPort();
    listening.close();
    EXPECT_FALSE(Ping::roundTrip(QStringLiteral("127.0.0.1"), port, missing))
        << "nothing listens: no answer";
}

TEST(Ping, APingWithoutReplyIsATimeOutWithoutTryingAConnection) {
    QTcpServer listening;
    ASSERT_TRUE(listening.listen(QHostAddress::LocalHost));
    const Ping::Options noReply{fakePing(QStringLiteral("Request timed out."), 1), 2000};
    EXPECT_FALSE(Ping::roundTrip(QStringLiteral("127.0.0.1"), listening.serverPort(), noReply));
    EXPECT_FALSE(listening.hasPendingConnections());

    const Ping::Options fast{fakePing(QStringLiteral("bytes=32 time<1ms TTL=128"), 0), 2000};
    EXPECT_EQ(Ping::roundTrip(QStringLiteral("127.0.0.1"), listening.serverPort(), fast), 1);
}

} // namespace
