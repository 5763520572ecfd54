// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quelmo {

// Listens on an X display of its own for the keyboard and mouse events that show the user
// at work and keeps only the time of the latest one (never keys or positions).
//
// XInput2 raw events on the root window are the source; where the server lacks XInput2 the
// XScreenSaver idle time is read ten times a second instead (that one also counts
// modifier presses and the middle button). Before the first event the last use is taken
// from the XScreenSaver idle time, or else the moment of construction. A listener thread
// does the reading, so every query is an atomic load.
//
// InputActivity::secondsSinceLastEvent() uses one for $DISPLAY; tests make their own.
class InputActivityMonitor {
  public:
    enum class Source {
        xInput2,        // raw events
        screenSaver,    // the XScreenSaver idle time
        unavailable,    // no server, or one with neither: reports kIdleSecondsWithoutDisplay
        connectionLost, // the server went away: the last event seen stays the last one
    };

    struct Options {
        std::string displayName; // "" means $DISPLAY
        bool useXInput2 = true;  // false forces the XScreenSaver fallback
    };

    InputActivityMonitor();
    explicit InputActivityMonitor(Options options);
    ~InputActivityMonitor();

    InputActivityMonitor(const InputActivityMonitor&) = delete;
    InputActivityMonitor& operator=(const InputActivityMonitor&) = delete;

    double secondsSinceLastEvent() const;
    // When the last event happened; nothing while unavailable.
    std::optional<std::chrono::steady_clock::time_point> lastEventAt() const;
    Source source() const;
    // How many raw events the listener has looked at, counted or not: lets a caller know it
    // has caught up with input it just caused.
    std::uint64_t rawEventsSeen() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quelmo
