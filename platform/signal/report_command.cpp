// SPDX-License-Identifier: MIT
#include "platform/signal/report_command.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quelmo {

ReportCommand ReportCommand::fromEnvironment(const std::string& programDir) {
    const char* line = std::getenv("QUELMO_BLUETOOTH_REPORT");
    if (line != nullptr && line[0] != '\0')
        return {{"/bin/sh", "-c", line}};
    if (!programDir.empty()) {
        const std::string beside = programDir + "/quelmo-bt-report";
        if (::access(beside.c_str(), X_OK) == 0)
            return {{beside}};
    }
    return {{"quelmo-bt-report"}};
}

namespace {

using Clock = std::chrono::steady_clock;

// Escalates from a polite stop to a forced one as the deadlines pass. The
// child leads its own process group, so helpers it started go with it and
// cannot keep the pipe open.
class Terminator {
  public:
    Terminator(pid_t pid, Clock::time_point launch, const ReportLimits& limits)
        : pid_(pid), termAt_(launch + limits.timeLimit), killAt_(termAt_ + limits.killGrace),
          abandonAt_(killAt_ + limits.killGrace) {}

    // Sends what is due now; returns the next moment something is due.
    Clock::time_point step(Clock::time_point now) {
        if (stage_ == 0 && now >= termAt_) {
            ::kill(-pid_, SIGTERM);
            stage_ = 1;
        }
        if (stage_ == 1 && now >= killAt_) {
            ::kill(-pid_, SIGKILL);
            stage_ = 2;
        }
        return stage_ == 0 ? termAt_ : stage_ == 1 ? killAt_ : abandonAt_;
    }
    // Ends the run at once: no grace, and nobody waits for the exit.
    void cancel(Clock::time_point now) {
        ::kill(-pid_, SIGKILL);
        stage_ = 2;
        abandonAt_ = now;
    }
    bool terminated() const { return stage_ > 0; }
    bool abandon(Clock::time_point now) const { return stage_ == 2 && now >= abandonAt_; }

  private:
    pid_t pid_;
    Clock::time_point termAt_, killAt_, abandonAt_;
    int stage_ = 0;
};

int millisUntil(Clock::time_point when, Clock::time_point now) {
    if (when <= now)
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    return static_cast<int>(ms);
}

void readToEnd(int fd, int cancelFd, Terminator& terminator, const ReportLimits& limits,
               ReportRun& run) {
    char chunk[65536];
    for (;;) {
        const auto now = Clock::now();
        if (terminator.abandon(now))
            return;
        const auto due = terminator.step(now);
        pollfd p[2] = {{fd, POLLIN, 0}, {cancelFd, POLLIN, 0}};
        const int ready = ::poll(p, cancelFd >= 0 ? 2 : 1, millisUntil(due, now));
        if (ready < 0 && errno != EINTR)
            return;
        if (ready <= 0)
            continue;
        if (cancelFd >= 0 && p[1].revents != 0) {
            terminator.cancel(Clock::now());
            return;
        }
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            return; // end of file
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return;
        }
        const std::size_t room = limits.maxOutput - run.output.size();
        const std::size_t got = static_cast<std::size_t>(n);
        if (got > room)
            run.overflowed = true;
        run.output.append(chunk, got < room ? got : room);
    }
}

void waitForExit(pid_t pid, Terminator& terminator) {
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR))
            return;
        const auto now = Clock::now();
        const auto due = terminator.step(now);
        if (terminator.abandon(now)) {
            // Killed and still not gone: the kernel will finish it; reap it
            // without holding up the reading any longer.
            std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
            return;
        }
        const auto pause = std::min<Clock::duration>(std::chrono::milliseconds(2), due - now);
        std::this_thread::sleep_for(pause > Clock::duration::zero() ? pause
                                                                    : Clock::duration::zero());
    }
}

} // namespace

namespace {
bool isSignalled(int fd) {
    if (fd < 0)
        return false;
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}
} // namespace

ReportRun runReportCommand(const ReportCommand& command, const ReportLimits& limits, int cancelFd) {
    ReportRun run;
    if (command.argv.empty() || isSignalled(cancelFd))
        return run;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return run;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    for (const std::string& a : command.argv)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    const auto launch = Clock::now();
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return run;
    }
    run.launched = true;

    Terminator terminator(pid, launch, limits);
    readToEnd(fds[0], cancelFd, terminator, limits, run);
    ::close(fds[0]);
    waitForExit(pid, terminator);
    run.terminated = terminator.terminated();
    return run;
}

} // namespace quelmo
