// SPDX-License-Identifier: MIT
// Which samples leave every decision as it is. Why the bands are as wide as
// they are, and no wider:
//
// Heading. The turn detector's smoothed heading moves towards each raw
// heading, and forward (while the two are closer than the drift band) moves
// towards the smoothed heading, each by a fraction in [0, 1). So when the raw
// heading, the smoothed one and forward all lie within w of forward's current
// direction, every admitted sample keeps all three there: the angle stays
// within 2w, the previous raw heading within 2w of the next, and the drift
// branch is the one taken. With 2w below the trigger angle, the drift band and
// the jump minimum, no turn starts, no jump is cancelled and forward never
// drifts on its own.
//
// Vertical acceleration. The walk detector's slow mean moves towards each
// sample and its fast one towards (sample - slow mean), again by fractions in
// [0, 1). Samples within v of the slow mean keep the slow mean there, so the
// band-passed signal stays within max(|now|, 2v); with that below both step
// thresholds no peak is counted and walking cannot start.
#include "core/quiet_band.h"

#include "core/privacy_guard.h"
#include "core/wrap_degrees.h"

#include <algorithm>
#include <cmath>

namespace quelmo {

namespace {

// 2 x 0.45 keeps a tenth of each limit as room for rounding.
constexpr double kShare = 0.45;

bool positive(double x) {
    return std::isfinite(x) && x > 0.0;
}

} // namespace

bool QuietBand::admits(double h, double v, double at) const {
    return at >= from && at < until && std::fabs(wrapDegrees(h - heading)) <= headingHalfWidth &&
           std::fabs(v - vertical) <= verticalHalfWidth;
}

std::optional<QuietBand> TurnDetector::quietBand() const {
    const TurnSettings& s = settings;
    if (!forward_ || !filtered_ || !lastRaw_ || !lastTime_ || !warmUntil_ ||
        *lastTime_ < *warmUntil_ || isTurnedAway_ || pendingSince_) {
        return std::nullopt;
    }
    if (!positive(s.triggerAngle) || !positive(s.driftBand) || !positive(s.jumpMinimum) ||
        !positive(s.smoothingTimeConstant) || !positive(s.driftTimeConstant)) {
        return std::nullopt;
    }
    // At most 45 degrees, so every difference stays far from the wrap at 180.
    const double w =
        std::min(kShare * std::min({s.triggerAngle, s.driftBand, s.jumpMinimum}), 45.0);
    if (std::fabs(wrapDegrees(*filtered_ - *forward_)) > w ||
        std::fabs(wrapDegrees(*lastRaw_ - *forward_)) > w) {
        return std::nullopt;
    }
    QuietBand band;
    band.heading = *forward_;
    band.headingHalfWidth = w;
    return band;
}

std::optional<QuietBand> WalkDetector::quietBand() const {
    const WalkSettings& s = settings;
    if (isWalking_ || stepsInRhythm_ != 0 || softSteps_ != 0 || !positive(s.stepThreshold) ||
        !positive(s.softThreshold)) {
        return std::nullopt;
    }
    const double threshold = std::min(s.stepThreshold, s.softThreshold);
    if (!std::isfinite(bias_) || !(std::fabs(smooth_) <= 2.0 * kShare * threshold)) {
        return std::nullopt;
    }
    QuietBand band;
    band.vertical = bias_;
    band.verticalHalfWidth = kShare * threshold;
    return band;
}

std::optional<QuietBand> PrivacyGuard::quietBand() const {
    if (!isLive_ || isAway_ || isFrosted_ || !lastMotionTime_) {
        return std::nullopt;
    }
    const auto turn = detector_.quietBand();
    const auto walk = walker_.quietBand();
    if (!turn || !walk) {
        return std::nullopt;
    }
    QuietBand band = *turn;
    band.vertical = walk->vertical;
    band.verticalHalfWidth = walk->verticalHalfWidth;
    band.from = *lastMotionTime_;
    return band;
}

} // namespace quelmo
