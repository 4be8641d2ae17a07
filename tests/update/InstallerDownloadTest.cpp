#include "update/InstallerDownload.h"

#include "FileSizeLimit.h"
#include "TestEnv.h"
#include "UpdateFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray installerBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 13 + i / 509) & 0xff);
    return bytes;
}

struct Folders {
    QString program = testenv::freshFolder(QStringLiteral("program")) + QLatin1Char('/');
    QString downloads = testenv::freshFolder(QStringLiteral("downloads")) + QLatin1Char('/');

    InstallerRequest request(const QString& name = QStringLiteral("sleevix111.exe"),
                             const QString& sha256 = QString()) const {
        return {name, sha256, program, downloads, QStringLiteral("Sleevix1.10.exe")};
    }
};

InstallerOutcome fetch(const UpdateFixture& fixture, const InstallerRequest& request,
                       QList<qint64>* positions = nullptr) {
    return downloadInstaller(fixture.updateServer(), request, [&](qint64 position) {
        if (positions)
            positions->append(position);
        return true;
    });
}

TEST(InstallerDownload, LandsInDownloadsAfterTheOldInstallersAreRemoved) {
    UpdateFixture fixture;
    Folders folders;
    const QByteArray installer = installerBytes(3000);
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), {200, installer});
    for (const QString& old :
         {folders.program + "Sleevix1.10.exe", folders.program + "sleevix111.exe",
          folders.downloads + "Sleevix1.10.exe", folders.downloads + "sleevix111.exe"})
        testenv::writeFile(old, "old");

    QList<qint64> positions;
    const InstallerOutcome outcome = fetch(fixture, folders.request(), &positions);
    EXPECT_EQ(outcome.status, InstallerOutcome::Status::Done) << qPrintable(outcome.reason);
    EXPECT_EQ(outcome.file, folders.downloads + "sleevix111.exe");
    // 2048 bytes count 2 kilobytes, the last 952 none.
    EXPECT_EQ(outcome.kilobytes, 2u);
    EXPECT_EQ(positions, QList<qint64>({3, 3}));
    QFile file(outcome.file);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), installer);
    EXPECT_TRUE(QFileInfo(outcome.file).isExecutable());
    EXPECT_FALSE(QFile::exists(folders.program + "Sleevix1.10.exe"));
    EXPECT_FALSE(QFile::exists(folders.program + "sleevix111.exe"));
    EXPECT_FALSE(QFile::exists(folders.downloads + "Sleevix1.10.exe"));
}

// Every file below the folder, with its contents.
QMap<QString, QByteArray> filesBelow(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : "?";
    }
    return files;
}

TEST(InstallerDownload, ANameThatIsNotOnePlainFileNameTouchesNothingAndFetchesNothing) {
    const QString sandbox = testenv::freshFolder(QStringLiteral("sandbox"));
    Folders folders;
    folders.program = sandbox + QStringLiteral("/program/");
    folders.downloads = sandbox + QStringLiteral("/downloads/");
    // The sub-folders that let "2024/../../victim.txt" reach the sandbox from either folder.
    for (const QString& sub : {folders.program + "2024", folders.downloads + "2024",
                               folders.downloads + "sub"})
        QDir().mkpath(sub);
    testenv::writeFile(sandbox + QStringLiteral("/victim.txt"), "victim");
    testenv::writeFile(folders.program + QStringLiteral("Sleevix"), "the program");
    const QByteArray installer = installerBytes(3000);

    for (const NameCase& c : DownloadNameCases) {
        UpdateFixture fixture;
        const QString name = QString::fromLatin1(c.name);
        fixture.server.answer(QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(name)),
                              {200, installer});
        const QMap<QString, QByteArray> before = filesBelow(sandbox);
        InstallerOutcome outcome;
        const QString error = testenv::errorOf([&] { outcome = fetch(fixture, folders.request(name)); });
        QMap<QString, QByteArray> after = filesBelow(sandbox);
        if (c.plain) {
            EXPECT_EQ(outcome.status, InstallerOutcome::Status::Done)
                << c.name.toStdString() << ": " << outcome.reason.toStdString();
            EXPECT_EQ(after.take(folders.downloads + name), installer) << c.name.toStdString();
            EXPECT_EQ(after, before) << c.name.toStdString();
            QFile::remove(folders.downloads + name);
        } else {
            EXPECT_EQ(error, notAPlainFileNameText()) << c.name.toStdString();
            EXPECT_EQ(after, before) << c.name.toStdString();
            EXPECT_EQ(fixture.server.requestedPaths(), QStringList()) << c.name.toStdString();
        }
    }
}

