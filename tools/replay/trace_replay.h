// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>

namespace quelmo {

// Runs a recorded trace through a fresh PrivacyGuard and writes the decision
// timeline. Lines that cannot be read are reported on `errors` with their line
// number and skipped. Returns the process exit status: 0, or 1 when any line
// was skipped.
int replayTrace(std::istream& trace, std::ostream& timeline, std::ostream& errors);

} // namespace quelmo
