#include "update/UpdateDialog.h"
#include "controls/ColourButton.h"
#include "controls/Gauge.h"
#include "dialogs/DialogTestUtil.h"
#include "dialogs/ErrorGuard.h"
#include "platform/Processes.h"

#include "TestEnv.h"
#include "UpdateFixture.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QByteArray Advised = versionList("Sleevix,sleevix111.exe,d,2350,-");

// What the window showed while it was open.
struct Seen {
    bool shown = false;
    QStringList lines;
    QString title;
    QString downloadCaption, exitCaption;
    bool downloadVisible = false, exitVisible = false;
    QRect frame;
};

class UpdateWindow : public ::testing::Test {
protected:
    void SetUp() override {
        main.setGeometry(100, 80, 866, 700);
        ErrorGuard::setReporter(qApp, [this](const QString& text) { errors.append(text); });
        dialog = makeDialog([](const QString&, quint16) { return std::optional<int>(4); });
    }
    void TearDown() override { ErrorGuard::setReporter(qApp, nullptr); }

    std::unique_ptr<UpdateDialog> makeDialog(UpdateChecker::Pinger pinger) {
        return std::make_unique<UpdateDialog>(UpdateSetup{fixture.updateServer(),
                                                          QStringLiteral("version 1.10c"), program,
                                                          downloads, std::move(pinger)},
                                              UpdateActions{}, &main);
    }

    // Runs a check; while its window is open, `whileOpen` may act, then the window closes.
    Seen run(
        const std::function<void()>& check, const std::function<void()>& whileOpen = [] {}) {
        Seen seen;
        auto* poll = new QTimer(dialog.get());
        QObject::connect(poll, &QTimer::timeout, dialog.get(), [&, poll] {
            if (!dialog->isVisible())
                return;
            poll->stop();
            seen.shown = true;
            seen.title = dialog->windowTitle();
            seen.frame = dialog->frameGeometry();
            whileOpen();
            seen.lines = dialog->messageText->toPlainText().split(QLatin1Char('\n'));
            seen.downloadCaption = dialog->downloadButton->text();
            seen.exitCaption = dialog->exitButton->text();
            seen.downloadVisible = dialog->downloadButton->isVisible();
            seen.exitVisible = dialog->exitButton->isVisible();
            dialog->done(2);
        });
        poll->start(5);
        check();
        delete poll;
        return seen;
    }

    Seen checkNow() {
        return run([this] { dialog->checkNow(QRect(300, 200, 639, 286)); });
    }

    UpdateFixture fixture;
    QWidget main;
    QString program = testenv::freshFolder(QStringLiteral("program")) + QLatin1Char('/');
    QString downloads = testenv::freshFolder(QStringLiteral("downloads")) + QLatin1Char('/');
    std::unique_ptr<UpdateDialog> dialog;
    QStringList errors;
};

