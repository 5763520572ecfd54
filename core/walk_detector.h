// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace quelmo {

// Tuning of the walk detector. Plain values; the defaults are the product's.
struct WalkSettings {
    double stepThreshold = 0.12;  // g: an armed counter counts a hard step at or above
    double rearmLevel = 0.03;     // g: both counters re-arm at or below
    double minInterval = 0.28;    // s: closer peaks are ignored
    double maxInterval = 1.1;     // s: further peaks start a new rhythm
    std::int64_t stepsNeeded = 4; // hard steps in rhythm for walking
    double softThreshold = 0.07;  // g
    std::int64_t softStepsNeeded = 6;
    double softRegularity = 0.35; // allowed change of a soft-step interval, as a fraction
    double stopAfter = 1.6;       // s after the latest peak at which walking ends

    bool operator==(const WalkSettings&) const = default;
};

// Decides from the vertical acceleration of the head whether the user walks:
// band-passes the signal and counts peaks that come at a walking rhythm, with a
// hard counter for clear steps and a soft one for weak but regular steps.
class WalkDetector {
  public:
    WalkSettings settings;

    // Processes one sample; true exactly when isWalking changed.
    bool update(double vertical, double at);
    void reset();

    bool isWalking() const { return isWalking_; }
    const std::optional<double>& lastStepAt() const { return lastStepAt_; }
    std::int64_t stepsInRhythm() const { return stepsInRhythm_; }
    std::int64_t softSteps() const { return softSteps_; }

  private:
    bool isWalking_ = false;
    std::optional<double> lastStepAt_;
    std::int64_t stepsInRhythm_ = 0;
    double smooth_ = 0.0;
    double bias_ = 0.0;
    std::optional<double> lastTime_;
    bool armed_ = true;
    bool softArmed_ = true;
    std::optional<double> softLastAt_;
    std::optional<double> softGap_;
    std::int64_t softSteps_ = 0;
};

} // namespace quelmo
