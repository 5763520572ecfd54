// SPDX-License-Identifier: MIT
#pragma once

#include "core/privacy_guard.h"

#include <vector>

namespace quelmo::testing {

// Drives a privacy guard the way the app does: 50 Hz head samples and a
// keyboard/mouse reading every 0.2 s, with time stamps on one clock. Frost
// changes are recorded with the time they happened.
struct GuardDriver {
    PrivacyGuard guard;
    double t = 0.0;
    double lastEvent = -1000.0; // time of the last keyboard or mouse event
    bool pollInput = false;
    std::vector<std::pair<double, bool>> frosts;
    double heading = 0.0;

    GuardDriver() {
        guard.onFrostChange = [this](bool frosted) { frosts.emplace_back(t, frosted); };
    }

    // Head turned to `at` and held there for `seconds`.
    void hold(double at, double seconds, double vertical = 0.0) {
        if (at != heading) {
            turn(at);
        }
        const double end = t + seconds - 1e-9;
        int n = 0;
        while (t < end) {
            guard.motion(heading, vertical, t);
            if (pollInput && n % 10 == 0) {
                guard.inputActivity(t - lastEvent, t);
            }
            ++n;
            t += 0.02;
        }
    }

    // A smooth head turn from the current heading to `to` over `seconds` (a
    // sudden change would be cancelled as a sensor jump), then held there.
    void turn(double to, double seconds = 0.5) {
        const double from = heading;
        const int n = static_cast<int>(seconds / 0.02 + 0.5);
        for (int i = 1; i <= n; ++i) {
            guard.motion(from + (to - from) * i / n, 0.0, t);
            t += 0.02;
        }
        heading = to;
    }

    // Footsteps: hard pulses every 0.5 s for `seconds`, head at `at`.
    void walk(double at, double seconds) {
        const double end = t + seconds - 1e-9;
        while (t < end) {
            for (int i = 0; i < 25 && t < end; ++i) {
                guard.motion(at, i < 3 ? 0.3 : 0.0, t);
                if (pollInput && i % 10 == 0) {
                    guard.inputActivity(t - lastEvent, t);
                }
                t += 0.02;
            }
        }
    }

    void type() { lastEvent = t; }
    void readInput() { guard.inputActivity(t - lastEvent, t); }
};

} // namespace quelmo::testing
