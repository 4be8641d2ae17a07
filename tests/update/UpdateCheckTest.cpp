#include "update/UpdateChecker.h"

#include "TestEnv.h"
#include "UpdateFixture.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString Version = QStringLiteral("version 1.10c");

std::optional<int> answers(const QString&, quint16) {
    return 3;
}

TEST(UpdateServer, EnvironmentPointsTheProgramElsewhereButOnlyOverHttps) {
    const UpdateServer plain = UpdateServer::fromEnvironment(QProcessEnvironment());
    EXPECT_EQ(plain.downloadBase(), QStringLiteral("https://updates.sleevix.org/"));
    EXPECT_EQ(plain.access.verifyName, QStringLiteral("updates.sleevix.org"));
    EXPECT_EQ(plain.access.receiveTimeoutMs, 20000);
    EXPECT_EQ(plain.port(), 443);

    QProcessEnvironment environment;
    environment.insert(QStringLiteral("SLEEVIX_UPDATE_SERVER"),
                       QStringLiteral("https://127.0.0.1:8443"));
    environment.insert(QStringLiteral("SLEEVIX_UPDATE_TIMEOUT_MS"), QStringLiteral("250"));
    const UpdateServer local = UpdateServer::fromEnvironment(environment);
    EXPECT_EQ(local.downloadBase(), QStringLiteral("https://127.0.0.1:8443/"));
    EXPECT_EQ(local.access.verifyName, QStringLiteral("127.0.0.1"))
        << "the certificate is the one of the server named";
    EXPECT_EQ(local.pingHost(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(local.port(), 8443);
    EXPECT_EQ(local.access.receiveTimeoutMs, 250);
    EXPECT_EQ(local.hostName, QStringLiteral("updates.sleevix.org"));

    for (const char* refused : {"http://127.0.0.1:8080/", "ftp://x/", "127.0.0.1", "https://"}) {
        environment.insert(QStringLiteral("SLEEVIX_UPDATE_SERVER"), QString::fromLatin1(refused));
        environment.insert(QStringLiteral("SLEEVIX_UPDATE_TIMEOUT_MS"), QStringLiteral("-4"));
        const UpdateServer kept = UpdateServer::fromEnvironment(environment);
        EXPECT_EQ(kept.downloadBase(), QStringLiteral("https://updates.sleevix.org/"))
            << refused;
        EXPECT_EQ(kept.access.receiveTimeoutMs, 20000);
    }
}

TEST(UpdateCheck, GivesEachOutcomeAgainstARealServer) {
    UpdateFixture fixture;
    UpdateChecker checker(fixture.updateServer(), QStringLiteral("Sleevix"), Version, answers);

    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,2350,-"));
    std::optional<CheckOutcome> outcome = checker.check();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->result, CheckResult::UpdateAdvised);
    ASSERT_TRUE(outcome->record);
    EXPECT_EQ(outcome->record->downloadName, QStringLiteral("sleevix111.exe"));
    EXPECT_EQ(outcome->record->expectedSizeKB, 2350);
    EXPECT_EQ(outcome->record->version.display(), QStringLiteral("1.11d"));

    fixture.serveList(versionList("Sleevix,sleevix110.exe,c,2350,-"));
    EXPECT_EQ(checker.check()->result, CheckResult::UpToDate);

    fixture.serveList(versionList("Unrelated,unrelated1.exe,,1,-"));
    EXPECT_EQ(checker.check()->result, CheckResult::NotListed);

    fixture.serveList(QByteArray("Sleevix,sleevix111.exe,d,2350,-\r\n").leftJustified(49, ' '));
    EXPECT_EQ(checker.check()->result, CheckResult::ListTooSmall);

    // Nothing twice: no reply. The second attempt was made.
    fixture.serveList(QByteArray());
    const int before = fixture.server.requestCount(QStringLiteral("/versions.dat"));
    EXPECT_EQ(checker.check()->result, CheckResult::NoServerReply);
    EXPECT_EQ(fixture.server.requestCount(QStringLiteral("/versions.dat")), before + 2);

    // A list that arrives at the second attempt is used.
    fixture.server.answer(QStringLiteral("/versions.dat"),
                          {{200, ""}, {200, versionList("Sleevix,sleevix111.exe,d,2350,-")}});
    EXPECT_EQ(checker.check()->result, CheckResult::UpdateAdvised);

    UpdateChecker unreachable(fixture.updateServer(), QStringLiteral("Sleevix"), Version,
                              [](const QString&, quint16) { return std::optional<int>(); });
    EXPECT_EQ(unreachable.check()->result, CheckResult::PingTimeout);
}

// Lines that end in a line feed alone: the record stops there, so its last field is its own and a
// record one field short is still short.
TEST(UpdateCheck, ARecordEndsAtALineFeed) {
    UpdateFixture fixture;
    UpdateChecker checker(fixture.updateServer(), QStringLiteral("Sleevix"), Version, answers);
    const QByteArray sum(64, 'c');
    fixture.serveList("Other,other200.exe,a,100,-\nSleevix,sleevix111.exe,d,2350," + sum +
                      "\nAnother,another310.exe,,250,-\n");
    const std::optional<CheckOutcome> outcome = checker.check();
    ASSERT_TRUE(outcome && outcome->record);
    EXPECT_EQ(outcome->record->sha256, QString::fromLatin1(sum));

    fixture.serveList("Other,other200.exe,a,100,-\nSleevix,sleevix111.exe,d,2350\n"
                      "Another,another310.exe,,250,-\n");
    EXPECT_EQ(testenv::errorOf([&] { checker.check(); }),
              QStringLiteral("List index out of bounds (4)"));
}

// A version list is small; an answer past 1 MB is told as too large after one attempt, and one
// of exactly 1 MB is still read.
TEST(UpdateCheck, AListOverTheSizeLimitIsTooLarge) {
    UpdateFixture fixture;
    UpdateChecker checker(fixture.updateServer(), QStringLiteral("Sleevix"), Version, answers);
    const QByteArray list = versionList("Sleevix,sleevix111.exe,d,2350,-");
    fixture.serveList(list.leftJustified(Internet::MaxTextSize, ' '));
    EXPECT_EQ(checker.check()->result, CheckResult::UpdateAdvised);

    fixture.serveList(list.leftJustified(Internet::MaxTextSize + 1, ' '));
    const int before = fixture.server.requestCount(QStringLiteral("/versions.dat"));
    EXPECT_EQ(checker.check()->result, CheckResult::ListTooLarge);
    EXPECT_EQ(fixture.server.requestCount(QStringLiteral("/versions.dat")), before + 1);
}

TEST(UpdateCheck, ServerFailuresEndInNoReply) {
    {
        UpdateFixture fixture; // nothing scripted: versions.dat is a 404 page
        UpdateChecker checker(fixture.updateServer(), QStringLiteral("Sleevix"), Version, answers);
        EXPECT_EQ(checker.check()->result, CheckResult::NoServerReply);
    }
    {
        // Takes the connection and never answers: two receive time-outs.
        UpdateFixture fixture;
        fixture.server.setAcceptOnly(true);
        UpdateChecker checker(fixture.updateServer(200), QStringLiteral("Sleevix"), Version,
                              answers);
        EXPECT_EQ(checker.check()->result, CheckResult::NoServerReply);
    }
    // A certificate from an authority nobody trusts, and one of the trusted authority made out
    // to another name than the server's address.
    for (const auto& [chain, key] :
         {std::pair(TestCertificates::forThisRun().strangerChain,
                    TestCertificates::forThisRun().strangerKey),
          std::pair(TestCertificates::forThisRun().otherNameChain,
                    TestCertificates::forThisRun().otherNameKey)}) {
        HttpsTestServer stranger(chain, key);
        stranger.answer(QStringLiteral("/versions.dat"),
                        {200, versionList("Sleevix,sleevix111.exe,d,2350,-")});
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("SLEEVIX_UPDATE_SERVER"), stranger.url());
        environment.insert(QStringLiteral("SLEEVIX_UPDATE_CA"),
                           TestCertificates::forThisRun().authority);
        UpdateChecker checker(UpdateServer::fromEnvironment(environment), QStringLiteral("Sleevix"),
                              Version, answers);
        EXPECT_EQ(checker.check()->result, CheckResult::NoServerReply) << chain.toStdString();
        EXPECT_EQ(stranger.requestCount(QStringLiteral("/versions.dat")), 0);
    }
    {
        // No server at all: the connection is refused.
        UpdateServer none;
        none.access.base = QUrl(QStringLiteral("https://127.0.0.1:1/"));
        none.access.receiveTimeoutMs = 2000;
        UpdateChecker checker(none, QStringLiteral("Sleevix"), Version, answers);
        EXPECT_EQ(checker.check()->result, CheckResult::NoServerReply);
    }
}

