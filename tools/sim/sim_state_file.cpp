// SPDX-License-Identifier: MIT
#include "tools/sim/sim_state_file.h"

#include "platform/signal/bluetooth_rules.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace quelmo::sim {

bool writeSharedState(const std::string& path, const SharedState& state) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << "pid=" << state.pid << "\nconnected=" << (state.connected ? 1 : 0)
            << "\nrssi=" << state.rssi << "\n";
        if (!out.flush())
            return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

std::optional<SharedState> readSharedState(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    SharedState state;
    bool havePid = false, haveConnected = false, haveRssi = false;
    std::string line;
    for (int lines = 0; lines < 16 && std::getline(in, line); ++lines) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        std::istringstream value(line.substr(eq + 1));
        long number = 0;
        if (!(value >> number) || !value.eof())
            continue;
        if (key == "pid" && number > 0) {
            state.pid = number;
            havePid = true;
        } else if (key == "connected" && (number == 0 || number == 1)) {
            state.connected = number == 1;
            haveConnected = true;
        } else if (key == "rssi" && number < 0 && number >= -127) {
            state.rssi = static_cast<int>(number);
            haveRssi = true;
        }
    }
    if (!havePid || !haveConnected || !haveRssi)
        return std::nullopt;
    return state;
}

std::optional<SharedState> readLiveSharedState(const std::string& path) {
    auto state = readSharedState(path);
    if (!state)
        return std::nullopt;
    const bool alive = ::kill(static_cast<pid_t>(state->pid), 0) == 0 || errno == EPERM;
    if (!alive)
        return std::nullopt;
    return state;
}

std::string simulatedReport(const std::optional<SharedState>& state) {
    std::vector<bluetooth::Device> devices;
    if (state && state->connected)
        devices.push_back({kDeviceName, kDeviceAddress, state->rssi});
    return bluetooth::reportJson(devices);
}

} // namespace quelmo::sim