TEST_F(UpdateWindow, CheckNowShowsEveryOutcome) {
    struct Case {
        QByteArray list;
        QStringList lines;
    };
    const Case cases[] = {
        {versionList("Sleevix,sleevix110.exe,c,2350,-"),
         {"", "No Update is needed,", "you are using the latest version.",
          "Your current version is version 1.10c."}},
        {QByteArray(), {"", "No reaction from Server"}},
        {QByteArray(49, 'x'), {"", "File not downloaded correctly"}},
        {versionList("Unrelated,unrelated1.exe,,1,-"), {"", "Program Name not found"}},
        {Advised,
         {"", "Update is advised", "", "Your current version is version 1.10c",
          "The latest version is 1.11d", "The Download Name is sleevix111.exe"}},
    };
    for (const Case& c : cases) {
        fixture.serveList(c.list);
        const Seen seen = checkNow();
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.lines, c.lines);
        EXPECT_EQ(seen.title, QStringLiteral("Sleevix - Update"));
        const bool advised = c.list == Advised;
        EXPECT_EQ(seen.downloadVisible, advised);
        EXPECT_TRUE(seen.exitVisible);
        EXPECT_EQ(seen.exitCaption,
                  advised ? QStringLiteral("Download later") : QStringLiteral("Close Window"));
        if (advised) {
            EXPECT_EQ(seen.downloadCaption, QStringLiteral("Start Downloading"));
        }
    }
    EXPECT_EQ(dialog->downloadBase, fixture.server.url());

    dialog = makeDialog([](const QString&, quint16) { return std::optional<int>(); });
    EXPECT_EQ(checkNow().lines,
              QStringList({"", "Ping to updates.sleevix.example gives Time-out"}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(UpdateWindow, FirstShowingStandsOnTheMainWindowThenOverTheCaller) {
    fixture.serveList(Advised);
    const Seen first = checkNow();
    const QSize outer = first.frame.size();
    const QRect mainFrame = main.frameGeometry();
    EXPECT_EQ(first.frame.topLeft(),
              QPoint(mainFrame.left() + (mainFrame.width() - outer.width()) / 2,
                     mainFrame.top() + (mainFrame.height() - outer.height()) / 2));
    const Seen second = checkNow();
    EXPECT_EQ(second.frame.topLeft(),
              QPoint(300 + (639 - outer.width()) / 2, 200 + (286 - outer.height()) / 2));
}

TEST_F(UpdateWindow, AutoCheckIsSilentUnlessAnUpdateIsAdvised) {
    fixture.serveList(versionList("Sleevix,sleevix110.exe,c,2350,-"));
    EXPECT_FALSE(run([this] { dialog->autoCheck(); }).shown);
    fixture.serveList(QByteArray());
    EXPECT_FALSE(run([this] { dialog->autoCheck(); }).shown);

    // A manual check that hid the download button leaves it hidden in the automatic check's
    // window; after that window closes both buttons are back.
    fixture.serveList(versionList("Sleevix,sleevix110.exe,c,2350,-"));
    checkNow();
    fixture.serveList(Advised);
    const Seen advised = run([this] { dialog->autoCheck(); });
    ASSERT_TRUE(advised.shown);
    EXPECT_EQ(advised.lines,
              QStringList({"", "Update is advised", "", "Your current version is version 1.10c",
                           "The latest version is 1.11d", "The Download Name is sleevix111.exe"}));
    EXPECT_EQ(advised.exitCaption, QStringLiteral("Download Later"));
    EXPECT_EQ(advised.downloadCaption, QStringLiteral("Start Downloading"));
    EXPECT_FALSE(advised.downloadVisible);
    EXPECT_FALSE(dialog->downloadButton->isHidden());
    EXPECT_FALSE(dialog->exitButton->isHidden());
}

TEST_F(UpdateWindow, DownloadMovesTheGaugeAndOffersInstall) {
    const qint64 size = 4 * 1024 * 1024;
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,4096,-"));
    HttpsTestServer::Answer installer{200, QByteArray(size, 'i')};
    installer.bytesPerSecond = 16 * 1024 * 1024; // a quarter of a second: the timer samples it
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), installer);
    QList<int> positions;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, &sample, [&] {
        if (positions.isEmpty() || positions.last() != dialog->gauge->progress())
            positions.append(dialog->gauge->progress());
    });
    const Seen seen = run([this] { dialog->checkNow(QRect()); },
                          [&] {
                              sample.start(5);
                              dialog->downloadButton->click();
                              sample.stop();
                          });
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.lines, QStringList({"", "sleevix111.exe has been succesfully downloaded",
                                       "Click \"Install\" to install the progam"}));
    EXPECT_EQ(seen.exitCaption, QStringLiteral("Install"));
    EXPECT_FALSE(seen.downloadVisible);
    EXPECT_TRUE(dialog->installerReady);
    EXPECT_EQ(dialog->gauge->maxValue(), 4096);
    EXPECT_EQ(dialog->gauge->progress(), 4096);
    EXPECT_GE(positions.size(), 3) << "the gauge moved while the installer came in";
    EXPECT_EQ(QFileInfo(downloads + "sleevix111.exe").size(), size);
}

