// SPDX-License-Identifier: MIT
#pragma once

// Report descriptors of head trackers on the open HID standard, for the fake
// tracker and the tests. Both are built here from the standard's published
// layout (Sensors page 0x20, usage 0xE1, the fields by their usages); they
// are not dumps of a device.

#include <cstdint>
#include <vector>

namespace quelmo::sim {

// The standard's layout: the read-only feature report (description and
// unique id) with id 2, the state feature report (reporting state, power
// state, report interval) with id 1, the input report with id 1; physical
// ranges as the standard gives them (-pi..pi as -31416..31416 with unit
// exponent -4; 10..100 ms).
std::vector<unsigned char> standardTrackerDescriptor();
// A firmware variant: ids 14, 1 and 3; usages written as four-byte
// (page and id) items; the globals pushed and popped around the input report;
// no physical range for the rotation (the standard's -pi..pi is meant); no
// report interval and no unique id.
std::vector<unsigned char> variantTrackerDescriptor();
// A boot keyboard: the descriptor every keyboard offers for the boot protocol.
std::vector<unsigned char> keyboardDescriptor();

} // namespace quelmo::sim
