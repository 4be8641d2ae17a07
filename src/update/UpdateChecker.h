// One update check from start to outcome: the connectivity test, the fetch of the version list on
// a thread of its own (two attempts) while this thread keeps its events going, and the judgement
// of the list (update/VersionList.h). The windows show the outcome; nothing here shows anything.
#pragma once

#include "update/UpdateServer.h"
#include "update/VersionList.h"

#include <functional>
#include <optional>

class UpdateChecker {
public:
    // The connectivity test: the round-trip time in ms, nothing when the server did not answer.
    using Pinger = std::function<std::optional<int>(const QString& host, quint16 port)>;

    // productName names the program's record in the list; versionText is the running version as
    // shown ("version 1.10c"). Without a pinger the system's ping is used.
    UpdateChecker(UpdateServer server, QString productName, QString versionText,
                  Pinger pinger = {});

    // Runs a check. Events keep being processed meanwhile: the fetch is polled every 10 ms. A
    // check asked for while one is running does nothing and gives nothing. Throws AppError for
    // a malformed record (see findProgramRecord).
    std::optional<CheckOutcome> check();
    bool running() const { return running_; }

    const UpdateServer& server() const { return server_; }
    const QString& versionText() const { return versionText_; }

private:
    UpdateServer server_;
    QString productName_;
    QString versionText_;
    Pinger pinger_;
    bool running_ = false;
};
