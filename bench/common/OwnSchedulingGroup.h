// Measuring beside a baseline on a shared machine: Linux schedules whole sessions against each
// other (automatic scheduling groups), so a raised nice value only counts against the session's
// own processes, and a benchmark started beside a build got a third of a core however it was
// niced. A benchmark that includes this header therefore runs as a session of its own before
// main() starts, with its group at the highest weight where that is allowed; the processes it
// starts (the baselines too: curl, ls, Qt alone) belong to that group, so both sides of every
// comparison are scheduled alike. The first process only waits for the benchmark and passes on
// its exit status, and passes on Ctrl+C and termination.
#pragma once

#ifdef __linux__
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace BenchScheduling {

inline pid_t& benchmarkChild() {
    static pid_t child = 0;
    return child;
}

inline void passOn(int signal) {
    if (benchmarkChild() > 0)
        kill(benchmarkChild(), signal);
}

inline bool runInOwnGroup() {
    const pid_t child = fork();
    if (child < 0)
        return false; // measured where it stands
    if (child == 0) {
        if (setsid() >= 0)
            if (std::FILE* group = std::fopen("/proc/self/autogroup", "w")) {
                std::fputs("-20", group);
                std::fclose(group);
            }
        return true;
    }
    benchmarkChild() = child;
    std::signal(SIGINT, passOn);
    std::signal(SIGTERM, passOn);
    std::signal(SIGHUP, passOn);
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            _exit(1);
    _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
}

inline const bool inOwnGroup = runInOwnGroup();

} // namespace BenchScheduling
#endif