TEST_F(UpdateWindow, FailedOrRefusedDownloadsOfferNoInstall) {
    // A negative size: the gauge refuses it before any file is touched.
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,-5,-"));
    testenv::writeFile(downloads + "Sleevix1.10.exe", "old installer");
    run([this] { dialog->checkNow(QRect()); }, [this] { dialog->downloadButton->click(); });
    EXPECT_EQ(errors, QStringList{"Value must be between 1 and 2147483647"});
    EXPECT_TRUE(QFile::exists(downloads + "Sleevix1.10.exe"));
    EXPECT_EQ(fixture.server.requestCount(QStringLiteral("/sleevix111.exe")), 0);

    // The installer is not on the server; then it arrives damaged.
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,100,-"));
    Seen seen =
        run([this] { dialog->checkNow(QRect()); }, [this] { dialog->downloadButton->click(); });
    EXPECT_EQ(seen.lines.mid(seen.lines.size() - 2),
              QStringList({"", "The download of sleevix111.exe has failed."}));
    EXPECT_EQ(seen.exitCaption, QStringLiteral("Download later"));
    EXPECT_FALSE(dialog->installerReady);

    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,100," + QByteArray(64, 'a')));
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), {200, QByteArray(100 * 1024, 'x')});
    seen = run([this] { dialog->checkNow(QRect()); }, [this] { dialog->downloadButton->click(); });
    EXPECT_EQ(seen.lines.last(),
              QStringLiteral("sleevix111.exe arrived damaged and has been deleted."));
    EXPECT_FALSE(QFile::exists(downloads + "sleevix111.exe"));
    EXPECT_FALSE(dialog->installerReady);
}

// A test installer: writes the parameters it was given next to itself.
QByteArray testInstaller(const QString& record) {
    return QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(record).toUtf8();
}

TEST_F(UpdateWindow, InstallStartsTheInstallerEndsTheCompanionAndTheProgram) {
    const QString record = downloads + QStringLiteral("installer-ran-with");
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,2,-"));
    fixture.server.answer(QStringLiteral("/sleevix111.exe"),
                          {200, testInstaller(record).leftJustified(4096, '\n')});
    const QString companion = program + QStringLiteral("Sleevix_Sched");
    QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), companion);
    QProcess running;
    running.start(companion, {QStringLiteral("120")});
    ASSERT_TRUE(running.waitForStarted());

    bool stay = true;
    int ended = 0;
    dialog->actions.offerToSave = [&] { return !stay; };
    dialog->actions.endProgram = [&] { ++ended; };
    Seen seen = run([this] { dialog->checkNow(QRect()); },
                    [&] {
                        dialog->downloadButton->click();
                        // The user chose to stay at the question: nothing is started.
                        dialog->exitButton->click();
                    });
    EXPECT_EQ(seen.exitCaption, QStringLiteral("Install"));
    EXPECT_FALSE(QFile::exists(record));
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(running.state(), QProcess::Running);

    stay = false;
    ASSERT_EQ(Processes::findByExecutable(companion), QList<qint64>{running.processId()});
    seen = run([this] { dialog->checkNow(QRect()); }, [&] { dialog->exitButton->click(); });
    EXPECT_EQ(seen.lines.mid(seen.lines.size() - 3),
              QStringList({"", "The installation of Sleevix is started.",
                           "The installation of Sleevix has started."}));
    EXPECT_TRUE(running.state() == QProcess::NotRunning || running.waitForFinished(3000))
        << "the companion program was ended";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(dialogtest::WaitUntil([&] { return QFile::exists(record); }, 5000));
    QFile ran(record);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), QByteArray("/SP- /silent /noicons"));

    // An installer that cannot be started is told, and the program goes on.
    dialog->actions.startProgram = [](const QString&, const QStringList&) { return false; };
    seen = run([this] { dialog->checkNow(QRect()); }, [&] { dialog->exitButton->click(); });
    EXPECT_EQ(seen.lines.last(), QStringLiteral("Installation failed."));
    EXPECT_EQ(ended, 1);
}

} // namespace
