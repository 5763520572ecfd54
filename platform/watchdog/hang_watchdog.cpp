// SPDX-License-Identifier: MIT
#include "platform/watchdog/hang_watchdog.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace quelmo {

namespace {

double monotonicUptime() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

HangWatchdog::HangWatchdog() : HangWatchdog(Options{}) {}

HangWatchdog::HangWatchdog(Options options)
    : uptime_(std::move(options.uptime)), endProcess_(std::move(options.endProcess)),
      checkInterval_(options.checkInterval) {
    if (!uptime_) {
        uptime_ = monotonicUptime;
    }
    if (!endProcess_) {
        endProcess_ = [] { std::_Exit(kExitStatus); };
    }
    if (!std::isfinite(checkInterval_) || checkInterval_ < 0.001) {
        checkInterval_ = 0.001;
    }
    lastBeat_ = uptime_();
    if (options.runThread) {
        thread_ = std::thread([this] { run(); });
    }
}

HangWatchdog::~HangWatchdog() {
    {
        std::lock_guard guard(threadMutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void HangWatchdog::beat() {
    const double now = uptime_();
    std::lock_guard guard(lock_);
    lastBeat_ = now;
}

void HangWatchdog::setFrosted(bool frosted) {
    const double now = uptime_();
    std::lock_guard guard(lock_);
    isFrosted_ = frosted;
    lastBeat_ = now;
}

bool HangWatchdog::isFrosted() const {
    std::lock_guard guard(lock_);
    return isFrosted_;
}

double HangWatchdog::lastBeat() const {
    std::lock_guard guard(lock_);
    return lastBeat_;
}

bool HangWatchdog::check() {
    ++checks_;
    double elapsed = 0.0;
    {
        std::lock_guard guard(lock_);
        if (!isFrosted_) {
            return false;
        }
        elapsed = uptime_() - lastBeat_;
    }
    if (elapsed > kHangThreshold) {
        endProcess_();
        return true;
    }
    return false;
}

void HangWatchdog::run() {
    using clock = std::chrono::steady_clock;
    const auto interval =
        std::chrono::duration_cast<clock::duration>(std::chrono::duration<double>(checkInterval_));
    auto next = clock::now() + interval;
    std::unique_lock guard(threadMutex_);
    while (true) {
        if (wake_.wait_until(guard, next, [this] { return stopping_; })) {
            return;
        }
        guard.unlock();
        if (clock::now() - next > interval) {
            // This thread woke more than a whole period late, so it was not
            // running either: the process was stopped (SIGSTOP, a debugger)
            // or starved, which is no hang of the main thread. Count afresh
            // from now; a real hang is still caught one threshold later.
            beat();
        } else {
            check();
        }
        guard.lock();
        // Stay on the grid; checks missed (the machine slept) are not made up.
        const auto now = clock::now();
        next += interval;
        while (next <= now) {
            next += interval;
        }
    }
}

} // namespace quelmo
