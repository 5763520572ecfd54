// SPDX-License-Identifier: MIT
#include "core/turn_detector.h"

#include "core/time_step.h"
#include "core/wrap_degrees.h"

#include <cmath>

namespace quelmo {

namespace {

constexpr double kVelocityTimeConstant = 0.1;

} // namespace

bool TurnDetector::update(double h, double t) {
    const TurnSettings s = settings;

    // Time since the previous sample.
    double dt = 0.02;
    if (lastTime_) {
        dt = sampleStep(t - *lastTime_);
    }
    lastTime_ = t;

    // A sudden re-zeroing of the sensor moves forward and the smoothed heading
    // together, so the angle does not jump with it.
    if (lastRaw_) {
        const double delta = wrapDegrees(h - *lastRaw_);
        if (std::fabs(delta) >= s.jumpMinimum && std::fabs(delta) / dt >= s.jumpSpeed && forward_ &&
            filtered_) {
            forward_ = wrapDegrees(*forward_ + delta);
            filtered_ = wrapDegrees(*filtered_ + delta);
            jumpsCancelled_ += 1;
        }
    }
    lastRaw_ = h;

    // Smoothing of the heading and of its rate of change.
    if (!filtered_) {
        filtered_ = h;
        velocity_ = 0.0;
    } else {
        const double a = 1.0 - std::exp(-dt / s.smoothingTimeConstant);
        const double next = wrapDegrees(*filtered_ + a * wrapDegrees(h - *filtered_));
        const double rate = wrapDegrees(next - *filtered_) / dt;
        velocity_ = velocity_ + (1.0 - std::exp(-dt / kVelocityTimeConstant)) * (rate - velocity_);
        filtered_ = next;
    }

    // Warm-up: forward simply follows the head.
    if (!forward_) {
        forward_ = filtered_;
        warmUntil_ = t + s.warmup;
    }
    if (warmUntil_ && t < *warmUntil_) {
        forward_ = filtered_;
        angle_ = 0.0;
        pendingSince_.reset();
        return false;
    }

    // Forward slowly follows where the head rests.
    double off = wrapDegrees(*filtered_ - *forward_);
    if (!isTurnedAway_ && std::fabs(off) < s.driftBand) {
        const double step = (1.0 - std::exp(-dt / s.driftTimeConstant)) * off;
        forward_ = wrapDegrees(*forward_ + step);
        driftRate_ =
            driftRate_ + (1.0 - std::exp(-dt / s.driftRateTimeConstant)) * (step / dt - driftRate_);
        if (driftRate_ <= -s.maxDriftRate) {
            driftRate_ = -s.maxDriftRate;
        }
        if (driftRate_ > s.maxDriftRate) {
            driftRate_ = s.maxDriftRate;
        }
        driftLearnedFor_ += dt;
        off = wrapDegrees(*filtered_ - *forward_);
    } else if (driftLearnedFor_ >= s.driftLearningTime) {
        forward_ = wrapDegrees(*forward_ + dt * driftRate_);
        off = wrapDegrees(*filtered_ - *forward_);
    }
    angle_ = off;
    const double magnitude = std::fabs(angle_);

    if (!isTurnedAway_) {
        // Turning away: past the trigger angle, unless already swinging back fast.
        bool holds = magnitude >= s.triggerAngle;
        if (holds && velocity_ * angle_ < 0.0) {
            holds = std::fabs(velocity_) < s.returningSpeed;
        }
        if (!holds) {
            pendingSince_.reset();
            return false;
        }
        if (!pendingSince_) {
            pendingSince_ = t;
        }
        const double span = s.decisiveExtra > 0.001 ? s.decisiveExtra : 0.001;
        const double e = (magnitude - s.triggerAngle) / span;
        double f = e;
        if (e <= 0.0) {
            f = 0.0;
        } else if (e > 1.0) {
            f = 1.0;
        }
        const double needed = s.triggerDelay + (s.decisiveDelay - s.triggerDelay) * f;
        if (t - *pendingSince_ >= needed) {
            pendingSince_.reset();
            isTurnedAway_ = true;
            return true;
        }
        return false;
    }

    // Looking back: inside the release angle for long enough.
    const double release = s.triggerAngle - s.releaseMargin;
    if (magnitude > release) {
        pendingSince_.reset();
        return false;
    }
    if (!pendingSince_) {
        pendingSince_ = t;
    }
    const double needed =
        magnitude <= release - s.fastReleaseExtra ? s.fastReleaseDelay : s.releaseDelay;
    if (t - *pendingSince_ >= needed) {
        pendingSince_.reset();
        isTurnedAway_ = false;
        return true;
    }
    return false;
}

bool TurnDetector::isWarmingUp(double at) const {
    if (warmUntil_) {
        return at < *warmUntil_;
    }
    return !forward_.has_value();
}

void TurnDetector::recenter() {
    forward_ = filtered_;
    angle_ = 0.0;
    pendingSince_.reset();
    isTurnedAway_ = false;
}

void TurnDetector::nudgeForward(double fraction) {
    if (!forward_ || !filtered_) {
        return;
    }
    double c = fraction;
    if (fraction <= 0.0) {
        c = 0.0;
    } else if (fraction > 1.0) {
        c = 1.0;
    }
    forward_ = wrapDegrees(*forward_ + c * wrapDegrees(*filtered_ - *forward_));
    angle_ = wrapDegrees(*filtered_ - *forward_);
}

void TurnDetector::reset() {
    forward_.reset();
    filtered_.reset();
    lastRaw_.reset();
    lastTime_.reset();
    pendingSince_.reset();
    warmUntil_.reset();
    angle_ = 0.0;
    velocity_ = 0.0;
    isTurnedAway_ = false;
}

} // namespace quelmo
