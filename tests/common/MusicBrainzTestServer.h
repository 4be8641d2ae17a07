// A stand-in for MusicBrainz's web service in a process of its own (tests/data/musicbrainz/
// server.py): each disc id gets the answer its route names (an XML file there, "404", "huge",
// "stall"); every request is logged with its time and user agent. The process ends itself after
// its time limit and is killed when the test is done.
#pragma once

#include "common/TestEnv.h"
#include "tracks/AudioDisc.h"
#include "tracks/MusicBrainzLookup.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

class MusicBrainzTestServer {
public:
    // routes: disc table of contents → answer.
    explicit MusicBrainzTestServer(const QList<std::pair<QString, QString>>& routes,
                                   int limitSeconds = 90) {
        const QString folder = testenv::freshFolder(QStringLiteral("musicbrainz"));
        QByteArray table;
        for (const auto& [toc, answer] : routes)
            table += DiscToc::fromString(toc).discId().toLatin1() + ' ' + answer.toLatin1() + '\n';
        const QString routesFile = testenv::writeFile(folder + QStringLiteral("/routes"), table);
        logFile_ = folder + QStringLiteral("/requests.log");
        process_.start(QStringLiteral("python3"),
                       {testenv::sourcePath(QStringLiteral("tests/data/musicbrainz/server.py")),
                        routesFile, logFile_, QString::number(limitSeconds)});
        if (process_.waitForStarted(10000) && process_.waitForReadyRead(10000))
            port_ = process_.readLine().trimmed().toInt();
        EXPECT_GT(port_, 0) << "the test server did not start: "
                            << process_.readAllStandardError().toStdString();
    }
    ~MusicBrainzTestServer() {
        process_.kill();
        process_.waitForFinished(5000);
    }

    // The lookup's server, with a short time-out for the stalled answer.
    MusicBrainzServer server(int receiveTimeoutMs = 1000) const {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("SLEEVIX_MUSICBRAINZ_SERVER"),
                           QStringLiteral("127.0.0.1:%1").arg(port_));
        MusicBrainzServer server = MusicBrainzServer::fromEnvironment(environment);
        server.receiveTimeoutMs = receiveTimeoutMs;
        return server;
    }

    // The requests so far: time, path, user agent.
    QList<QStringList> requests() const {
        QFile log(logFile_);
        QList<QStringList> lines;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray& line : log.readAll().split('\n'))
                if (!line.isEmpty())
                    lines << QString::fromUtf8(line).split(u' ').mid(0, 2) +
                                 QStringList{QString::fromUtf8(line).section(u' ', 2)};
        return lines;
    }

private:
    QProcess process_;
    QString logFile_;
    int port_ = 0;
};
