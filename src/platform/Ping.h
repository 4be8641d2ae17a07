// Whether a server answers at all, and how fast: one echo request through the system's ping
// program (run directly, no shell, its output read from its pipe). Where ping is missing or may not
// run, the time to open a TCP connection to the server's port stands in for it.
#pragma once

#include <QString>
#include <optional>

namespace Ping {

// The reply time in a ping's output, in whole milliseconds and at least 1: iputils' "time=0.043
// ms" and "time=12.3 ms", Windows' "time=15ms" and "time<1ms" (a reply under a millisecond is a
// reply). Nothing when the output holds no reply time.
std::optional<int> replyTimeMs(const QString& output);

struct Options {
    QString program = QStringLiteral("ping"); // looked up in the PATH unless a path is given
    int waitMs = 5000;                        // how long to wait for the reply
};

// The round-trip time to the host in milliseconds (at least 1); nothing when it did not answer
// in time. Events of the calling thread are processed while it waits.
std::optional<int> roundTrip(const QString& host, quint16 port, const Options& options = {});

// The time to open a TCP connection to host:port in milliseconds (at least 1); nothing when no
// connection could be opened in time.
std::optional<int> connectTime(const QString& host, quint16 port, int waitMs);

} // namespace Ping
