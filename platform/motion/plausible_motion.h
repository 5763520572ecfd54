// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/motion_conversion.h"

#include <cstddef>
#include <cstdint>

namespace quelmo {

// Passes on only samples a head on a body can produce. Earbuds send what they
// like on the sensor opcode, and a damaged or foreign message that happens to
// decode must not become a step or a turn:
// - an accelerometer reading above kMaxAcceleration (gravity included) is
//   odd: walking peaks near 1.5 g and sitting down hard near 3 g, while
//   random words read as 10 to 30 g;
// - an attitude more than kMaxStepDegrees away from the last one is held
//   back one sample: if the next sample stays near it, the leap was real (a
//   re-centre, or samples lost) and both are passed on; if the next one is
//   back where the head was, the leap was odd and is dropped. A head turns
//   at most 600 to 800 degrees a second, about 30 degrees between two
//   samples at 25 Hz.
// Standard library only, no allocation; one thread at a time.
class PlausibleMotion {
  public:
    static constexpr double kMaxAcceleration = 4.0; // g
    static constexpr double kMaxStepDegrees = 45.0;

    // A sample with the time it arrived (any clock): a held one keeps its own.
    struct Timed {
        DeviceMotion motion;
        double at = 0;
    };
    // Screens one sample: writes the samples to pass on now (none, one, or a
    // held one and this one) into out, and returns how many. A held sample
    // is passed on with the time it arrived, so a real leap reaches the turn
    // detector as fast as it happened (and is taken for a re-centre there).
    std::size_t screen(const DeviceMotion& sample, double at, Timed out[2]);
    // A new stream: nothing to compare with.
    void reset();
    std::uint64_t odd() const { return odd_; }

  private:
    bool hasLast_ = false;
    bool hasHeld_ = false;
    DeviceMotion last_;
    Timed held_;
    std::uint64_t odd_ = 0;
};

// The rotation between two attitudes, 0 to 180 degrees.
double rotationBetween(const DeviceMotion& a, const DeviceMotion& b);

} // namespace quelmo
