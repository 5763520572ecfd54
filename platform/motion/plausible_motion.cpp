// SPDX-License-Identifier: MIT
#include "platform/motion/plausible_motion.h"

#include <algorithm>
#include <cmath>

namespace quelmo {

namespace {

bool finite(const DeviceMotion& m) {
    for (const double v : {m.qx, m.qy, m.qz, m.qw, m.gx, m.gy, m.gz, m.ax, m.ay, m.az})
        if (!std::isfinite(v))
            return false;
    return true;
}

double accelerometer(const DeviceMotion& m) {
    return std::sqrt((m.gx + m.ax) * (m.gx + m.ax) + (m.gy + m.ay) * (m.gy + m.ay) +
                     (m.gz + m.az) * (m.gz + m.az));
}

} // namespace

double rotationBetween(const DeviceMotion& a, const DeviceMotion& b) {
    const double na = std::sqrt(a.qx * a.qx + a.qy * a.qy + a.qz * a.qz + a.qw * a.qw);
    const double nb = std::sqrt(b.qx * b.qx + b.qy * b.qy + b.qz * b.qz + b.qw * b.qw);
    if (na <= 0 || nb <= 0)
        return 180.0;
    const double dot = std::fabs(a.qx * b.qx + a.qy * b.qy + a.qz * b.qz + a.qw * b.qw) / (na * nb);
    return 2.0 * std::acos(std::min(1.0, dot)) * 180.0 / 3.141592653589793;
}

std::size_t PlausibleMotion::screen(const DeviceMotion& sample, double at, Timed out[2]) {
    if (!finite(sample) || accelerometer(sample) > kMaxAcceleration) {
        ++odd_;
        return 0;
    }
    if (!hasLast_) {
        hasLast_ = true;
        last_ = sample;
        out[0] = Timed{sample, at};
        return 1;
    }
    if (hasHeld_) {
        hasHeld_ = false;
        if (rotationBetween(held_.motion, sample) <= kMaxStepDegrees) {
            // The head is where the leap took it: the leap was real.
            last_ = sample;
            out[0] = held_;
            out[1] = Timed{sample, at};
            return 2;
        }
        ++odd_; // the held pose was a one-sample spike, or so is this one
    }
    if (rotationBetween(last_, sample) > kMaxStepDegrees) {
        hasHeld_ = true;
        held_ = Timed{sample, at};
        return 0;
    }
    last_ = sample;
    out[0] = Timed{sample, at};
    return 1;
}

void PlausibleMotion::reset() {
    hasLast_ = hasHeld_ = false;
}

} // namespace quelmo
