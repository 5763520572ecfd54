// SPDX-License-Identifier: MIT
// The proximity rules of the privacy guard: learn the at-desk Bluetooth level of
// each pair of earbuds while the user sits at the computer, and notice when the
// signal falls far below it.
#include "core/privacy_guard.h"

#include "core/time_step.h"
#include "core/usable_number.h"

#include <algorithm>
#include <cmath>

namespace quelmo {

namespace {
constexpr double kKeepReadingsFor = 8.0;    // s a reading stays in a device's history
constexpr double kForgetDeviceAfter = 15.0; // s without readings before a history goes
constexpr double kLatestDropWindow = 6.0;   // s: devices read this recently count at a loss
} // namespace

void PrivacyGuard::proximity(const SignalReadings& readings, double now) {
    if (!isUsable(now)) {
        return;
    }
    // Time since the previous reading.
    double dt = 1.0;
    if (lastProximityAt_) {
        dt = boundedStep(now - *lastProximityAt_, 0.05, 5.0);
    }
    lastProximityAt_ = now;

    // Whether the user is at the desk is decided once, before the readings.
    const bool atMac =
        !isAway_ && lastInputEventAt_ && now - *lastInputEventAt_ <= away.atMacWindow;

    // Per device: its history, what it reads at the desk, and how far its
    // median has dropped below that.
    const auto samplesNeeded = static_cast<std::size_t>(std::max<std::int64_t>(away.farSamples, 1));
    std::optional<double> best;
    std::vector<double> sorted;
    for (const auto& [device, level] : readings) {
        if (!isUsable(level)) {
            continue; // a reading that is not a number is treated as absent
        }
        auto& history = recentSignal_[device];
        std::erase_if(history,
                      [&](const SignalSample& s) { return !(now - s.t <= kKeepReadingsFor); });
        history.push_back({now, level});
        if (history.size() > samplesNeeded) {
            history.erase(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(
                                                                 history.size() - samplesNeeded));
        }

        auto desk = deskSignal_.find(device);
        if (atMac) {
            if (desk != deskSignal_.end()) {
                desk->second = desk->second + (level - desk->second) *
                                                  (1.0 - std::exp(-dt / away.baselineTimeConstant));
            } else {
                desk = deskSignal_.emplace(device, level).first;
            }
        }

        if (desk != deskSignal_.end() && history.size() >= samplesNeeded) {
            sorted.clear();
            for (const auto& s : history) {
                sorted.push_back(s.v);
            }
            std::sort(sorted.begin(), sorted.end());
            const double median = sorted[sorted.size() / 2];
            const double drop = desk->second - median;
            if (!best || drop > *best) {
                best = drop;
            }
        }
    }

    // Devices no longer heard are forgotten.
    std::erase_if(recentSignal_, [&](const auto& entry) {
        return entry.second.empty() || entry.second.back().t < now - kForgetDeviceAfter;
    });

    // The largest drop of any device is the one shown.
    signalDrop_ = best;

    // A drop that lasts, with no recent input, means the user walked off.
    if (away.frostWhenFar && best && !isAway_ && lastInputOlderThanVeto(now)) {
        const bool stepHinted = lastStepHintAt_ && now - *lastStepHintAt_ <= away.stepHintMemory;
        if (*best >= away.farDrop || (stepHinted && *best >= away.farDropAfterSteps)) {
            isAway_ = true;
            awayStartedAt_ = now;
            sync();
        }
    }
}

std::optional<double> PrivacyGuard::latestDrop(double now) const {
    std::optional<double> best;
    for (const auto& [device, history] : recentSignal_) {
        if (history.empty()) {
            continue;
        }
        const SignalSample& newest = history.back();
        if (!(now - newest.t <= kLatestDropWindow)) {
            continue;
        }
        const auto desk = deskSignal_.find(device);
        if (desk == deskSignal_.end()) {
            continue;
        }
        const double drop = desk->second - newest.v;
        if (!best || drop > *best) {
            best = drop;
        }
    }
    return best;
}

} // namespace quelmo
