#include "update/UpdateDialog.h"
#include "controls/ColourButton.h"
#include "controls/Gauge.h"
#include "dialogs/DialogTestUtil.h"
#include "dialogs/ErrorGuard.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "update/InstallerFiles.h"

#include "TestEnv.h"
#include "UpdateFixture.h"

#include <QCryptographicHash>
#include <QDir>
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
        {Advised.leftJustified(Internet::MaxTextSize + 1, ' '),
         {"", "The version list on the server is too large (over 1 MB)"}},
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
              QStringList({"", "Ping to updates.sleevix.org gives Time-out"}));
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
    bool pressedAgain = false;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, &sample, [&] {
        if (positions.isEmpty() || positions.last() != dialog->gauge->progress())
            positions.append(dialog->gauge->progress());
        // Start Downloading pressed again while the installer comes in starts nothing new.
        if (!pressedAgain && dialog->gauge->progress() > 1) {
            pressedAgain = true;
            dialog->downloadButton->click();
        }
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
    EXPECT_TRUE(pressedAgain);
    EXPECT_EQ(fixture.server.requestCount(QStringLiteral("/sleevix111.exe")), 1);
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

// Steps on one line, readable in a failure.
std::string said(const QStringList& steps) {
    return steps.join(QStringLiteral(" | ")).toStdString();
}

// A test installer: writes the parameters it was given next to itself.
QByteArray testInstaller(const QString& record) {
    return QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(record).toUtf8();
}

TEST_F(UpdateWindow, InstallStartsTheInstallerWaitsASecondThenEndsTheCompanionAndTheProgram) {
    const QString record = downloads + QStringLiteral("installer-ran-with");
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,2,-"));
    fixture.server.answer(QStringLiteral("/sleevix111.exe"),
                          {200, testInstaller(record).leftJustified(4096, '\n')});
    const QString companion = program + QStringLiteral("Sleevix_Sched");
    QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), companion);
    QProcess running;
    running.start(companion, {QStringLiteral("120")});
    ASSERT_TRUE(running.waitForStarted());
    const auto companionState = [&] {
        return Processes::findByExecutable(companion).isEmpty() ? QStringLiteral("ended")
                                                                : QStringLiteral("running");
    };

    // What happened, in order.
    QStringList steps;
    bool stay = true;
    bool canStart = true;
    dialog->actions.offerToSave = [&] { return !stay; };
    dialog->actions.startProgram = [&](const QString& file, const QStringList& parameters) {
        steps << QStringLiteral("start");
        return canStart && Shell::startProgram(file, parameters);
    };
    dialog->actions.wait = [&](int ms) {
        steps << QStringLiteral("wait %1, companion %2").arg(ms).arg(companionState());
    };
    dialog->actions.endProgram = [&] {
        steps << QStringLiteral("end, companion %1").arg(companionState());
    };
    Seen seen = run([this] { dialog->checkNow(QRect()); },
                    [&] {
                        dialog->downloadButton->click();
                        // The user chose to stay at the question: nothing is started.
                        dialog->exitButton->click();
                        EXPECT_EQ(said(steps), "");
                        EXPECT_EQ(companionState(), QStringLiteral("running"));
                        stay = false;
                        dialog->exitButton->click();
                    });
    EXPECT_EQ(seen.lines.mid(seen.lines.size() - 3),
              QStringList({"", "The installation of Sleevix is started.",
                           "The installation of Sleevix has started."}));
    // The installer has its second before the companion is ended, and the program ends last.
    EXPECT_EQ(said(steps), "start | wait 1000, companion running | end, companion ended");
    EXPECT_TRUE(running.state() == QProcess::NotRunning || running.waitForFinished(3000));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(dialogtest::WaitUntil([&] { return QFile::exists(record); }, 5000));
    QFile ran(record);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), QByteArray("/SP- /silent /noicons"));

    // An installer that cannot be started is told and the program goes on; a later press of the
    // button tries again.
    steps.clear();
    canStart = false;
    seen = run([this] { dialog->checkNow(QRect()); },
               [&] {
                   dialog->downloadButton->click();
                   dialog->exitButton->click();
                   EXPECT_EQ(dialog->messageText->toPlainText().split('\n').last(),
                             QStringLiteral("Installation failed."));
                   EXPECT_EQ(said(steps), "start");
                   canStart = true;
                   dialog->exitButton->click();
               });
    EXPECT_EQ(said(steps), "start | start | wait 1000, companion ended | end, companion ended");
}

