// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/motion_conversion.h"
#include "tools/sim/sim_script.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace quelmo::sim {

// The simulated wearer: where the head points, whether they walk, whether
// the earbuds are connected and how strong their signal is.
class VirtualHeadphones {
  public:
    static constexpr double kGaitHz = 1.9;
    static constexpr double kWalkG = 0.3;
    static constexpr double kQuietWalkG = 0.09;
    static constexpr double kTurnSpeed = 180.0; // degrees/s toward the interactive target

    double heading = 0;
    double gait = 0; // amplitude of the vertical gait in g; 0 = standing still
    bool connected = true;
    int rssi = -55;

    // The device-motion sample at time t (seconds): upright, turned by
    // heading about the vertical axis, with the gait's vertical acceleration.
    DeviceMotion sample(double t) const;
};

// Plays a script against the headphones in real or virtual time.
class ScriptPlayer {
  public:
    explicit ScriptPlayer(std::vector<Step> steps);

    // Brings the headphones to time t (seconds since the start). Returns
    // false once the script has ended. A connect or disconnect that happened
    // since the last call is left in connectionChanged.
    bool advance(double t, VirtualHeadphones& phones);

    bool connectionChanged = false;
    // Called as each step begins, with the script time it begins at.
    std::function<void(const Step&, double)> onStep;
    const Step* current() const { return index_ < steps_.size() ? &steps_[index_] : nullptr; }
    double totalSeconds() const;

  private:
    void begin(VirtualHeadphones& phones);

    std::vector<Step> steps_;
    std::size_t index_ = 0;
    bool begun_ = false;
    double stepStart_ = 0;
    double fromHeading_ = 0;
};

// Moves heading toward target at kTurnSpeed for dt seconds (interactive mode).
double approach(double heading, double target, double dt);

} // namespace quelmo::sim
