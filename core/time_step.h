// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// The step between two time stamps, bounded to [lo, hi]. The lower bound is
// tested last, so a step that does not advance (zero or negative) gives lo.
inline double boundedStep(double d, double lo, double hi) {
    double dt = d;
    if (d > hi) {
        dt = hi;
    }
    if (d <= lo) {
        dt = lo;
    }
    return dt;
}

// Samples and input readings: 1 ms to 0.5 s.
inline double sampleStep(double d) {
    return boundedStep(d, 0.001, 0.5);
}

} // namespace quelmo
