// SPDX-License-Identifier: MIT
#pragma once

// The running simulator's state, shared with `quelmo-sim --report` through a
// small file in the user's private runtime folder:
//   pid=1234
//   connected=1
//   rssi=-55
// A file whose process is gone counts as no simulator.

#include <optional>
#include <string>

namespace quelmo::sim {

inline constexpr const char* kDeviceName = "Quelmo Virtual Headphones";
inline constexpr const char* kDeviceAddress = "02:51:4D:53:49:4D"; // locally administered

struct SharedState {
    long pid = 0;
    bool connected = false;
    int rssi = 0;
};

bool writeSharedState(const std::string& path, const SharedState& state);
std::optional<SharedState> readSharedState(const std::string& path);
// Only a live simulator counts.
std::optional<SharedState> readLiveSharedState(const std::string& path);

// The Bluetooth report for the simulated headphones: the connected device
// with its signal strength, or no device.
std::string simulatedReport(const std::optional<SharedState>& state);

} // namespace quelmo::sim
