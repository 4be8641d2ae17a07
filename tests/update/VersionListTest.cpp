#include "update/VersionList.h"
#include "update/InstallerFiles.h"

#include "TestEnv.h"
#include "UpdateFixture.h"

#include <gtest/gtest.h>

namespace {

const QString Running = QStringLiteral("version 1.10c");
const QString Filler = QStringLiteral("Other,other200.exe,a,100,-\r\n"
                                      "Another,another310.exe,,250,-\r\n");

CheckOutcome judge(const QString& list, const QString& versionText = Running) {
    return judgeVersionList({VersionListReply::Status::Text, list.toLatin1()},
                            QStringLiteral("Sleevix"),
                            ProgramVersion::fromVersionText(versionText));
}

struct RecordCase {
    const char* record;
    CheckResult result;
    const char* latest;
};

class Record : public ::testing::TestWithParam<RecordCase> {};

TEST_P(Record, IsJudgedAgainstTheRunningVersion) {
    const CheckOutcome outcome = judge(Filler + QString::fromLatin1(GetParam().record) + "\r\n");
    EXPECT_EQ(outcome.result, GetParam().result) << GetParam().record;
    ASSERT_TRUE(outcome.record);
    EXPECT_EQ(outcome.record->version.display(), QString::fromLatin1(GetParam().latest));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Record,
    ::testing::Values(
        RecordCase{"Sleevix,sleevix111.exe,d,2350,-", CheckResult::UpdateAdvised, "1.11d"},
        RecordCase{"Sleevix,sleevix110.exe,c,2350,-", CheckResult::UpToDate, "1.10c"},
        RecordCase{"Sleevix,sleevix110.exe,d,2350,-", CheckResult::UpdateAdvised, "1.10d"},
        RecordCase{"Sleevix,sleevix110.exe,,2350,-", CheckResult::UpToDate, "1.10"},
        RecordCase{"Sleevix,sleevix110.exe,b,2350,-", CheckResult::UpToDate, "1.10b"},
        // Digits compare as text: '19' is after '110'.
        RecordCase{"Sleevix,sleevix19.exe,,900,-", CheckResult::UpdateAdvised, "1.9"},
        RecordCase{"Sleevix,sleevix1.exe,,900,-", CheckResult::UpToDate, "1"},
        RecordCase{"Sleevix,sleevix1101.exe,,900,-", CheckResult::UpdateAdvised, "1.10"},
        // Fields after the fifth are ignored; an empty one inside counts.
        RecordCase{"Sleevix,sleevix111.exe,d,2350,-,,more", CheckResult::UpdateAdvised, "1.11d"}));

class DownloadName : public ::testing::TestWithParam<NameCase> {};

TEST_P(DownloadName, IsTakenOnlyWhenItIsOnePlainFileName) {
    const QByteArray list = Filler.toLatin1() + "Sleevix," + GetParam().name + ",d,4,-\r\n";
    std::optional<CheckOutcome> outcome;
    const QString error = testenv::errorOf([&] {
        outcome = judgeVersionList({VersionListReply::Status::Text, list},
                                   QStringLiteral("Sleevix"),
                                   ProgramVersion::fromVersionText(Running));
    });
    if (GetParam().plain) {
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        ASSERT_TRUE(outcome && outcome->record);
        EXPECT_EQ(outcome->record->downloadName, QString::fromLatin1(GetParam().name));
    } else {
        EXPECT_EQ(error, notAPlainFileNameText()) << GetParam().name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Names, DownloadName, ::testing::ValuesIn(DownloadNameCases));

TEST(VersionList, RunningVersionComesFromTheShownText) {
    const ProgramVersion english = ProgramVersion::fromVersionText(QStringLiteral("version 1.10c"));
    EXPECT_EQ(english.digits, QStringLiteral("110"));
    EXPECT_EQ(english.letter, QChar(u'c'));
    const ProgramVersion dutch = ProgramVersion::fromVersionText(QStringLiteral("versie 1.10c"));
    EXPECT_EQ(dutch.digits, english.digits);
    EXPECT_FALSE(ProgramVersion::fromVersionText(QStringLiteral("version 1.10C")).letter)
        << "only a to z is a letter";
    EXPECT_TRUE(ProgramVersion::fromVersionText(QStringLiteral("version 110")).digits.isEmpty())
        << "without a point there are no digits";

    // Without a letter the running version is older than any letter of the same digits.
    const ProgramVersion plain = ProgramVersion::fromVersionText(QStringLiteral("version 1.10"));
    EXPECT_TRUE(isNewer({QStringLiteral("110"), QChar(u'a')}, plain));
    EXPECT_FALSE(isNewer({QStringLiteral("110"), std::nullopt}, plain));
    EXPECT_FALSE(isNewer({QString(), std::nullopt}, english)) << "no digits are never newer";
}

TEST(VersionList, RecordIsFoundWhereverTheNameFirstStandsWithACommaAndEndsAtTheLine) {
    // The name inside another record is still the first occurrence.
    const auto inside = findProgramRecord(
        QStringLiteral("NotSleevix,notsl200.exe,a,10,-\r\nSleevix,sleevix111.exe,d,2350,-\r\n"),
        QStringLiteral("Sleevix"));
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->downloadName, QStringLiteral("notsl200.exe"));

    // The last line without a line end ends at the end of the text.
    const auto last = findProgramRecord(Filler + QStringLiteral("Sleevix,sleevix111.exe,d,2350,-"),
                                        QStringLiteral("Sleevix"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->expectedSizeKB, 2350);
    EXPECT_EQ(last->downloadName, QStringLiteral("sleevix111.exe"));

    // Line feeds alone end a record too; the next record is not read into it.
    const auto lineFeeds = findProgramRecord(
        QStringLiteral("Sleevix,sleevix111.exe,d,2350,-\nX,y,z\n"), QStringLiteral("Sleevix"));
    ASSERT_TRUE(lineFeeds);
    EXPECT_EQ(lineFeeds->version.letter, QChar(u'd'));
    EXPECT_TRUE(lineFeeds->sha256.isEmpty());

    EXPECT_FALSE(findProgramRecord(Filler, QStringLiteral("Sleevix")));
    EXPECT_FALSE(findProgramRecord(Filler + QStringLiteral("Sleevix,"), QStringLiteral("Sleevix")))
        << "nothing after the comma";
    EXPECT_FALSE(findProgramRecord(Filler + QStringLiteral("sleevix,sleevix111.exe,d,1,-\r\n"),
                                   QStringLiteral("Sleevix")))
        << "the name's case must match";
}

TEST(VersionList, FieldsSplitAtEveryCommaButTheLast) {
    EXPECT_EQ(splitRecordFields(QStringLiteral("a,,b")), QStringList({"a", "", "b"}));
    EXPECT_EQ(splitRecordFields(QStringLiteral("a,b,")), QStringList({"a", "b"}));
    EXPECT_EQ(splitRecordFields(QStringLiteral("a,b,,")), QStringList({"a", "b", ""}));
}

TEST(VersionList, ChecksumFieldIsTakenOnlyWhenItIsSixtyFourHexDigits) {
    const QString sum(64, QLatin1Char('A'));
    const auto withSum = findProgramRecord(
        QStringLiteral("Sleevix,sleevix111.exe,d,2350,%1\r\n").arg(sum), QStringLiteral("Sleevix"));
    ASSERT_TRUE(withSum);
    EXPECT_EQ(withSum->sha256, sum.toLower());
    for (const QString& other :
         {QString(63, QLatin1Char('a')), QString(65, QLatin1Char('a')),
          QString(63, QLatin1Char('a')) + QLatin1Char('g'), QStringLiteral("-")}) {
        const auto record =
            findProgramRecord(QStringLiteral("Sleevix,sleevix111.exe,d,2350,%1\r\n").arg(other),
                              QStringLiteral("Sleevix"));
        ASSERT_TRUE(record);
        EXPECT_TRUE(record->sha256.isEmpty()) << qPrintable(other);
    }
}

TEST(VersionList, BadListsGiveTheirResultsOrTheErrorBox) {
    // 49 characters are too few; 50 are a list.
    const QString list49 = QStringLiteral("Sleevix,sleevix111.exe,d,2350,-\r\n").leftJustified(49);
    ASSERT_EQ(list49.size(), 49);
    EXPECT_EQ(judge(list49).result, CheckResult::ListTooSmall);
    EXPECT_EQ(judge(list49 + QLatin1Char(' ')).result, CheckResult::UpdateAdvised);

    EXPECT_EQ(judge(Filler).result, CheckResult::NotListed);
    EXPECT_EQ(judgeVersionList({VersionListReply::Status::NoReply, {}}, QStringLiteral("Sleevix"),
                               ProgramVersion::fromVersionText(Running))
                  .result,
              CheckResult::NoServerReply);
    EXPECT_EQ(judgeVersionList({VersionListReply::Status::NoConnection, {}},
                               QStringLiteral("Sleevix"), ProgramVersion::fromVersionText(Running))
                  .result,
              CheckResult::ListTooSmall);

    EXPECT_EQ(
        testenv::errorOf([] { judge(Filler + QStringLiteral("Sleevix,sleevix111.exe,d,2350")); }),
        QStringLiteral("List index out of bounds (4)"));
    EXPECT_EQ(testenv::errorOf(
                  [] { judge(Filler + QStringLiteral("Sleevix,sleevix111.exe,d,2350,\r\n")); }),
              QStringLiteral("List index out of bounds (4)"))
        << "the empty field after a final comma does not count";
    EXPECT_EQ(testenv::errorOf([] { judge(Filler + QStringLiteral("Sleevix,x.exe\r\n")); }),
              QStringLiteral("List index out of bounds (2)"));
    for (const char* size : {"23x0", "", " 2350", "2350.5", "99999999999"})
        EXPECT_EQ(
            testenv::errorOf([&] {
                judge(Filler + QStringLiteral("Sleevix,sleevix111.exe,d,%1,-\r\n")
                                   .arg(QString::fromLatin1(size)));
            }),
            QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(size)));

    // A negative size is a number; the gauge refuses it when the download starts.
    const CheckOutcome negative =
        judge(Filler + QStringLiteral("Sleevix,sleevix111.exe,d,-5,-\r\n"));
    ASSERT_TRUE(negative.record);
    EXPECT_EQ(negative.record->expectedSizeKB, -5);
}

TEST(InstallerFiles, KilobytesAreCountedBlockByBlock) {
    KilobyteCounter twoBlocks;
    twoBlocks.addBlock(2048);
    twoBlocks.addBlock(952);
    EXPECT_EQ(twoBlocks.kilobytes(), 2u);
    EXPECT_TRUE(twoBlocks.enough());
    EXPECT_EQ(twoBlocks.gaugePosition(), 3);

    KilobyteCounter oneBlock;
    oneBlock.addBlock(1500);
    EXPECT_EQ(oneBlock.kilobytes(), 1u);
    EXPECT_FALSE(oneBlock.enough());
}

TEST(InstallerFiles, NamesOfTheFilesInvolved) {
    EXPECT_EQ(runningInstallerName(QStringLiteral("Sleevix"), QStringLiteral("version 1.10c")),
              QStringLiteral("Sleevix1.10.exe"));
    EXPECT_EQ(installersToRemove(QStringLiteral("/p/"), QStringLiteral("/d/"),
                                 QStringLiteral("Sleevix1.10.exe"),
                                 QStringLiteral("sleevix111.exe")),
              QStringList({"/p/Sleevix1.10.exe", "/p/sleevix111.exe", "/d/Sleevix1.10.exe",
                           "/d/sleevix111.exe"}));
    EXPECT_EQ(installerDisplayName(QStringLiteral("sleevix111.exe")), QStringLiteral("Sleevix"));
    EXPECT_EQ(installerDisplayName(QStringLiteral("tsbackup2.exe")), QStringLiteral("tsBackup"));
    EXPECT_EQ(installerDisplayName(QStringLiteral("ts.exe")), QStringLiteral("ts"));
    EXPECT_EQ(installerDisplayName(QStringLiteral("\xe9t\xe9.exe")), QStringLiteral("\xe9t\xe9"))
        << "only a to z are raised";
    EXPECT_EQ(installerDisplayName(QStringLiteral("noextension")), QString());
#ifndef Q_OS_WIN
    EXPECT_EQ(companionProgramPath(QStringLiteral("/opt/sleevix/"), QStringLiteral("Sleevix")),
              QStringLiteral("/opt/sleevix/Sleevix_Sched"));
#endif
}

} // namespace