TEST(InstallerDownload, WhatIsNotTheWholeInstallerIsDeletedAndNeverDone) {
    UpdateFixture fixture;
    Folders folders;
    HttpsTestServer::Answer cut{200, installerBytes(300 * 1024)};
    cut.cutAfter = 150 * 1024;
    fixture.server.answer(QStringLiteral("/cut.exe"), cut);
    fixture.server.answer(QStringLiteral("/small.exe"), {200, installerBytes(1500)});

    struct Case {
        const char* name;
        const char* why;
    };
    for (const Case& c : {Case{"absent.exe", "a 404 page"}, Case{"cut.exe", "cut off half-way"},
                          Case{"small.exe", "one counted kilobyte"}}) {
        const InstallerOutcome outcome =
            fetch(fixture, folders.request(QString::fromLatin1(c.name)));
        EXPECT_EQ(outcome.status, InstallerOutcome::Status::Failed) << c.why;
        EXPECT_FALSE(QFile::exists(outcome.file)) << c.why;
    }
}

TEST(InstallerDownload, AChecksumInTheListMustMatch) {
    UpdateFixture fixture;
    Folders folders;
    const QByteArray installer = installerBytes(64 * 1024);
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), {200, installer});
    const QString right = QString::fromLatin1(
        QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(fetch(fixture, folders.request("sleevix111.exe", right)).status,
              InstallerOutcome::Status::Done);

    QString wrong = right;
    wrong[0] = wrong[0] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    const InstallerOutcome damaged = fetch(fixture, folders.request("sleevix111.exe", wrong));
    EXPECT_EQ(damaged.status, InstallerOutcome::Status::Damaged);
    EXPECT_FALSE(QFile::exists(damaged.file));
}

TEST(InstallerDownload, AFileThatCannotBeMadeIsTheErrorBox) {
    UpdateFixture fixture;
    Folders folders;
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), {200, installerBytes(4096)});
    // A "Downloads folder" below a plain file can be neither made nor written, even by root.
    const QString blocker = testenv::writeFile(folders.program + "blocker", "x");
    InstallerRequest request = folders.request();
    request.downloadsFolder = blocker + QStringLiteral("/Downloads/");
    EXPECT_EQ(testenv::errorOf([&] { fetch(fixture, request); }),
              QStringLiteral("Cannot create file %1sleevix111.exe").arg(request.downloadsFolder));
    EXPECT_EQ(fixture.server.requestCount(QStringLiteral("/sleevix111.exe")), 0);

    // A Downloads folder that does not exist yet is made.
    request.downloadsFolder = folders.program + QStringLiteral("new/Downloads/");
    EXPECT_EQ(fetch(fixture, request).status, InstallerOutcome::Status::Done);
}

TEST(InstallerDownload, AWriteThatFailsRemovesTheFile) {
    UpdateFixture fixture;
    Folders folders;
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), {200, installerBytes(256 * 1024)});
    QString error;
    {
        FileSizeLimit diskFull(64 * 1024);
        error = testenv::errorOf([&] { fetch(fixture, folders.request()); });
    }
    EXPECT_EQ(error, QStringLiteral("Cannot write file %1sleevix111.exe").arg(folders.downloads));
    EXPECT_FALSE(QFile::exists(folders.downloads + "sleevix111.exe"));
}

} // namespace
