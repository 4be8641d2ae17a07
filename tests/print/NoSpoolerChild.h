// Runs one test of this executable again in a child process that sees no print spooler (CUPS
// pointed at a socket that does not exist), so the test holds whether or not cupsd runs here.
// The child knows it is the child by the environment variable, set to 1.
#pragma once

#include "TestEnv.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

namespace fixture {

inline void runWithoutSpooler(const char* childVariable, const QString& testName) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(childVariable), QStringLiteral("1"));
    env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent/cups.sock"));
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(testenv::freshFolder(QStringLiteral("nospooler")));
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + testName});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[       OK ] ") + testName)) << output.toStdString();
}

} // namespace fixture
