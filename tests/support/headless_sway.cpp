// SPDX-License-Identifier: MIT
#include "tests/support/headless_sway.h"

#include "tests/support/programs.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

extern char** environ;

namespace quelmo::test {
namespace {

constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr auto kStopTimeout = std::chrono::seconds(10);
constexpr char kUser[] = "wltest";

// The first file in `dir` whose name starts with `prefix` and that is a socket.
std::string findSocket(const std::string& dir, const std::string& prefix) {
    std::string found;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* entry = readdir(d)) {
            const std::string name = entry->d_name;
            struct stat st {};
            if (name.rfind(prefix, 0) == 0 && stat((dir + "/" + name).c_str(), &st) == 0 &&
                S_ISSOCK(st.st_mode)) {
                found = dir + "/" + name;
                break;
            }
        }
        closedir(d);
    }
    return found;
}

} // namespace

HeadlessSway::HeadlessSway() {
    const auto sway = findProgram("sway");
    if (!sway) {
        failure_ = "sway is not installed (apt-get install sway)";
        return;
    }
    uid_t uid = getuid();
    gid_t gid = getgid();
    std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/tmp";
    if (uid == 0) {
        if (getpwnam(kUser) == nullptr) {
            runProgram({"useradd", "-m", kUser});
        }
        const passwd* user = getpwnam(kUser);
        if (user == nullptr) {
            failure_ = "cannot make the user wltest to run sway (it refuses to run as root)";
            return;
        }
        uid = user->pw_uid;
        gid = user->pw_gid;
        home = user->pw_dir;
    }
    char folder[] = "/tmp/quelmo-sway-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        failure_ = "cannot make a runtime folder for sway";
        return;
    }
    runtimeDir_ = folder;
    const std::string config = runtimeDir_ + "/sway.conf";
    std::ofstream(config) << "output HEADLESS-1 resolution 1280x720\nxwayland disable\n";
    if (chown(folder, uid, gid) != 0 || chown(config.c_str(), uid, gid) != 0) {
        failure_ = "cannot hand the runtime folder to the sway user";
        return;
    }

    const std::vector<std::string> env = {"HOME=" + home,
                                          "PATH=/usr/local/bin:/usr/bin:/bin",
                                          "XDG_RUNTIME_DIR=" + runtimeDir_,
                                          "WLR_BACKENDS=headless",
                                          "WLR_RENDERER=pixman",
                                          "WLR_LIBINPUT_NO_DEVICES=1"};
    std::vector<char*> envp;
    for (const auto& e : env) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    envp.push_back(nullptr);
    const char* argv[] = {sway->c_str(), "-c", config.c_str(), nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        if (getuid() == 0 && (setgid(gid) != 0 || setuid(uid) != 0)) {
            _exit(126);
        }
        // The parent-death signal is reset by a change of user.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        execve(argv[0], const_cast<char* const*>(argv), envp.data());
        _exit(127);
    }
    if (pid < 0) {
        failure_ = "cannot start sway";
        return;
    }
    pid_ = pid;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (socket_.empty() || swaySocket_.empty()) {
        if (waitpid(pid_, nullptr, WNOHANG) != 0) {
            pid_ = -1;
            failure_ = "sway ended at start";
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            stop();
            failure_ = "sway did not open its socket within 30 s";
            return;
        }
        socket_ = findSocket(runtimeDir_, "wayland-");
        swaySocket_ = findSocket(runtimeDir_, "sway-ipc.");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

HeadlessSway::~HeadlessSway() {
    stop();
    if (!runtimeDir_.empty()) {
        runProgram({"rm", "-rf", runtimeDir_});
    }
}

int HeadlessSway::run(const std::vector<std::string>& argv) const {
    return runProgram(argv, {{"WAYLAND_DISPLAY", socket_}, {"SWAYSOCK", swaySocket_}},
                      std::chrono::seconds(20));
}

void HeadlessSway::stop() {
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
}

} // namespace quelmo::test
