// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>

namespace quelmo {

// A number the detection core accepts from outside: finite, and small enough
// that the sums and differences the core forms from it cannot overflow.
inline bool isUsable(double x) {
    return std::isfinite(x) && std::fabs(x) <= 1e307;
}

} // namespace quelmo
