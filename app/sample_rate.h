// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <optional>

namespace quelmo {

// Samples a second, counted over windows of at least two seconds: what the
// settings window shows beside the source of head motion. No clock of its own.
class SampleRate {
  public:
    static constexpr double kWindow = 2.0;

    void count() { ++count_; }
    // At the tick: the rate when a window has ended and its rounded value
    // differs from the last one.
    std::optional<int> update(double now) {
        if (start_ < 0 || now < start_) {
            start_ = now;
            count_ = 0;
            return std::nullopt;
        }
        if (now - start_ < kWindow)
            return std::nullopt;
        const int rate = static_cast<int>(std::lround(count_ / (now - start_)));
        start_ = now;
        count_ = 0;
        if (rate == perSecond_)
            return std::nullopt;
        perSecond_ = rate;
        return rate;
    }
    int perSecond() const { return perSecond_; }

  private:
    double start_ = -1;
    long count_ = 0;
    int perSecond_ = 0;
};

} // namespace quelmo
