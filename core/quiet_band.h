// SPDX-License-Identifier: MIT
#pragma once

#include <limits>

namespace quelmo {

// Head samples that cannot change any decision of the privacy guard from the
// state it was in when it gave the band: a receiver may hold such samples and
// hand them over later, in order and with their own time stamps, without any
// frost, away state, turn, walk, status or step count coming out differently
// or later. Plain values; the guard works them out (PrivacyGuard::quietBand).
struct QuietBand {
    double heading = 0.0;          // degrees: the forward direction
    double headingHalfWidth = 0.0; // degrees either side of it
    double vertical = 0.0;         // g: the walk detector's slow mean
    double verticalHalfWidth = 0.0;
    double from = 0.0; // samples stamped earlier than the guard's latest are not quiet
    // Samples stamped at or after this are not quiet: whoever publishes the
    // band may bound how long samples wait.
    double until = std::numeric_limits<double>::infinity();

    // Whether a sample (heading in degrees, vertical acceleration in g, time
    // stamp in s) is quiet. Anything not a number is not.
    bool admits(double heading, double vertical, double at) const;

    bool operator==(const QuietBand&) const = default;
};

} // namespace quelmo
