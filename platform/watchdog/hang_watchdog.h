// SPDX-License-Identifier: MIT
#pragma once

#include "app/watchdog_port.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace quelmo {

// Ends the process when the main thread hangs while the screen is frosted
//, so that the user always gets the screen back. The main thread
// beats it; a thread of its own checks every 3 s (the first check 3 s after
// construction) and, if the frost is on and the last beat is more than 10.0 s
// old (strictly), ends the process at once with exit status 1: no log line,
// no clean-up. While the frost is off it never acts. When the checking
// thread itself wakes more than a period late (the whole process was
// stopped), it makes no check that time and counts afresh.
//
// The check depends on nothing of the main thread. The uptime clock and the
// action are injectable so that tests run it in virtual time (no thread, call
// check() at virtual times) or with a short real period, and observe the
// action without ending the test runner.
class HangWatchdog final : public WatchdogPort {
  public:
    using Uptime = std::function<double()>;
    using Action = std::function<void()>;

    static constexpr double kCheckInterval = 3.0;  // s, first check one interval after construction
    static constexpr double kHangThreshold = 10.0; // s since the last beat, strictly more
    static constexpr int kExitStatus = 1;

    struct Options {
        // Seconds of monotonic uptime. Default: the system's (CLOCK_MONOTONIC).
        Uptime uptime{};
        // What ending the process means. Default: std::_Exit(kExitStatus).
        // Called on the checking thread, without the lock held.
        Action endProcess{};
        // Real seconds between checks of the checking thread.
        double checkInterval = kCheckInterval;
        // false: no checking thread at all; the owner calls check().
        bool runThread = true;
    };

    HangWatchdog();
    explicit HangWatchdog(Options options);
    // Stops and joins the checking thread (promptly, without waiting out a
    // period). In the application the watchdog lives for the whole process.
    ~HangWatchdog() override;
    HangWatchdog(const HangWatchdog&) = delete;
    HangWatchdog& operator=(const HangWatchdog&) = delete;

    // Main thread: alive now.
    void beat() override;
    // Main thread: the frost went on or off; counts as a beat too, so a frost
    // that has just begun always gets a full 10 s.
    void setFrosted(bool frosted) override;

    // One check, as the checking thread runs it. Returns true when it called
    // the end-process action.
    bool check();

    bool isFrosted() const;
    double lastBeat() const;
    // Checks run so far (by the thread or by check()).
    std::uint64_t checkCount() const { return checks_.load(); }

  private:
    void run();

    Uptime uptime_;
    Action endProcess_;
    double checkInterval_;

    mutable std::mutex lock_; // guards lastBeat_ and isFrosted_, nothing else
    double lastBeat_ = 0.0;
    bool isFrosted_ = false;

    std::atomic<std::uint64_t> checks_{0};

    std::mutex threadMutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_; // last: started when everything else is ready
};

} // namespace quelmo
