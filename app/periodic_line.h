// SPDX-License-Identifier: MIT
#pragma once

#include "core/privacy_guard.h"

#include <string>

namespace quelmo {

// The diagnostics log's periodic line, at most one every 0.2 s of samples:
// the guard's state after a sample, the range of vertical acceleration and
// the number of samples since the line before, the keyboard and mouse idle
// time and the last signal readings:
//   angle 0.0 vel 0 frosted 0 away 0 vmin 0.000 vmax 0.000 n 10 steps 0
//   soft 0 walking 0 idle 3.2 rssi -58 drop -99      (on one line)
class PeriodicLine {
  public:
    // Counts a sample (its vertical acceleration, the time it came); true
    // when a line about it is due.
    bool count(double vertical, double at);
    // The line about the sample counted last, which came secondsAgo: the
    // idle time shown is as it was then (unless keyboard or mouse were used
    // since, idleNow less the sample's age). Starts the next count afresh.
    std::string take(const PrivacyGuard& guard, double idleNow, double secondsAgo,
                     const SignalReadings& signal);

  private:
    double lastLine_ = 0.0;
    double vertMin_ = 0.0;
    double vertMax_ = 0.0;
    int samples_ = 0;
};

} // namespace quelmo
