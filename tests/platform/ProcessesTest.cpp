#include "platform/Processes.h"

#include "TestEnv.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QThread>
#include <cstdio>
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

// A copy that cannot be ended (one of another user's, say) is tried once and left alone: the
// others still end and the call returns.
TEST(Processes, ACopyThatCannotBeEndedIsTriedOnce) {
    const QString program = companionAt(testenv::freshFolder(QStringLiteral("stubborn")));
    auto stubborn = run(program);
    auto other = run(program);
    const qint64 stubbornId = stubborn->processId(), otherId = other->processId();
    QHash<qint64, int> tries;
    const int count = Processes::terminateProgram(program, {}, [&](qint64 pid) {
        // The stubborn copy refuses four times, so that even a loop that tries it again ends.
        if (++tries[pid] < 5 && pid == stubbornId)
            return false;
        QProcess* copy = pid == stubbornId ? stubborn.get() : other.get();
        copy->kill();
        return copy->waitForFinished(3000);
    });
    EXPECT_EQ(count, 1);
    EXPECT_EQ(tries.value(stubbornId), 1);
    EXPECT_EQ(tries.value(otherId), 1);
    EXPECT_TRUE(ended(*other));
    EXPECT_EQ(stubborn->state(), QProcess::Running);
    stubborn->kill();
    stubborn->waitForFinished();
}

const char* ChildRole = "SLEEVIX_PROCESSES_CHILD_ROLE";

// Runs only as a child of EndingItsOwnProgramLeavesTheCallerRunning: "wait" waits to be ended,
// "end" ends every running copy of its own program and says how many it ended.
TEST(ProcessesChild, Role) {
    const QString role = qEnvironmentVariable(ChildRole);
    if (role.isEmpty())
        GTEST_SKIP() << "runs only as the child of Processes.EndingItsOwnProgramLeavesTheCallerRunning";
    if (role == QLatin1String("wait")) {
        QThread::sleep(60);
        return;
    }
    std::printf("ended %d\n",
                Processes::terminateProgram(QCoreApplication::applicationFilePath()));
    std::fflush(stdout);
}

// The program that ends the running copies of a program never ends itself, even when it is one
// of them.
TEST(Processes, EndingItsOwnProgramLeavesTheCallerRunning) {
    // A copy of this test program in a folder of its own, so that no other test run counts.
    const QString copy = testenv::freshFolder(QStringLiteral("self")) + QStringLiteral("/tests");
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    const auto child = [&](const char* role) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(ChildRole), QString::fromLatin1(role));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(copy, {QStringLiteral("--gtest_filter=ProcessesChild.Role")});
        return process;
    };
    auto waiting = child("wait");
    ASSERT_TRUE(waiting->waitForStarted());
    auto ending = child("end");
    ASSERT_TRUE(ending->waitForFinished(60000));
    const QByteArray output = ending->readAll();
    EXPECT_EQ(ending->exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(ending->exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("ended 1\n")) << output.toStdString();
    EXPECT_TRUE(ended(*waiting));
    waiting->kill();
    waiting->waitForFinished();
}

} // namespace
