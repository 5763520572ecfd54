// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace quelmo::gauge {

// The size of an angle in whole degrees, halves away from zero (31.5 gives 32,
// -12.5 gives 13). Not a number counts as 0.
long long wholeDegrees(double angle);

// The big angle readout of the settings header and the guide: "37°".
QString angleReadout(double angle);

// What a screen reader says for the gauge.
QString accessibilityLabel();
// "32 degrees left", "12 degrees right", "2 degrees " within 2 degrees of the
// middle, and "not tracking" when the angle is not live.
QString accessibilityValue(double angle, bool active);

} // namespace quelmo::gauge
