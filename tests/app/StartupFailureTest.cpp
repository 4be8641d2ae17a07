// The program started as a process on folders and files it cannot use: it shows why (its error
// boxes also go to standard error) and goes on or ends cleanly, never aborts.
#include "common/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Outcome {
    bool ended = false; // within its time limit, by itself
    int status = -1;
    QString err;
};

// A user below a folder of its own; as root the program runs as "nobody", for whom
// permissions count.
class StartupFailure : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path();
        for (const char* sub : {"/start", "/config/Sleevix", "/data", "/runtime"})
            QDir().mkpath(root_ + QLatin1String(sub));
        if (geteuid() == 0) {
            QProcess::execute(QStringLiteral("chown"),
                              {QStringLiteral("-R"), QStringLiteral("nobody:nogroup"), root_});
            ::chmod(QFile::encodeName(root_).constData(), 0755);
        }
        ::chmod(QFile::encodeName(root_ + QStringLiteral("/runtime")).constData(), 0700);
    }

    QString settingsFile() const { return root_ + QStringLiteral("/config/Sleevix/Sleevix.ini"); }
    QString dataFolder() const { return root_ + QStringLiteral("/data/Sleevix"); }

    Outcome start(const QString& language = QStringLiteral("en_US.UTF-8")) {
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        env.insert(QStringLiteral("HOME"), root_);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root_ + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), root_ + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root_ + QStringLiteral("/runtime"));
        env.insert(QStringLiteral("LANG"), language);
        env.insert(QStringLiteral("LC_ALL"), language);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   QStringLiteral("unix:path=/nonexistent"));
        env.insert(QStringLiteral("SLEEVIX_QUIT_AFTER_FIRST_SHOW"), QStringLiteral("1"));
        QString program = QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix");
        QStringList arguments;
        if (geteuid() == 0) {
            arguments = {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                         QStringLiteral("--clear-groups"), QStringLiteral("--inh-caps=-all"),
                         program};
            program = QStringLiteral("setpriv");
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(root_ + QStringLiteral("/start"));
        process.start(program, arguments);
        Outcome run;
        run.ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
        if (!run.ended) {
            process.kill();
            process.waitForFinished(5000);
        }
        run.status = process.exitCode();
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/sleevix-startup-XXXXXX")};
    QString root_;
};

TEST_F(StartupFailure, UnusableFilesAreToldOnceAndTheProgramGoesOn) {
    const struct {
        const char* what;
        bool dataFolderLocked;   // the data folder there but closed to the user
        bool settingsUnreadable; // the settings file there but closed to the user
        const char* language;
        QStringList told; // in the error box, in this order
    } rows[] = {
        {"data folder", true, false, "en_US.UTF-8",
         {QStringLiteral("I/O error: cannot enter %1/"),
          QStringLiteral("You have no permission for this file or folder.")}},
        {"settings file", false, true, "en_US.UTF-8",
         {QStringLiteral("The settings file %2 cannot be read"),
          QStringLiteral("You have no permission for this file or folder.")}},
        {"settings file, Dutch", false, true, "nl_NL.UTF-8",
         {QStringLiteral("Het instellingenbestand %2 kan niet worden gelezen"),
          QStringLiteral("U hebt geen toestemming voor dit bestand of deze map.")}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        const QByteArray settings = "[Defaults]\nLeft=10\n";
        testenv::writeFile(settingsFile(), settings);
        QDir().mkpath(dataFolder());
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chown"), {QStringLiteral("-R"),
                                                        QStringLiteral("nobody:nogroup"), root_});
        if (row.dataFolderLocked)
            ::chmod(QFile::encodeName(dataFolder()).constData(), 0);
        if (row.settingsUnreadable)
            ::chmod(QFile::encodeName(settingsFile()).constData(), 0200);

        const Outcome run = start(QString::fromLatin1(row.language));
        ::chmod(QFile::encodeName(dataFolder()).constData(), 0755);
        ::chmod(QFile::encodeName(settingsFile()).constData(), 0644);

        EXPECT_TRUE(run.ended) << qPrintable(run.err);
        EXPECT_EQ(run.status, 0) << qPrintable(run.err);
        EXPECT_FALSE(run.err.contains(QLatin1String("terminate called"))) << qPrintable(run.err);
        qsizetype at = 0;
        for (const QString& part : row.told) {
            const QString text = QString(part)
                                     .replace(QLatin1String("%1"), dataFolder())
                                     .replace(QLatin1String("%2"), settingsFile());
            const qsizetype found = run.err.indexOf(text, at);
            EXPECT_GE(found, 0) << qPrintable(text) << "\nin:\n" << qPrintable(run.err);
            at = std::max(found, at);
        }
        // Said once; nothing is written over the unreadable file, so nothing else fails.
        EXPECT_EQ(run.err.count(QLatin1String("Sleevix: ")), 1) << qPrintable(run.err);
        if (row.settingsUnreadable) {
            QFile file(settingsFile());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), settings);
        }
        dir_.remove();
    }
}

} // namespace
