// The settings file as other programs and other runs leave it: written by QSettings or by hand
// (a byte-order mark, Latin-1), cut off by a full disk at the sync, or by a kill halfway.
#include "StoreFixture.h"

#include "platform/AppError.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {

// The store file's folder, all of it.
QStringList folderEntries(const QString& file) {
    return QDir(QFileInfo(file).absolutePath())
        .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

TEST_F(StoreTest, ASaveWhoseSyncToTheDiskFailsIsToldAndLeavesTheFileAsItWas) {
    const QByteArray before = "[Defaults]\nLeft=5\n";
    writeStore(before);
    RegistryStore store(storeFile(), [](int) {
        errno = ENOSPC;
        return -1;
    });
    store.writeInteger(SettingsSection, QStringLiteral("Left"), 9);
    EXPECT_EQ(testenv::errorOf([&] { store.flush(); }),
              QStringLiteral("Failed to set data for 'Left'\nThe disk is full."));
    EXPECT_EQ(storeBytes(), before);
    EXPECT_EQ(folderEntries(storeFile()), QStringList{QStringLiteral("Sleevix.ini")});
    EXPECT_EQ(readInteger(QStringLiteral("Left"), 200), 5);
}

// Files from editors and older tools: what they hold is read as the user wrote it.
TEST_F(StoreTest, ByteOrderMarkAndLatin1FilesReadAsWrittenAndStayThatWayWhenRewritten) {
    const struct {
        const char* what;
        QByteArray bytes;
    } rows[] = {
        {"UTF-8 with a byte-order mark, Windows line ends",
         "\xEF\xBB\xBF[Defaults]\r\nProject%20Name=Caf\xC3\xA9 Cr\xC3\xA8me\r\nLeft=12\r\n"},
        {"Latin-1", "[Defaults]\nProject%20Name=Caf\xE9 Cr\xE8me\nLeft=12\n"},
        {"Latin-1 with a byte-order mark", "\xEF\xBB\xBF[Defaults]\nLeft=12\n"
                                           "Project%20Name=Caf\xE9 Cr\xE8me\n"},
    };
    const QString name = QStringLiteral("Café Crème");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        writeStore(row.bytes);
        {
            RegistryStore store;
            EXPECT_FALSE(store.damaged());
            EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), 12);
        }
        loadSettingsValues(ws_);
        EXPECT_EQ(ws_.projectName, name);
        EXPECT_EQ(ws_.projectFolder, ws_.dataFolder + name + PathDelim);
        saveSettingsValues(ws_, false);
        restartProgram();
        EXPECT_EQ(readText(QStringLiteral("Project Name")), name);
        const QSettings qt(storeFile(), QSettings::IniFormat);
        EXPECT_EQ(qt.value(QStringLiteral("Defaults/Project Name")).toString(), name);
        useConfigIn(folder_);
    }
}

// The file's dialect is QSettings': lines of every odd kind read the same here and there.
TEST_F(StoreTest, RandomLinesReadAsQSettingsReadsThem) {
    const char* pieces[] = {"a",  " ",  "\"", "\\", ",",   ";",  "=",  "@",        "x",
                            "0",  "7",  "F",  "\t", "(",   ")",  "\\x", "\\0",     "\\n",
                            "%20", "\\q", "@@", "\xC3\xA9",   "@ByteArray(", "@String(", "1 2"};
    QRandomGenerator random(20261208);
    for (int round = 0; round < 40; ++round) {
        QByteArray file = "[Defaults]\n";
        for (int line = 0; line < 30; ++line) {
            QByteArray value;
            for (int n = random.bounded(0, 8); n > 0; --n)
                value += pieces[random.bounded(int(std::size(pieces)))];
            if (value.endsWith('\\'))
                value += 'a';
            file += "Key" + QByteArray::number(line) + '=' + value + '\n';
        }
        useConfigIn(testenv::freshFolder(QStringLiteral("lines")));
        writeStore(file);
        const QSettings qt(storeFile(), QSettings::IniFormat);
        RegistryStore store;
        for (const QString& key : qt.allKeys()) {
            const QVariant theirs = qt.value(key);
            const QString name = key.section(u'/', 1);
            const QString mine = testenv::errorOf([&] {
                throw AppError(store.readString(SettingsSection, name, QStringLiteral("-")));
            });
            if (theirs.typeId() == QMetaType::QString)
                ASSERT_EQ(mine, theirs.toString()) << file.constData();
            else
                ASSERT_EQ(mine, QStringLiteral("Invalid data type for '%1'").arg(name))
                    << file.constData();
        }
    }
}

// Kills at any moment of a save leave the old or the new file, whole; what a killed run left
// beside it (here and from older versions) goes at the next start.
TEST_F(StoreTest, KilledSavesLeaveAWholeFileAndNothingTheNextStartDoesNotRemove) {
    const QString childFile = qEnvironmentVariable("SLEEVIX_TEST_STORE_WRITER");
    if (!childFile.isEmpty()) {
        // The child: saves as fast as it can until it is killed.
        for (int i = 0;; ++i) {
            RegistryStore store(childFile);
            store.writeInteger(SettingsSection, QStringLiteral("Left"), i);
            store.writeString(SettingsSection, QStringLiteral("Path for Data"),
                              QString(20000 + i % 7, u'p'));
            store.flush();
            if (i == 0) {
                std::puts("saving");
                std::fflush(stdout);
            }
        }
    }
    writeStore("[Defaults]\nLeft=-1\n");
    QRandomGenerator random(7);
    for (int kill = 0; kill < 60; ++kill) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SLEEVIX_TEST_STORE_WRITER"), storeFile());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=StoreTest."
                                    "KilledSavesLeaveAWholeFileAndNothingTheNextStartDoesNotRemove")});
        ASSERT_TRUE(child.waitForStarted());
        QByteArray said;
        while (!said.contains("saving") && child.waitForReadyRead(30000))
            said += child.readAllStandardOutput();
        ASSERT_TRUE(said.contains("saving")) << "the child never saved";
        QThread::usleep(random.bounded(20000));
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));
        RegistryStore store;
        ASSERT_FALSE(store.damaged());
        ASSERT_NE(store.readInteger(SettingsSection, QStringLiteral("Left"), -2), -2) << kill;
    }
    // Leftovers of older versions: a lock, a new file, read copies, QSettings' own new file.
    const QString folder = QFileInfo(storeFile()).absolutePath() + u'/';
    for (const char* name : {"Sleevix.ini.lock", ".Sleevix.ini.0b1c2d3e-aaaa", ".sleevix-read-1f2e",
                             ".probe-Ab12Cd", "Sleevix.ini.xY12zQ"})
        testenv::writeFile(folder + QLatin1String(name), "left");
    testenv::writeFile(folder + QStringLiteral("Sleevix.ini.damaged"), "kept on purpose");
    testenv::writeFile(folder + QStringLiteral("notes.txt"), "the user's");
    RegistryStore::removeLeftovers(storeFile());
    EXPECT_EQ(folderEntries(storeFile()),
              (QStringList{"Sleevix.ini", "Sleevix.ini.damaged", "notes.txt"}));
}

} // namespace