// After a download, every later check sets the exit button up to mean later or close: it never
// installs, whatever the check found.
TEST_F(UpdateWindow, ALaterCheckLeavesNothingToInstall) {
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), {200, QByteArray(4096, 'i')});
    int started = 0, ended = 0;
    dialog->actions.startProgram = [&](const QString&, const QStringList&) { return ++started; };
    dialog->actions.endProgram = [&] { ++ended; };
    dialog->actions.wait = [](int) {};

    struct Later {
        QByteArray list;
        bool automatic;
        const char* caption;
    };
    for (const Later& later :
         {Later{Advised, false, "Download later"},
          Later{versionList("Sleevix,sleevix110.exe,c,4,-"), false, "Close Window"},
          Later{Advised, true, "Download Later"}}) {
        fixture.serveList(versionList("Sleevix,sleevix111.exe,d,4,-"));
        const Seen downloaded = run([this] { dialog->checkNow(QRect()); },
                                    [this] { dialog->downloadButton->click(); });
        ASSERT_EQ(downloaded.exitCaption, QStringLiteral("Install"));

        fixture.serveList(later.list);
        bool closedByTheButton = false;
        const Seen seen = run(
            [&] { later.automatic ? dialog->autoCheck() : dialog->checkNow(QRect()); },
            [&] {
                dialog->exitButton->click();
                closedByTheButton = !dialog->isVisible();
            });
        EXPECT_EQ(seen.exitCaption, QString::fromLatin1(later.caption));
        EXPECT_TRUE(closedByTheButton) << later.caption;
        EXPECT_EQ(started, 0) << later.caption;
        EXPECT_EQ(ended, 0) << later.caption;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The installer waits in the Downloads folder between its download and the press of Install; when
// the list gave its checksum, only the file that came is started.
TEST_F(UpdateWindow, AnInstallerThatChangedSinceItsDownloadIsDeletedNotStarted) {
    const QByteArray installer(8192, 'i');
    const QByteArray sum = QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex();
    fixture.serveList(versionList("Sleevix,sleevix111.exe,d,8," + sum));
    fixture.server.answer(QStringLiteral("/sleevix111.exe"), {200, installer});
    QStringList started;
    dialog->actions.startProgram = [&](const QString& file, const QStringList&) {
        started << file;
        return true;
    };
    dialog->actions.wait = [](int) {};
    const QString file = downloads + QStringLiteral("sleevix111.exe");

    for (const bool changed : {true, false}) {
        started.clear();
        const Seen seen = run([this] { dialog->checkNow(QRect()); },
                              [&] {
                                  dialog->downloadButton->click();
                                  ASSERT_EQ(dialog->exitButton->text(), QStringLiteral("Install"));
                                  if (changed) {
                                      QFile swapped(file);
                                      ASSERT_TRUE(swapped.open(QIODevice::Append));
                                      swapped.write("#!/bin/sh\nrm -rf ~\n");
                                  }
                                  dialog->exitButton->click();
                              });
        if (changed) {
            EXPECT_EQ(started, QStringList());
            EXPECT_FALSE(QFile::exists(file));
            EXPECT_EQ(seen.lines.last(),
                      QStringLiteral("sleevix111.exe has changed since it was downloaded and has "
                                     "been deleted."));
            EXPECT_EQ(seen.exitCaption, QStringLiteral("Close Window"));
            EXPECT_FALSE(dialog->installerReady);
        } else {
            EXPECT_EQ(started, QStringList{file});
        }
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The record of the report: with a "2024" folder in the Downloads and the program folder, this
// name reached a file two levels up, deleted it, wrote the installer there and ran it.
TEST_F(UpdateWindow, ADownloadNameThatLeavesItsFolderIsABadListAndChangesNothing) {
    const QString sandbox = testenv::freshFolder(QStringLiteral("sandbox"));
    program = sandbox + QStringLiteral("/program/");
    downloads = sandbox + QStringLiteral("/downloads/");
    QDir().mkpath(program + QStringLiteral("2024"));
    QDir().mkpath(downloads + QStringLiteral("2024"));
    const QString victim = testenv::writeFile(sandbox + QStringLiteral("/victim.txt"), "victim");
    dialog = makeDialog([](const QString&, quint16) { return std::optional<int>(4); });
    int started = 0;
    dialog->actions.startProgram = [&](const QString&, const QStringList&) { return ++started; };
    fixture.serveList(versionList("Sleevix,2024/../../victim.txt,,4,-"));
    fixture.server.answer(QStringLiteral("/victim.txt"), {200, QByteArray(4096, 'x')});

    for (const bool automatic : {false, true}) {
        const Seen seen = run(
            [&] {
                ErrorGuard::run(dialog.get(), [&] {
                    automatic ? dialog->autoCheck() : dialog->checkNow(QRect());
                });
            },
                              [this] {
                                  dialog->downloadButton->click();
                                  dialog->exitButton->click();
                              });
        EXPECT_FALSE(seen.shown);
        EXPECT_EQ(errors, QStringList{notAPlainFileNameText()});
        errors.clear();
    }
    QFile kept(victim);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("victim"));
    EXPECT_EQ(fixture.server.requestedPaths(), QStringList{"/versions.dat"});
    EXPECT_EQ(QDir(downloads).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"2024"});
    EXPECT_EQ(started, 0);
}

} // namespace
