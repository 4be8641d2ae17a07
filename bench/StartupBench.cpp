// Start-up as the user sees it: from the moment the process is started to the pixels on a real X
// server (Xvfb), beside a bare Qt Widgets window program built in the same tree.
//
// The benchmark starts one Xvfb and watches its screen through the DAMAGE extension: after every
// change it reads a set of rows across the screen. A program's "complete" time is when those rows
// show what they show once the program has settled (learnt from one start before the timed
// rounds, a few seconds after it began): for Sleevix its window with the cover painted, for the
// bare program its first (and only) painting. The "first pixels" time is the first change at all.
// The peak resident memory (VmHWM) is read at the complete time, before the process is ended.
//
// The two programs run alternately, each from a fresh home folder (Sleevix's first start, which
// copies the sample project), at a raised priority when the system allows it; a third start per
// round is Sleevix's later start, from the home its first start made (the one users meet every
// day). The figures are the medians of the rounds.
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Rounds = 11;
constexpr int SampledRows = 48;
constexpr int RaisedPriority = -5;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The peak resident memory of a running process in MiB, 0 when unknown.
double peakRssMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// Starts a program with the environment given on top of this one's; the child raises its own
// priority when it may.
pid_t spawn(const std::string& program, const std::vector<std::pair<std::string, std::string>>& env,
            const std::string& folder) {
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    setpriority(PRIO_PROCESS, 0, RaisedPriority);
    for (const auto& [name, value] : env)
        setenv(name.c_str(), value.c_str(), 1);
    if (chdir(folder.c_str()) != 0)
        _exit(126);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

void end(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Xvfb on a display number of its own choosing, with the DAMAGE extension.
struct XServer {
    pid_t pid = -1;
    std::string display;

    bool start() {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            setpriority(PRIO_PROCESS, 0, RaisedPriority);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", "+extension", "DAMAGE", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char buffer[32] = {};
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        while (poll(&p, 1, 10000) > 0) {
            const ssize_t n = read(fds[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            number.append(buffer, std::size_t(n));
            if (number.find('\n') != std::string::npos)
                break;
        }
        close(fds[0]);
        while (!number.empty() && (number.back() == '\n' || number.back() == ' '))
            number.pop_back();
        if (number.empty())
            return false;
        display = ":" + number;
        return true;
    }
    ~XServer() {
        if (pid > 0)
            end(pid);
    }
};

// Rows of the screen, read whole.
using Rows = std::vector<std::vector<uint32_t>>;

class ScreenWatch {
public:
    explicit ScreenWatch(const std::string& display) {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_))
            return;
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present)
            return;
        free(xcb_damage_query_version_reply(connection_,
                                            xcb_damage_query_version(connection_, 1, 1), nullptr));
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        root_ = screen->root;
        width_ = screen->width_in_pixels;
        height_ = screen->height_in_pixels;
        damage_ = xcb_generate_id(connection_);
        xcb_damage_create(connection_, damage_, root_, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(connection_);
        ok_ = true;
    }
    ~ScreenWatch() {
        if (connection_)
            xcb_disconnect(connection_);
    }
    bool ok() const { return ok_; }

    Rows read() {
        Rows rows;
        for (int i = 0; i < SampledRows; ++i) {
            const int y = (i * 2 + 1) * height_ / (SampledRows * 2);
            xcb_get_image_reply_t* image =
                xcb_get_image_reply(connection_,
                                    xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, 0,
                                                  int16_t(y), width_, 1, ~0u),
                                    nullptr);
            std::vector<uint32_t> row(width_);
            if (image && xcb_get_image_data_length(image) >= int(width_ * 4))
                std::memcpy(row.data(), xcb_get_image_data(image), width_ * 4);
            free(image);
            for (uint32_t& pixel : row)
                pixel &= 0xFFFFFF;
            rows.push_back(std::move(row));
        }
        return rows;
    }

    // Waits for the next change of the screen; false when none came in time.
    bool waitForChange(int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool damaged = (event->response_type & 0x7F) == damageEvent_;
                free(event);
                if (damaged) {
                    xcb_damage_subtract(connection_, damage_, XCB_NONE, XCB_NONE);
                    xcb_flush(connection_);
                    return true;
                }
            }
            const int left =
                int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                        .count());
            if (left <= 0)
                return false;
            pollfd p{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&p, 1, left);
        }
    }

    // Lets the screen settle: waits until it has not changed for quietMs.
    void settle(int quietMs) {
        while (waitForChange(quietMs)) {
        }
    }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    uint16_t width_ = 0, height_ = 0;
    xcb_damage_damage_t damage_ = 0;
    uint8_t damageEvent_ = 0;
    bool ok_ = false;
};

