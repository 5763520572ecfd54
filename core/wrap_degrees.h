// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>

namespace quelmo {

// Wraps an angle in degrees into [-180, 180]. fmod keeps the sign of x, so one
// correction in each direction is enough; 180 and -180 both stay as they are.
inline double wrapDegrees(double x) {
    double r = std::fmod(x, 360.0);
    if (r > 180.0) {
        r -= 360.0;
    }
    if (r < -180.0) {
        r += 360.0;
    }
    return r;
}

} // namespace quelmo
