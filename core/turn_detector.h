// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace quelmo {

// Tuning of the turn detector. Plain values; the defaults are the product's.
struct TurnSettings {
    double triggerAngle = 50.0;          // degrees: at or beyond counts as turned away
    double releaseMargin = 15.0;         // degrees of hysteresis below the trigger angle
    double triggerDelay = 0.3;           // s, turn-on delay just at the trigger angle
    double decisiveExtra = 15.0;         // degrees past the trigger for the shortest delay
    double decisiveDelay = 0.15;         // s, turn-on delay for a decisive turn
    double releaseDelay = 0.2;           // s, turn-off delay inside the release angle
    double fastReleaseExtra = 15.0;      // degrees inside the release angle for a fast release
    double fastReleaseDelay = 0.05;      // s
    double returningSpeed = 60.0;        // degrees/s swinging back that vetoes a turn-on
    double warmup = 3.0;                 // s during which forward follows the head
    double driftBand = 20.0;             // degrees: closer than this, forward follows slowly
    double driftTimeConstant = 20.0;     // s
    double smoothingTimeConstant = 0.05; // s
    double jumpMinimum = 20.0;           // degrees
    double jumpSpeed = 1200.0;           // degrees/s
    double driftLearningTime = 60.0;     // s of following before the drift rate is applied
    double driftRateTimeConstant = 90.0; // s
    double maxDriftRate = 0.2;           // degrees/s

    double releaseAngle() const { return triggerAngle - releaseMargin; }

    bool operator==(const TurnSettings&) const = default;
};

// Turns head headings into a signed angle from a learned forward direction and a
// turned-away decision with hysteresis and angle-dependent delays. Pure
// arithmetic: every sample brings its own time stamp.
class TurnDetector {
  public:
    TurnSettings settings;

    // Processes one sample; true exactly when isTurnedAway changed.
    bool update(double heading, double at);
    bool isWarmingUp(double at) const;
    void recenter();
    void nudgeForward(double fraction);
    void reset();

    const std::optional<double>& forward() const { return forward_; }
    double angle() const { return angle_; }
    double velocity() const { return velocity_; }
    bool isTurnedAway() const { return isTurnedAway_; }
    std::int64_t jumpsCancelled() const { return jumpsCancelled_; }
    double driftRate() const { return driftRate_; }

  private:
    std::optional<double> forward_;
    double angle_ = 0.0;
    double velocity_ = 0.0;
    bool isTurnedAway_ = false;
    std::int64_t jumpsCancelled_ = 0;
    double driftRate_ = 0.0;
    double driftLearnedFor_ = 0.0;
    std::optional<double> filtered_;
    std::optional<double> lastRaw_;
    std::optional<double> lastTime_;
    std::optional<double> pendingSince_;
    std::optional<double> warmUntil_;
};

} // namespace quelmo
