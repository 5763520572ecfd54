// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>

namespace quelmo {

class WaylandConnection;

// Whether a wlroots compositor (sway and friends) has switched its displays
// off, through the output power management protocol on Quelmo's Wayland
// connection: the Wayland counterpart of X11's DPMS level. Outputs that come
// and go are followed. Main thread only, like the connection.
class OutputPowerMonitor {
  public:
    // Without a connection (null) nothing is available.
    explicit OutputPowerMonitor(std::shared_ptr<WaylandConnection> connection);
    ~OutputPowerMonitor();

    OutputPowerMonitor(const OutputPowerMonitor&) = delete;
    OutputPowerMonitor& operator=(const OutputPowerMonitor&) = delete;

    // The compositor offers the protocol.
    bool isAvailable() const;
    // True when every output is off, false when any is on; nothing while no
    // output has reported yet or the connection is gone.
    std::optional<bool> allOff() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quelmo
