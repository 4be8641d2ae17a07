#include "platform/Processes.h"

#include "TestEnv.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A program that just waits, copied to a path of the test's choosing.
QString companionAt(const QString& folder, const QString& name = QStringLiteral("Sleevix_Sched")) {
    const QString path = folder + QLatin1Char('/') + name;
    QFile::remove(path);
    if (!QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), path))
        qFatal("cannot copy sleep");
    return path;
}

std::unique_ptr<QProcess> run(const QString& program) {
    auto process = std::make_unique<QProcess>();
    process->start(program, {QStringLiteral("120")});
    if (!process->waitForStarted())
        qFatal("cannot start %s", qPrintable(program));
    return process;
}

bool ended(QProcess& process) {
    return process.state() == QProcess::NotRunning || process.waitForFinished(3000);
}

TEST(Processes, EveryCopyOfTheProgramEndsAndACopyFromAnotherFolderStays) {
    const QString program = companionAt(testenv::freshFolder(QStringLiteral("prog")));
    const QString elsewhere = companionAt(testenv::freshFolder(QStringLiteral("other")));
    auto first = run(program);
    auto second = run(program);
    auto other = run(elsewhere);

    const QList<qint64> found = Processes::findByExecutable(program);
    EXPECT_EQ(found, QList<qint64>({std::min(first->processId(), second->processId()),
                                    std::max(first->processId(), second->processId())}));
    // The file system tells case apart: another case is another program.
    EXPECT_TRUE(Processes::findByExecutable(program.toUpper()).isEmpty());
    EXPECT_TRUE(Processes::findByExecutable(QStringLiteral("Sleevix_Sched")).isEmpty())
        << "a bare file name is not the full path";

    int passes = 0;
    EXPECT_EQ(Processes::terminateProgram(program, [&] { ++passes; }), 2);
    EXPECT_EQ(passes, 2) << "one copy per pass";
    EXPECT_TRUE(ended(*first));
    EXPECT_TRUE(ended(*second));
    EXPECT_EQ(other->state(), QProcess::Running);
    EXPECT_EQ(Processes::terminateProgram(program), 0) << "none left: returns at once";
    other->kill();
    other->waitForFinished();
}

TEST(Processes, ACopyWhoseFileWasReplacedStillCounts) {
    const QString folder = testenv::freshFolder(QStringLiteral("replaced"));
    const QString program = companionAt(folder);
    auto old = run(program);
    // An installer puts the new file in place of the old one while the old copy runs.
    const QString fresh = companionAt(folder, QStringLiteral("new"));
    ASSERT_TRUE(QFile::remove(program));
    ASSERT_TRUE(QFile::rename(fresh, program));

    EXPECT_EQ(Processes::findByExecutable(program), QList<qint64>{old->processId()});
    EXPECT_EQ(Processes::terminateProgram(program), 1);
    EXPECT_TRUE(ended(*old));
}

TEST(Processes, AProgramReachedThroughALinkIsFoundByItsRealPath) {
    const QString folder = testenv::freshFolder(QStringLiteral("linked"));
    const QString program = companionAt(folder);
    const QString link = folder + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(folder, link));
    auto copy = run(program);
    EXPECT_EQ(Processes::terminateProgram(link + QStringLiteral("/Sleevix_Sched")), 1);
    EXPECT_TRUE(ended(*copy));
}

} // namespace
