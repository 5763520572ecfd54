// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace quelmo {

// Turns a compositor's "idle" and "resumed" notifications for one timeout into
// seconds since the last keyboard or mouse event.
//
// After "idle" the last event is known exactly: one timeout before the
// notification. After "resumed" an event happened at that moment, and while no
// new "idle" comes, the latest event is less than one timeout old. Then the
// clock reports the oldest time that fits (the time since "resumed", at most one
// timeout), so it never claims an event later than the real one: an "away"
// state clears at most one timeout late and is never cleared by input that came
// before it. The timeout is therefore the resolution.
//
// Some compositors stop their idle timers altogether while another program
// inhibits idling (a video player): then no "idle" ever comes after "resumed",
// and a user who left would pass for one who types on and on. With
// `trustActiveFor` set, an active stretch without any "idle" for longer than
// that is no longer believed: the reading falls back to the time since
// "resumed". Real use pauses for longer than a timeout far more often.
//
// Notifications and readings may come from different threads, so the whole
// state is one atomic word.
class IdleClock {
  public:
    using Clock = std::chrono::steady_clock;

    // Starts as if the user had just been active at `start`.
    IdleClock(std::chrono::milliseconds timeout, Clock::time_point start,
              std::optional<std::chrono::milliseconds> trustActiveFor = std::nullopt);

    // The compositor saw no input for the timeout, as of `at`.
    void idled(Clock::time_point at);
    // Input came at `at` after an idle stretch.
    void resumed(Clock::time_point at);
    // Sets the last event from a direct reading of the idle time.
    void seed(Clock::time_point lastEvent, Clock::time_point now);

    double secondsSinceLastEvent(Clock::time_point now) const;
    bool isIdle() const { return (state_.load() & 1) != 0; }
    std::chrono::milliseconds timeout() const { return timeout_; }

  private:
    void store(Clock::time_point mark, bool idle);

    const std::chrono::milliseconds timeout_;
    const std::optional<std::chrono::milliseconds> trustActiveFor_;
    // Nanoseconds of the mark shifted left by one, the idle flag in the low
    // bit. The mark: when idle, the last event; when active, "resumed".
    std::atomic<std::int64_t> state_;
};

} // namespace quelmo
