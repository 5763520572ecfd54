// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace quelmo {

// Whether a wlroots compositor (sway and friends) has switched its displays
// off, through the output power management protocol on a connection of our
// own: the Wayland counterpart of X11's DPMS level. Outputs that come and go
// are followed.
class OutputPowerMonitor {
  public:
    explicit OutputPowerMonitor(const std::string& displayName = {});
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
