// SPDX-License-Identifier: MIT
#include "core/walk_detector.h"

#include "core/time_step.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quelmo {

namespace {
constexpr double kBiasTimeConstant = 1.5;
constexpr double kSmoothTimeConstant = 0.04;
} // namespace

bool WalkDetector::update(double a, double t) {
    const WalkSettings s = settings;

    // Time since the previous sample.
    double dt = 0.02;
    if (lastTime_) {
        dt = sampleStep(t - *lastTime_);
    }
    lastTime_ = t;
    const bool wasWalking = isWalking_;

    // Band-pass: a slow mean removes posture and sensor offset, a fast one
    // removes jitter.
    bias_ = bias_ + (1.0 - std::exp(-dt / kBiasTimeConstant)) * (a - bias_);
    smooth_ = smooth_ + (1.0 - std::exp(-dt / kSmoothTimeConstant)) * ((a - bias_) - smooth_);
    const double sig = smooth_;

    // Hard steps: clear peaks of the filtered signal.
    if (!armed_) {
        if (sig <= s.rearmLevel) {
            armed_ = true;
        }
    } else if (sig >= s.stepThreshold) {
        bool counted = true;
        if (!lastStepAt_) {
            stepsInRhythm_ = 1;
        } else {
            const double gap = t - *lastStepAt_;
            if (gap < s.minInterval) {
                counted = false; // stays armed: a later sample of this peak may count
            } else if (gap > s.maxInterval) {
                stepsInRhythm_ = 1;
            } else {
                stepsInRhythm_ += 1;
            }
        }
        if (counted) {
            lastStepAt_ = t;
            armed_ = false;
            if (stepsInRhythm_ >= s.stepsNeeded) {
                isWalking_ = true;
            }
        }
    }

    // Soft steps, on the same filtered signal.
    if (!softArmed_) {
        if (sig <= s.rearmLevel) {
            softArmed_ = true;
        }
    } else if (sig >= s.softThreshold) {
        bool counted = true;
        if (!softLastAt_) {
            softSteps_ = 1;
            softGap_.reset();
        } else {
            const double gap = t - *softLastAt_;
            if (gap < s.minInterval) {
                counted = false;
            } else if (gap > s.maxInterval) {
                softSteps_ = 1;
                softGap_.reset();
            } else {
                // An irregular step starts a new run of two: it and the one before.
                if (softGap_ && std::fabs(gap - *softGap_) > s.softRegularity * *softGap_) {
                    softSteps_ = 2;
                } else {
                    softSteps_ += 1;
                }
                softGap_ = gap;
            }
        }
        if (counted) {
            softLastAt_ = t;
            softArmed_ = false;
            if (softSteps_ >= s.softStepsNeeded) {
                isWalking_ = true;
            }
        }
    }

    // Walking ends some time after the latest peak of either kind.
    if (lastStepAt_ || softLastAt_) {
        const double none = -std::numeric_limits<double>::infinity();
        const double latest = std::max(lastStepAt_.value_or(none), softLastAt_.value_or(none));
        if (t - latest > s.stopAfter) {
            isWalking_ = false;
            stepsInRhythm_ = 0;
            softSteps_ = 0;
            softGap_.reset();
        }
    }

    return isWalking_ != wasWalking;
}

void WalkDetector::reset() {
    isWalking_ = false;
    lastStepAt_.reset();
    stepsInRhythm_ = 0;
    smooth_ = 0.0;
    bias_ = 0.0;
    lastTime_.reset();
    armed_ = true;
    softArmed_ = true;
    softLastAt_.reset();
    softGap_.reset();
    softSteps_ = 0;
}

} // namespace quelmo
