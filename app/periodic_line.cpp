// SPDX-License-Identifier: MIT
#include "app/periodic_line.h"

#include "core/number_text.h"

#include <algorithm>
#include <vector>

namespace quelmo {

namespace {
constexpr double kLineInterval = 0.2;
constexpr double kShownIdleCap = 9999.0;
} // namespace

bool PeriodicLine::count(double vertical, double at) {
    vertMin_ = std::min(vertMin_, vertical);
    vertMax_ = std::max(vertMax_, vertical);
    samples_ += 1;
    if (at - lastLine_ < kLineInterval) {
        return false;
    }
    lastLine_ = at;
    return true;
}

std::string PeriodicLine::take(const PrivacyGuard& guard, double idleNow, double secondsAgo,
                               const SignalReadings& signal) {
    const TurnDetector& turn = guard.detector();
    const WalkDetector& walk = guard.walker();
    const double idle = std::min(std::max(idleNow - secondsAgo, 0.0), kShownIdleCap);

    std::string line = "angle ";
    appendFixed(line, turn.angle(), 1);
    line += " vel ";
    appendFixed(line, turn.velocity(), 0);
    line += guard.isFrosted() ? " frosted 1" : " frosted 0";
    line += guard.isAway() ? " away 1" : " away 0";
    line += " vmin ";
    appendFixed(line, vertMin_, 3);
    line += " vmax ";
    appendFixed(line, vertMax_, 3);
    line += " n ";
    appendInteger(line, samples_);
    line += " steps ";
    appendInteger(line, walk.stepsInRhythm());
    line += " soft ";
    appendInteger(line, walk.softSteps());
    line += walk.isWalking() ? " walking 1" : " walking 0";
    line += " idle ";
    appendFixed(line, idle, 1);

    // The readings sorted as text, not as numbers: -100 comes before -58.
    std::vector<std::string> values;
    values.reserve(signal.size());
    for (const auto& [device, dbm] : signal) {
        values.push_back(fixed(dbm, 0));
    }
    std::sort(values.begin(), values.end());
    line += " rssi ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += values[i];
    }
    line += " drop ";
    appendFixed(line, guard.signalDrop().value_or(-99.0), 0);

    vertMin_ = 0.0;
    vertMax_ = 0.0;
    samples_ = 0;
    return line;
}

} // namespace quelmo
