// SPDX-License-Identifier: MIT
#pragma once

#include "core/guard_settings.h"
#include "core/turn_detector.h"
#include "core/walk_detector.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quelmo {

// One Bluetooth reading: device address (opaque text) -> signal strength in dBm.
using SignalReadings = std::map<std::string, double>;

// The single decision object: combines head turns, walking, keyboard and mouse
// activity and the Bluetooth signal into "away" and "frosted". It never reads a
// clock; every operation that needs the time takes it as an argument.
//
// Numbers that are not finite (or so large that arithmetic on them would
// overflow) never enter its state: such calls change nothing, and such signal
// readings are left out as if absent.
class PrivacyGuard {
  public:
    enum class Status { noSignal, calibrating, watching, frosted, away };

    InputSettings input;
    AwaySettings away;
    // Called with the new value of isFrosted on every change, inside the call
    // that changed it.
    std::function<void(bool)> onFrostChange;

    TurnDetector& detector() { return detector_; }
    const TurnDetector& detector() const { return detector_; }
    WalkDetector& walker() { return walker_; }
    const WalkDetector& walker() const { return walker_; }

    bool isLive() const { return isLive_; }
    bool isAway() const { return isAway_; }
    bool isFrosted() const { return isFrosted_; }
    std::int64_t inputOverrides() const { return inputOverrides_; }
    bool isWorking() const { return isWorking_; }
    const std::optional<double>& signalDrop() const { return signalDrop_; }

    Status status(double at) const;
    std::optional<double> motionAge(double at) const;

    // Everything a head sample can decide, as it stands at `at`: a change of
    // any of these is acted on (frost, status) or shown (the turn, steps).
    struct Decisions {
        bool live, frosted, away, turnedAway, walking;
        Status status;
        std::int64_t steps, softSteps, jumps;
        bool operator==(const Decisions&) const = default;
    };
    Decisions decisions(double at) const;

    void motion(double heading, double verticalAcceleration, double at);
    void inputActivity(double idleFor, double at);
    void proximity(const SignalReadings& readings, double at);
    void signalLost(double at);
    void stop();
    void recenter();

  private:
    struct SignalSample {
        double t;
        double v;
    };

    void sync();
    bool lastInputOlderThanVeto(double t) const;
    std::optional<double> latestDrop(double now) const;

    TurnDetector detector_;
    WalkDetector walker_;
    bool isLive_ = false;
    bool isAway_ = false;
    bool isFrosted_ = false;
    std::int64_t inputOverrides_ = 0;
    bool isWorking_ = false;
    std::optional<double> frostedWorkingSince_;
    std::optional<double> lastInputPoll_;
    std::optional<double> lastInputEventAt_;
    std::optional<double> lastMotionTime_;
    std::optional<double> lastWalkedAt_;
    double awayStartedAt_ = 0.0;
    std::map<std::string, double> deskSignal_;
    std::map<std::string, std::vector<SignalSample>> recentSignal_;
    std::optional<double> lastProximityAt_;
    std::optional<double> lastStepHintAt_;
    std::optional<double> signalDrop_;
};

// Case names as the tools print them ("noSignal", "calibrating", ...).
const char* statusName(PrivacyGuard::Status status);

} // namespace quelmo
