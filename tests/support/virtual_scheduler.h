// SPDX-License-Identifier: MIT
#pragma once

#include "app/scheduler.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace quelmo {

// The scheduler in virtual time, for tests: nothing happens until advance() is
// called, and then every timer and posted action that falls due runs in order,
// each exactly at its due time, without sleeping (advancing 1800 s with a
// 0.2 s tick takes about a millisecond).
//
// - Time is kept in whole nanoseconds, so repeated advance(0.2) lands exactly
//   on a 0.2 s tick: no rounding drift.
// - uptime() and now() read inside an action return that action's due time.
// - Due actions run ordered by due time; actions due at the same time run in
//   the order they were scheduled or posted.
// - A repeating timer re-arms from its due time (due + interval), not from the
//   time its action finished; its tolerance is ignored (it fires exactly).
// - A posted action is due at the time it was posted: it runs before any timer
//   that falls due later, after everything already due at that time.
// - The wall clock moves with uptime; setNow() sets it (a clock change) without
//   touching uptime.
class VirtualScheduler final : public Scheduler {
  public:
    static constexpr double kDefaultStartUptime = 1000.0;
    // 2026-03-09 14:00:00 UTC.
    static constexpr std::int64_t kDefaultStartDateSeconds = 1773064800;

    explicit VirtualScheduler(double startUptime = kDefaultStartUptime,
                              WallClock::time_point startDate = WallClock::time_point{
                                  std::chrono::seconds{kDefaultStartDateSeconds}});
    ~VirtualScheduler() override;
    VirtualScheduler(const VirtualScheduler&) = delete;
    VirtualScheduler& operator=(const VirtualScheduler&) = delete;

    double uptime() const override;
    WallClock::time_point now() const override;
    [[nodiscard]] TimerHandle scheduleOnce(double delay, Action action) override;
    [[nodiscard]] TimerHandle scheduleRepeating(double interval, double tolerance,
                                                Action action) override;
    void post(Action action) override;

    // Moves time forward by `seconds` (negative or non-finite: 0), running
    // everything that falls due up to and including the new time. advance(0)
    // runs the posted actions (and timers due now), like one turn of the queue.
    void advance(double seconds);
    // Moves time forward to the next due action and runs everything due then.
    // Returns false (and changes nothing) when nothing is scheduled.
    bool runNext();
    // The process does not run for `seconds` (stopped, or starved of a CPU):
    // time moves on and nothing runs. What fell due meanwhile is due now, once
    // and in its order, as a stopped program's timers fire late but once; it
    // runs on the next advance().
    void stall(double seconds);
    // Sets the wall clock to `date` from now on; uptime is unchanged.
    void setNow(WallClock::time_point date);

    // Timers that are active plus posted actions not yet run.
    std::size_t pendingCount() const;
    // Seconds from now until the next due action, if any.
    std::optional<double> nextDueIn() const;

    struct State;

  private:
    void runUntil(std::int64_t targetNs);

    std::shared_ptr<State> state_;
};

} // namespace quelmo
