// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace quelmo {

// A timer made by a Scheduler. Destroying the handle cancels the timer, so an
// "optional timer" field is simply a TimerHandle that may be empty.
class Timer {
  public:
    virtual ~Timer() = default;
    // Stops the timer for good; its action is never called again. Safe to call
    // more than once, and from inside the timer's own action.
    virtual void cancel() = 0;
    // A one-shot timer is active until it has fired or is cancelled; a
    // repeating timer until it is cancelled.
    virtual bool isActive() const = 0;
};

using TimerHandle = std::unique_ptr<Timer>;

// The clock and scheduler port: everything the application controller needs
// of time. The app model reads time and schedules work only through it, so
// tests drive it in virtual time (VirtualScheduler) while the application runs
// it on the Qt event loop (QtScheduler, platform/scheduler).
//
// All actions run on the main thread, one at a time. An action may schedule,
// post and cancel freely (its own timer included), and may destroy handles
// (its own included).
class Scheduler {
  public:
    using Action = std::function<void()>;
    using WallClock = std::chrono::system_clock;

    virtual ~Scheduler() = default;

    // Seconds of system uptime: monotonic, never set back, not wall-clock.
    virtual double uptime() const = 0;
    // The wall-clock date (for the end of a pause and the log's timestamps).
    virtual WallClock::time_point now() const = 0;

    // Runs `action` once, `delay` seconds from now (a negative or non-finite
    // delay counts as 0). The timer is active until it fires or is cancelled.
    [[nodiscard]] virtual TimerHandle scheduleOnce(double delay, Action action) = 0;

    // Runs `action` every `interval` seconds, the first time one interval from
    // now, until cancelled. `tolerance` is how late a firing may be allowed to
    // come so the system can group wake-ups (0: as exact as possible). An
    // interval below 1 ms (or not finite) is taken as 1 ms.
    [[nodiscard]] virtual TimerHandle scheduleRepeating(double interval, double tolerance,
                                                        Action action) = 0;

    // Runs `action` on the next turn of the main queue: never inside this call,
    // after what is already queued, before any timer that falls due later.
    // Not cancellable; an action that may outlive its target must check it.
    virtual void post(Action action) = 0;
};

} // namespace quelmo
