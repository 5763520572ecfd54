// SPDX-License-Identifier: MIT
#pragma once

#include "core/privacy_guard.h"

#include <limits>
#include <optional>

namespace quelmo {

// The guard's next decisions worked out ahead, on a copy of it. Whoever
// receives head samples may hold back every sample the copy says decides
// nothing, and hand them over later, in order and with their own time stamps:
// the guard, given the same samples from the same state, comes to exactly the
// same place, and the first sample that does decide something is handed over
// at once. A head that moves without deciding anything (reading across a
// screen) is held as well as a still one.
//
// The copy is made when the preview is, so it holds only as long as the guard
// is given nothing else (no other sample, no keyboard or signal reading, no
// change of settings); whoever makes it publishes a new one after each such
// change. Plain values; safe to move to another thread.
class DecisionPreview {
  public:
    // A preview of `guard` as it is now, or none while nothing may be held:
    // not live, away or frosted (samples there decide or soon may).
    // Samples stamped at or after `until` are never admitted, which bounds
    // how long a held sample waits.
    static std::optional<DecisionPreview> of(const PrivacyGuard& guard, double until);
    // Whether `of` would give a preview of `guard`.
    static bool isPossible(const PrivacyGuard& guard);

    // Gives the sample (heading in degrees, vertical acceleration in g, time
    // stamp in s) to the copy: true when it changed none of its decisions.
    // Once a sample is refused the preview is spent: the sample is the
    // guard's to take, and the copy has moved past the state it holds.
    bool admits(double heading, double vertical, double at);

  private:
    DecisionPreview(const PrivacyGuard& guard, double until);

    PrivacyGuard copy_;
    double until_ = std::numeric_limits<double>::infinity();
    bool spent_ = false;
};

} // namespace quelmo