// How much of what the settled program shows, beyond the empty screen, the rows show now.
double shownFraction(const Rows& now, const Rows& blank, const Rows& settled) {
    long differing = 0, matching = 0;
    for (std::size_t r = 0; r < settled.size(); ++r)
        for (std::size_t x = 0; x < settled[r].size(); ++x)
            if (settled[r][x] != blank[r][x]) {
                ++differing;
                matching += now[r][x] == settled[r][x];
            }
    return differing ? double(matching) / double(differing) : 0;
}

struct Start {
    double firstPixelsMs = 0;
    double completeMs = 0;
    double peakMiB = 0;
};

class Runner {
public:
    explicit Runner(ScreenWatch& watch, std::string display)
        : watch_(watch), display_(std::move(display)) {
        watch_.settle(300);
        blank_ = watch_.read();
    }

    // One start from a fresh home, or from keptHome where an earlier start left its settings and
    // data; with no settled look yet, learns it.
    std::optional<Start> run(const std::string& program, Rows* settled,
                             const QTemporaryDir* keptHome = nullptr) {
        QTemporaryDir fresh;
        const std::string h = (keptHome ? *keptHome : fresh).path().toStdString();
        const pid_t pid = spawn(program,
                                {{"DISPLAY", display_},
                                 {"QT_QPA_PLATFORM", "xcb"},
                                 {"HOME", h},
                                 {"XDG_CONFIG_HOME", h + "/config"},
                                 {"XDG_DATA_HOME", h + "/data"},
                                 {"XDG_CACHE_HOME", h + "/cache"},
                                 {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent"}},
                                h);
        const Clock::time_point started = Clock::now();
        std::optional<Start> start;
        if (settled->empty()) {
            // Learning: whatever the screen shows after the program had time to settle.
            watch_.settle(3000);
            *settled = watch_.read();
            start = Start{};
        } else {
            Start s;
            bool first = false;
            while (watch_.waitForChange(20000)) {
                const Rows now = watch_.read();
                if (!first && now != blank_) {
                    first = true;
                    s.firstPixelsMs = msSince(started);
                }
                if (shownFraction(now, blank_, *settled) >= 0.995) {
                    s.completeMs = msSince(started);
                    s.peakMiB = peakRssMiB(pid);
                    start = s;
                    break;
                }
            }
        }
        end(pid);
        // Back to the empty screen before the next start.
        for (int i = 0; i < 50 && watch_.read() != blank_; ++i)
            watch_.waitForChange(100);
        watch_.settle(100);
        return start;
    }

private:
    ScreenWatch& watch_;
    std::string display_;
    Rows blank_;
};

void BM_StartupToPaintedCover(benchmark::State& state) {
    XServer x;
    if (!x.start()) {
        state.SkipWithError("Xvfb did not start (Debian package xvfb)");
        return;
    }
    ScreenWatch watch(x.display);
    if (!watch.ok()) {
        state.SkipWithError("no X connection with the DAMAGE extension");
        return;
    }
    Runner runner(watch, x.display);
    const std::string sleevix = SLEEVIX_BINARY_DIR "/sleevix";
    const std::string bare = SLEEVIX_BINARY_DIR "/bench/bare_window";
    Rows sleevixLook, bareLook;
    // A later start: the home a first start made, with its settings and the sample project.
    const QTemporaryDir usedHome;
    if (!runner.run(sleevix, &sleevixLook, &usedHome) || !runner.run(bare, &bareLook)) {
        state.SkipWithError("a program did not show its window");
        return;
    }
    std::vector<double> ourFirst, ourCover, ourPeak, bareFirst, barePeak, laterCover, laterPeak;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const auto ours = runner.run(sleevix, &sleevixLook);
            const auto theirs = runner.run(bare, &bareLook);
            const auto later = runner.run(sleevix, &sleevixLook, &usedHome);
            if (!ours || !theirs || !later) {
                state.SkipWithError("a program did not paint its window in 20 s");
                return;
            }
            ourFirst.push_back(ours->firstPixelsMs);
            ourCover.push_back(ours->completeMs);
            ourPeak.push_back(ours->peakMiB);
            bareFirst.push_back(theirs->completeMs);
            barePeak.push_back(theirs->peakMiB);
            laterCover.push_back(later->completeMs);
            laterPeak.push_back(later->peakMiB);
        }
        state.SetIterationTime(median(ourCover) / 1000);
    }
    state.counters["sleevix_first_pixels_ms"] = median(ourFirst);
    state.counters["sleevix_cover_painted_ms"] = median(ourCover);
    state.counters["bare_first_pixels_ms"] = median(bareFirst);
    state.counters["cover_per_bare"] = median(ourCover) / median(bareFirst);
    state.counters["sleevix_peak_MiB"] = median(ourPeak);
    state.counters["bare_peak_MiB"] = median(barePeak);
    state.counters["later_cover_painted_ms"] = median(laterCover);
    state.counters["later_per_bare"] = median(laterCover) / median(bareFirst);
    state.counters["later_peak_MiB"] = median(laterPeak);
}

BENCHMARK(BM_StartupToPaintedCover)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
