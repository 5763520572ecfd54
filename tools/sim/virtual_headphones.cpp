// SPDX-License-Identifier: MIT
#include "tools/sim/virtual_headphones.h"

#include <algorithm>
#include <cmath>

namespace quelmo::sim {

namespace {
constexpr double kPi = 3.141592653589793;
// "face" reaches the screen within this time, however long the step.
constexpr double kFaceSeconds = 0.5;

double smoothStep(double u) {
    u = std::clamp(u, 0.0, 1.0);
    return u * u * (3 - 2 * u);
}
} // namespace

DeviceMotion VirtualHeadphones::sample(double t) const {
    const double half = heading * kPi / 360.0;
    DeviceMotion m{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, 0};
    // Gravity points down (-z), so an upward push is +z.
    m.az = gait * std::sin(2 * kPi * kGaitHz * t);
    return m;
}

ScriptPlayer::ScriptPlayer(std::vector<Step> steps) : steps_(std::move(steps)) {}

double ScriptPlayer::totalSeconds() const {
    double total = 0;
    for (const Step& s : steps_)
        total += s.seconds;
    return total;
}

void ScriptPlayer::begin(VirtualHeadphones& phones) {
    const Step& step = steps_[index_];
    fromHeading_ = phones.heading;
    phones.gait = 0;
    switch (step.action) {
    case Action::walk:
        phones.gait = VirtualHeadphones::kWalkG;
        break;
    case Action::quietWalk:
        phones.gait = VirtualHeadphones::kQuietWalkG;
        break;
    case Action::connect:
        connectionChanged |= !phones.connected;
        phones.connected = true;
        break;
    case Action::disconnect:
        connectionChanged |= phones.connected;
        phones.connected = false;
        break;
    case Action::rssi:
        phones.rssi = static_cast<int>(std::lround(step.argument));
        break;
    case Action::face:
    case Action::turn:
    case Action::hold:
        break;
    }
    begun_ = true;
    if (onStep)
        onStep(step, stepStart_);
}

bool ScriptPlayer::advance(double t, VirtualHeadphones& phones) {
    while (index_ < steps_.size()) {
        if (!begun_)
            begin(phones);
        const Step& step = steps_[index_];
        const double elapsed = t - stepStart_;
        if (step.action == Action::turn || step.action == Action::face) {
            const double target = step.action == Action::turn ? step.argument : 0.0;
            const double span =
                step.action == Action::turn ? step.seconds : std::min(step.seconds, kFaceSeconds);
            const double u = span > 0 ? elapsed / span : 1.0;
            phones.heading = fromHeading_ + (target - fromHeading_) * smoothStep(u);
        }
        if (elapsed < step.seconds)
            return true;
        stepStart_ += step.seconds;
        ++index_;
        begun_ = false;
    }
    phones.gait = 0;
    return false;
}

double approach(double heading, double target, double dt) {
    const double step = VirtualHeadphones::kTurnSpeed * dt;
    if (std::fabs(target - heading) <= step)
        return target;
    return heading + (target > heading ? step : -step);
}

} // namespace quelmo::sim
