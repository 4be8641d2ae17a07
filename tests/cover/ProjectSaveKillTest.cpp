// A save killed at any moment leaves the project folder with the three files of one save and
// nothing else, and the next save (or read) leaves nothing of the killed one behind. Through a
// real process that saves in a loop (tests/common/ProjectSaveLoop.cpp), killed with SIGKILL.
#include "TestEnv.h"
#include "cover/ProjectFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Helper = QStringLiteral(SLEEVIX_BINARY_DIR "/tests/project_save_loop");

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The save number each file carries, -1 when it has none.
struct Marks {
    qint64 list = -1, front = -1, back = -1;
};

qint64 numberAfter(const QByteArray& bytes, const QByteArray& prefix) {
    const qsizetype at = bytes.indexOf(prefix);
    if (at < 0)
        return -1;
    qsizetype end = at + prefix.size();
    while (end < bytes.size() && std::isdigit(uchar(bytes[end])))
        ++end;
    return bytes.mid(at + prefix.size(), end - at - prefix.size()).toLongLong();
}

Marks marksIn(const QString& folder) {
    Marks m;
    m.list = numberAfter(contents(folder + "/Back.rtf"), "save ");
    m.front = numberAfter(contents(folder + "/Front.jpg"), "save ");
    const QByteArray bmp = contents(folder + "/Back.bmp");
    if (bmp.size() > 57 && bmp.startsWith("BM")) // the first pixel: blue, green, red
        m.back = uchar(bmp[54]) << 16 | uchar(bmp[55]) << 8 | uchar(bmp[56]);
    return m;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

TEST(ProjectSaveKill, EveryKillLeavesOneSavesFilesAndTheNextSaveCleansUp) {
    ASSERT_TRUE(QFile::exists(Helper));
    const QString data = testenv::freshFolder(QStringLiteral("kill"));
    const QString project = data + QStringLiteral("/Kill Loop");
    const QStringList whole{"Back.bmp", "Back.rtf", "Front.jpg"};
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);

    qint64 next = 1;
    int leftBehind = 0; // kills that hit a save half-way, seen by what they left
    for (int kill = 0; kill < 200; ++kill) {
        QProcess saver;
        saver.start(Helper, {project, QString::number(next)});
        ASSERT_TRUE(saver.waitForStarted(10000)) << "kill " << kill;
        // Once the first save is done the loop runs; kill it somewhere in the saves after.
        if (!saver.waitForReadyRead(20000)) {
            saver.kill();
            saver.waitForFinished(10000);
            FAIL() << "no save within 20 s: " << saver.readAllStandardError().toStdString();
        }
        QThread::usleep(random.bounded(15000));
        saver.kill(); // SIGKILL
        ASSERT_TRUE(saver.waitForFinished(10000)) << "kill " << kill;
        const QList<QByteArray> lines = saver.readAllStandardOutput().trimmed().split('\n');
        const qint64 lastTold = lines.last().toLongLong();

        ASSERT_EQ(entries(project), whole) << "kill " << kill;
        const Marks m = marksIn(project);
        ASSERT_EQ(m.list, m.front) << "kill " << kill;
        ASSERT_EQ(m.list, m.back) << "kill " << kill;
        // The save told last, or the one after it when it was done but not yet told.
        ASSERT_TRUE(m.list == lastTold || m.list == lastTold + 1)
            << "kill " << kill << ": files of save " << m.list << ", told " << lastTold;
        if (entries(data).size() > 1)
            ++leftBehind;
        next = lastTold + 2;
    }
    EXPECT_GT(leftBehind, 0) << "no kill hit a save half-way";

    Project::finishUnfinishedSaves(data);
    EXPECT_EQ(entries(data), QStringList{"Kill Loop"});
    EXPECT_EQ(entries(project), whole);
}

// A project folder the user may write in, inside a data folder they may not (shared read-only):
// the save replaces the files in the folder itself, keeps the user's other files there and puts
// nothing beside the project. As root the save runs as "nobody", who owns only the project.
TEST(ProjectSaveKill, ProjectInAReadOnlyDataFolderIsSavedInPlace) {
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    ::chmod(QFile::encodeName(top.path()).constData(), 0755);
    const QString data = top.path() + QStringLiteral("/data");
    const QString project = data + QStringLiteral("/Shared");
    QDir().mkpath(project);
    testenv::writeFile(project + QStringLiteral("/Back.rtf"), "{\\rtf1 old}");
    testenv::writeFile(project + QStringLiteral("/Notes.txt"), "mine");
    QString program = Helper;
    QStringList arguments{project, QStringLiteral("7"), QStringLiteral("once")};
    if (geteuid() == 0) {
        QProcess::execute(QStringLiteral("chown"),
                          {QStringLiteral("-R"), QStringLiteral("nobody:nogroup"), project});
        arguments.prepend(program);
        arguments = QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                                QStringLiteral("--clear-groups"), QStringLiteral("--inh-caps=-all")} +
                    arguments;
        program = QStringLiteral("setpriv");
    } else {
        ::chmod(QFile::encodeName(data).constData(), 0555);
    }
    QProcess saver;
    saver.start(program, arguments);
    const bool ended = saver.waitForFinished(30000);
    ::chmod(QFile::encodeName(data).constData(), 0755);
    ASSERT_TRUE(ended);
    EXPECT_EQ(saver.exitCode(), 0) << saver.readAllStandardError().toStdString();
    const Marks m = marksIn(project);
    EXPECT_EQ(m.list, 7);
    EXPECT_EQ(m.front, 7);
    EXPECT_EQ(m.back, 7);
    EXPECT_EQ(entries(project), (QStringList{"Back.bmp", "Back.rtf", "Front.jpg", "Notes.txt"}));
    EXPECT_EQ(entries(data), QStringList{"Shared"});
}

} // namespace
