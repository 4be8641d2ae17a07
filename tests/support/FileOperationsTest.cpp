#include "TestEnv.h"
#include "platform/AppError.h"
#include "platform/Drives.h"
#include "support/Support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const DaylightFacts NoDaylight;

// Restores the current directory after a test that changes it.
struct KeepCurrentDirectory {
    QString saved = QDir::currentPath();
    ~KeepCurrentDirectory() { QDir::setCurrent(saved); }
};

TEST(MakeAndEnterFolder, TrueOnlyWhenThePathEndsInOneSeparator) {
    KeepCurrentDirectory keep;
    const QString base = testenv::freshFolder(QStringLiteral("mk"));
    const QString nested = base + QStringLiteral("/A/B/");
    EXPECT_TRUE(makeAndEnterFolder(nested));
    EXPECT_EQ(QDir::currentPath() + u'/', nested);

    const QString noSeparator = base + QStringLiteral("/C/D");
    EXPECT_FALSE(makeAndEnterFolder(noSeparator));
    EXPECT_TRUE(QFileInfo(noSeparator).isDir());
    EXPECT_EQ(QDir::currentPath(), noSeparator);

    EXPECT_FALSE(makeAndEnterFolder(QStringLiteral("/"))); // the root already ends in one
    EXPECT_EQ(testenv::errorOf([] { makeAndEnterFolder(QString()); }),
              "Unable to create directory");

    // A folder that cannot be made (its parent is a file) gives false, not an error.
    const QString file = testenv::writeFile(base + QStringLiteral("/plain"), "x");
    EXPECT_FALSE(makeAndEnterFolder(file + QStringLiteral("/sub/")));
}

TEST(CopyFileKeepDate, CopiesWithTheSourceDateAndNeverOverwritesWhenAsked) {
    const QString base = testenv::freshFolder(QStringLiteral("copy"));
    const QString source = testenv::writeFile(base + QStringLiteral("/src/Front.jpg"), "picture");
    QFile sourceFile(source);
    ASSERT_TRUE(sourceFile.open(QIODevice::ReadWrite));
    const QDateTime old(QDate(2019, 6, 1), QTime(10, 20, 31));
    ASSERT_TRUE(sourceFile.setFileTime(old, QFileDevice::FileModificationTime));
    sourceFile.close();

    const QString destination = base + QStringLiteral("/new/folder/Front.jpg");
    EXPECT_TRUE(copyFileKeepDate(source, destination, true, NoDaylight));
    QFile copy(destination);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "picture");
    // The file system keeps dates in two-second steps: 10:20:31 becomes 10:20:30.
    EXPECT_EQ(QFileInfo(destination).lastModified(),
              QDateTime(QDate(2019, 6, 1), QTime(10, 20, 30)));

    testenv::writeFile(destination, "mine");
    const QDateTime kept = QFileInfo(destination).lastModified();
    EXPECT_FALSE(copyFileKeepDate(source, destination, true, NoDaylight));
    QFile again(destination);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), "mine");
    EXPECT_EQ(QFileInfo(destination).lastModified(), kept);

    EXPECT_TRUE(copyFileKeepDate(source, destination, false, NoDaylight));
    EXPECT_FALSE(copyFileKeepDate(base + QStringLiteral("/missing"), base + QStringLiteral("/x/y"),
                                  true, NoDaylight));
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/x/y")));
    EXPECT_EQ(testenv::errorOf([&] {
                  copyFileKeepDate(source, QStringLiteral("no-folder-part"), true, NoDaylight);
              }),
              "Unable to create directory");
}

// A data folder below a regular file cannot be made; the message said only "Unable to create
// directory", leaving the user to guess which folder was meant.
TEST(CopyFileKeepDate, AFolderThatCannotBeMadeIsNamed) {
    const QString base = testenv::freshFolder();
    const QString source = testenv::writeFile(base + QStringLiteral("/Front.jpg"), "picture");
    const QString blocker = testenv::writeFile(base + QStringLiteral("/a-file"), "x");
    const QString folder = blocker + QStringLiteral("/Sleevix/Project");
    const QString target = folder + QStringLiteral("/Front.jpg");
    EXPECT_EQ(testenv::errorOf([&] { copyFileKeepDate(source, target, true, NoDaylight); }),
              QStringLiteral("Unable to create directory ") + QDir::toNativeSeparators(folder));
}

TEST(UserDataFolder, IsMadeUnderTheUsersDataFolderAndLeavesTheCurrentDirectory) {
    KeepCurrentDirectory keep;
    const QString before = QDir::currentPath();
    const QString folder = getUserDataFolder(QStringLiteral("Sleevix"), true);
    EXPECT_EQ(folder, qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Sleevix/"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir::currentPath(), before);

    EXPECT_EQ(getUserDataFolder(QStringLiteral("Sleevix"), false), before + u'/');
}

TEST(Drives, TheRootIsAFixedDriveAndUnknownLettersSaySo) {
    EXPECT_EQ(driveTypeText(u'C'), "DRIVE_FIXED");
    EXPECT_EQ(Drives::letterOfPath(QStringLiteral("/")), u'C');
    EXPECT_EQ(driveTypeText(u'Z'), QString()) << "assuming fewer than 24 real volumes";
    EXPECT_EQ(volumeLabel(u'Z'), "Error 15 The system cannot find the drive specified.");
    EXPECT_FALSE(volumeLabel(u'C').startsWith(QStringLiteral("Error ")));
}

TEST(StartUp, FillsEveryFact) {
    const StartupFacts facts = readStartupFacts();
    EXPECT_TRUE(facts.languageCode == "NLD" || facts.languageCode == "ENU");
    EXPECT_TRUE(facts.programFolder.endsWith(u'/'));
    EXPECT_TRUE(facts.downloadsFolder.endsWith(u'/'));
    EXPECT_TRUE(facts.isNTFamily);
}

} // namespace
