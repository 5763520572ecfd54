// SPDX-License-Identifier: MIT
#include "tests/support/xvfb_server.h"

#include "tests/support/programs.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace quelmo::test {
namespace {

// Xvfb is told to write its display number to this descriptor once it accepts clients.
constexpr int kDisplayFd = 3;
// A loaded machine can take a while to start a server; a healthy one takes well under 1 s.
constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr auto kStopTimeout = std::chrono::seconds(10);

// Reads the line Xvfb writes to -displayfd; empty when it exits or times out first.
std::string readDisplayNumber(int fd) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            return {};
        }
        char c = 0;
        if (read(fd, &c, 1) != 1) {
            return {};
        }
        if (c == '\n') {
            return number;
        }
        number.push_back(c);
    }
}

} // namespace

XvfbServer::XvfbServer() {
    const auto xvfb = findProgram("Xvfb");
    if (!xvfb) {
        failure_ = "Xvfb is not installed (apt-get install xvfb)";
        return;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        failure_ = "cannot make a pipe for Xvfb's display number";
        return;
    }
    const std::string fdText = std::to_string(kDisplayFd);
    // -noreset: by default the server resets when its last client leaves, and turns away
    // whoever connects during the reset.
    const char* argv[] = {xvfb->c_str(), "-displayfd", fdText.c_str(), "-nolisten",
                          "tcp",         "-noreset",   "-screen",      "0",
                          "1280x800x24", nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (fds[1] == kDisplayFd) {
            fcntl(kDisplayFd, F_SETFD, 0);
        } else {
            dup2(fds[1], kDisplayFd);
        }
        const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execve(argv[0], const_cast<char* const*>(argv), environ);
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        failure_ = "cannot start Xvfb";
        return;
    }
    pid_ = pid;
    const std::string number = readDisplayNumber(fds[0]);
    close(fds[0]);
    if (number.empty()) {
        stop();
        failure_ = "Xvfb did not report a display within 30 s";
        return;
    }
    display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
    stop();
}

int XvfbServer::run(const std::vector<std::string>& argv) const {
    return runProgram(argv, {{"DISPLAY", display_}});
}

void XvfbServer::stop() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    failure_ = "Xvfb was stopped";
}

XvfbServer& sharedXvfb() {
    static XvfbServer server;
    return server;
}

} // namespace quelmo::test
