// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace quelmo {

// Ear detection as the app should see it: a change counts once it has held
// for kHold, so a bud rubbing against a collar (edges ten times a second)
// changes nothing; the first report after a channel opens counts at once.
// Knows no clock: the caller passes the time and calls expire() at deadline().
class WearDebounce {
  public:
    static constexpr double kHold = 0.3; // seconds

    // A report from the earbuds; returns the new state when it counts now.
    std::optional<bool> report(bool worn, double now) {
        if (!stable_) {
            stable_ = worn;
            return worn;
        }
        if (worn == *stable_) {
            pending_ = false;
            return std::nullopt;
        }
        if (!pending_) {
            pending_ = true;
            pendingSince_ = now;
        }
        return expire(now);
    }
    // The pending change, once it has held for kHold.
    std::optional<bool> expire(double now) {
        if (!pending_ || !stable_ || now < pendingSince_ + kHold)
            return std::nullopt;
        pending_ = false;
        stable_ = !*stable_;
        return stable_;
    }
    std::optional<double> deadline() const {
        return pending_ ? std::optional<double>(pendingSince_ + kHold) : std::nullopt;
    }
    std::optional<bool> state() const { return stable_; }
    void reset() {
        stable_.reset();
        pending_ = false;
    }

  private:
    std::optional<bool> stable_;
    bool pending_ = false;
    double pendingSince_ = 0;
};

} // namespace quelmo
