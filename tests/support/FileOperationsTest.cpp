#include "ObeyFilePermissions.h"
#include "TestEnv.h"
#include "cover/SampleProject.h"
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

// A data folder below a regular file cannot be made: the copy says so with false, and the sample
// project, its caller, names the folder and why, so that the user knows which data folder to fix.
TEST(CopyFileKeepDate, AFolderThatCannotBeMadeIsFalseAndTheSampleCopyNamesIt) {
    const QString base = testenv::freshFolder();
    const QString source = testenv::writeFile(base + QStringLiteral("/Front.jpg"), "picture");
    const QString blocker = testenv::writeFile(base + QStringLiteral("/a-file"), "x");
    const QString folder = blocker + QStringLiteral("/Sleevix/Project");
    const QString target = folder + QStringLiteral("/Front.jpg");
    EXPECT_FALSE(copyFileKeepDate(source, target, true, NoDaylight));
    EXPECT_EQ(testenv::errorOf([&] { copySampleFiles({base + u'/'}, folder + u'/', NoDaylight); }),
              QStringLiteral("Unable to create directory ") + QDir::toNativeSeparators(folder) +
                  QStringLiteral("\nA part of the path is not a folder."));
}

// Overwriting used to delete the destination first: a copy that failed then lost the old file,
// and a file copied onto itself was gone.
TEST(CopyFileKeepDate, NeverLosesTheDestination) {
    const QString base = testenv::freshFolder(QStringLiteral("copy-safe"));
    const QString file = testenv::writeFile(base + QStringLiteral("/Back.rtf"), "my list");
    EXPECT_FALSE(copyFileKeepDate(file, file, false, NoDaylight)) << "onto itself";
    EXPECT_FALSE(copyFileKeepDate(base + QStringLiteral("/./Back.rtf"), file, false, NoDaylight));
    QFile same(file);
    ASSERT_TRUE(same.open(QIODevice::ReadOnly));
    EXPECT_EQ(same.readAll(), "my list");
    same.close();

    // A source that cannot be read: the copy fails and the old destination stays whole.
    const QString unreadable = base + QStringLiteral("/a-folder-not-a-file");
    QDir().mkpath(unreadable);
    EXPECT_FALSE(copyFileKeepDate(unreadable, file, false, NoDaylight));
    ASSERT_TRUE(same.open(QIODevice::ReadOnly));
    EXPECT_EQ(same.readAll(), "my list");
    same.close();
    EXPECT_EQ(QDir(base).entryList(QDir::Files), QStringList{"Back.rtf"})
        << "no temporary file is left beside it";

    // A good copy replaces it, with nothing left beside it.
    const QString other = testenv::writeFile(base + QStringLiteral("/new/Back.rtf"), "new list");
    EXPECT_TRUE(copyFileKeepDate(other, file, false, NoDaylight));
    ASSERT_TRUE(same.open(QIODevice::ReadOnly));
    EXPECT_EQ(same.readAll(), "new list");
    EXPECT_EQ(QDir(base).entryList(QDir::Files), QStringList{"Back.rtf"});
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

// A data folder that is there but cannot be entered is told at once (and the current folder is
// back where it was); one that cannot be made is not, its files fail on their own.
TEST(UserDataFolder, AFolderThatCannotBeEnteredIsAnError) {
    KeepCurrentDirectory keep;
    const QString before = QDir::currentPath();
    const QString data = testenv::freshFolder(QStringLiteral("xdg-data"));
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.toUtf8());
    QDir().mkpath(data + QStringLiteral("/Sleevix"));
    QFile::setPermissions(data + QStringLiteral("/Sleevix"), QFile::ReadOwner | QFile::ReadGroup);
    QString message;
    {
        ObeyFilePermissions asAUser; // root would enter any folder
        message = testenv::errorOf([] { getUserDataFolder(QStringLiteral("Sleevix"), true); });
    }
    QFile::setPermissions(data + QStringLiteral("/Sleevix"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(message, QStringLiteral("I/O error: cannot enter %1/Sleevix/").arg(data));
    EXPECT_EQ(QDir::currentPath(), before);

    testenv::writeFile(data + QStringLiteral("/Blocked"), "a file, not a folder");
    EXPECT_EQ(getUserDataFolder(QStringLiteral("Blocked"), true),
              data + QStringLiteral("/Blocked/"))
        << "a folder that cannot be made is not reported here";
    EXPECT_EQ(QDir::currentPath(), before);
    qputenv("XDG_DATA_HOME", savedData);
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