TEST(UpdateCheck, AMalformedRecordGoesToTheErrorBox) {
    UpdateFixture fixture;
    UpdateChecker checker(fixture.updateServer(), QStringLiteral("Sleevix"), Version, answers);
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,2350"));
    EXPECT_EQ(testenv::errorOf([&] { checker.check(); }),
              QStringLiteral("List index out of bounds (4)"));
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,big,-"));
    EXPECT_EQ(testenv::errorOf([&] { checker.check(); }),
              QStringLiteral("'big' is not a valid integer value"));
    EXPECT_FALSE(checker.running()) << "a failed check does not block the next";
}

TEST(UpdateCheck, ASecondCheckWhileOneWaitsForItsFetchDoesNothing) {
    UpdateFixture fixture;
    HttpsTestServer::Answer slow{200, versionList("Sleevix,sleevix111.exe,d,2350,-")};
    slow.bytesPerSecond = 400; // the list takes a while to arrive
    fixture.serveList({});
    fixture.server.answer(QStringLiteral("/versions.dat"), slow);
    UpdateChecker checker(fixture.updateServer(), QStringLiteral("Sleevix"), Version, answers);

    std::optional<std::optional<CheckOutcome>> second;
    QTimer during;
    during.setSingleShot(true);
    QObject::connect(&during, &QTimer::timeout, &during, [&] { second = checker.check(); });
    during.start(50);
    const std::optional<CheckOutcome> first = checker.check();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->result, CheckResult::UpdateAdvised);
    ASSERT_TRUE(second) << "the windows' events ran during the check";
    EXPECT_FALSE(*second);
    EXPECT_EQ(fixture.server.requestCount(QStringLiteral("/versions.dat")), 1);
}

} // namespace
