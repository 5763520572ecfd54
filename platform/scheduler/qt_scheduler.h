// SPDX-License-Identifier: MIT
#pragma once

#include "app/scheduler.h"

#include <Qt>

#include <memory>

class QObject;

namespace quelmo {

// The seconds of system uptime: the monotonic clock (CLOCK_MONOTONIC, which
// std::chrono::steady_clock reads on Linux): time since boot, not counting
// suspend, never set back.
double systemUptime();

// The clock/scheduler port on the Qt event loop of the thread that makes it
// (the main thread): QTimer for timers, a queued call for post(). Use it from
// that thread only, with one exception: post() may be called from any thread
// (a worker handing its result back); the action still runs on the main thread.
//
// - A timer whose tolerance admits Qt's coarse timers (at least 5% of the
//   interval) is a Qt::CoarseTimer, otherwise a Qt::PreciseTimer.
// - One-shot delays longer than a QTimer can hold (about 24.8 days) are
//   reached in steps, so they never fire early; repeating intervals are cut
//   to that length.
// - A timer lives as long as its handle, not as long as the scheduler.
// - Posted actions still queued when the scheduler is destroyed are dropped.
class QtScheduler final : public Scheduler {
  public:
    QtScheduler();
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    double uptime() const override;
    WallClock::time_point now() const override;
    [[nodiscard]] TimerHandle scheduleOnce(double delay, Action action) override;
    [[nodiscard]] TimerHandle scheduleRepeating(double interval, double tolerance,
                                                Action action) override;
    void post(Action action) override;

    // The Qt timer type used for a timer with this interval and tolerance.
    static Qt::TimerType timerTypeFor(double interval, double tolerance);

  private:
    std::unique_ptr<QObject> context_;
};

} // namespace quelmo
