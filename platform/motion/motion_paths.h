// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quelmo {

// Where the motion service, the simulator and the consent record live.
// Tests build one from temporary folders; the application and the tools use
// fromEnvironment().
struct MotionPaths {
    std::string runtimeDir; // $XDG_RUNTIME_DIR, or a private folder under /tmp
    std::string configDir;  // $XDG_CONFIG_HOME, or ~/.config
    std::string stateDir;   // $XDG_STATE_HOME, or ~/.local/state (empty: remember nothing)

    // Read afresh from the environment on every call.
    static MotionPaths fromEnvironment();

    std::string socketFolder() const { return runtimeDir + "/quelmo"; }
    std::string socketPath() const { return socketFolder() + "/motion.sock"; }
    std::string simStatePath() const { return socketFolder() + "/sim-state"; }
    std::string accessRecordPath() const { return configDir + "/Quelmo/motion-access"; }
    std::string settingsPath() const { return configDir + "/Quelmo/Quelmo.conf"; }
    // Which start frame streamed from which earbuds.
    std::string earbudsMemoryPath() const {
        return stateDir.empty() ? std::string() : stateDir + "/Quelmo/earbuds-streams";
    }
};

// Makes sure path is a folder that only this user can enter: creates it with
// mode 0700 (parents must exist), refuses a symbolic link or a folder owned by
// someone else, and tightens the mode of our own folder if it is looser.
// On failure returns false with a reason in error.
bool ensurePrivateFolder(const std::string& path, std::string& error);

} // namespace quelmo
