// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// What the app model uses of the hang watchdog: HangWatchdog in
// platform/watchdog implements it; tests may stand in a recorder. Both calls
// come from the main thread.
class WatchdogPort {
  public:
    virtual ~WatchdogPort() = default;
    // The main thread is alive now.
    virtual void beat() = 0;
    // The frost went on or off; also counts as a beat.
    virtual void setFrosted(bool frosted) = 0;
};

} // namespace quelmo
