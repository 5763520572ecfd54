// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// The head-tracker part of quelmo --probe-headphones: every hidraw node with
// its verdict, each tracker's description, unique id and whether Quelmo may
// open it (and the command that allows it when not). True when a tracker (or
// the QUELMO_HID_TRACKER door) is there to listen to.
bool surveyHeadTrackers();
// Listens to the first tracker for `seconds`: reports per second and the
// heading's range. Returns the probe's exit status (0 when reports came).
int listenToHeadTracker(int seconds);

} // namespace quelmo
