// SPDX-License-Identifier: MIT
#include "platform/motion/motion_paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quelmo {

namespace {

std::string absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return value;
}

std::string homeDir() {
    std::string home = absoluteEnv("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/";
}

} // namespace

MotionPaths MotionPaths::fromEnvironment() {
    MotionPaths paths;
    paths.runtimeDir = absoluteEnv("XDG_RUNTIME_DIR");
    if (paths.runtimeDir.empty()) {
        // No session runtime folder (a bare console or container): use a
        // per-user folder under /tmp; ensurePrivateFolder vets it before use.
        paths.runtimeDir = "/tmp/quelmo-runtime-" + std::to_string(geteuid());
    }
    paths.configDir = absoluteEnv("XDG_CONFIG_HOME");
    if (paths.configDir.empty())
        paths.configDir = homeDir() + "/.config";
    paths.stateDir = absoluteEnv("XDG_STATE_HOME");
    if (paths.stateDir.empty())
        paths.stateDir = homeDir() + "/.local/state";
    return paths;
}

bool ensurePrivateFolder(const std::string& path, std::string& error) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        error = "cannot inspect " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = path + " is not a folder";
        return false;
    }
    if (st.st_uid != geteuid()) {
        error = path + " belongs to another user";
        return false;
    }
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) {
        error = "cannot make " + path + " private: " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace quelmo
