// SPDX-License-Identifier: MIT
#include "tests/support/programs.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace quelmo::test {

std::optional<std::string> findProgram(std::string_view name) {
    if (name.find('/') != std::string_view::npos) {
        return access(std::string(name).c_str(), X_OK) == 0 ? std::optional(std::string(name))
                                                            : std::nullopt;
    }
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const std::size_t end = dirs.find(':');
        const std::string_view dir = dirs.substr(0, end);
        const std::string candidate =
            std::string(dir.empty() ? "." : dir) + "/" + std::string(name);
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        dirs = end == std::string_view::npos ? std::string_view() : dirs.substr(end + 1);
    }
    return std::nullopt;
}

int runProgram(const std::vector<std::string>& argv,
               const std::vector<std::pair<std::string, std::string>>& environment,
               std::chrono::milliseconds timeout) {
    const auto path = argv.empty() ? std::nullopt : findProgram(argv.front());
    if (!path) {
        return -1;
    }
    std::vector<std::string> variables;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        bool replaced = false;
        for (const auto& [name, value] : environment) {
            replaced = replaced || entry.substr(0, entry.find('=')) == name;
        }
        if (!replaced) {
            variables.emplace_back(entry);
        }
    }
    for (const auto& [name, value] : environment) {
        variables.push_back(name + "=" + value);
    }
    std::vector<char*> args;
    std::vector<char*> envp;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    for (const auto& v : variables) {
        envp.push_back(const_cast<char*>(v.c_str()));
    }
    args.push_back(nullptr);
    envp.push_back(nullptr);

    pid_t pid = -1;
    if (posix_spawn(&pid, path->c_str(), nullptr, nullptr, args.data(), envp.data()) != 0) {
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace quelmo::test
