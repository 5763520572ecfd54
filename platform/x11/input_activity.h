// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// How long ago the user last touched the keyboard or mouse, in any application.
namespace InputActivity {

// What secondsSinceLastEvent() reports when no X display can be reached (a Wayland session
// without XWayland, or no display at all): so long that it never passes for recent use.
inline constexpr double kIdleSecondsWithoutDisplay = 1e9;

// Seconds since the last key press of a key that is not a modifier, pointer motion, left or
// right button press, left-button drag or scroll. Never fails. The first call connects to
// $DISPLAY and starts a listener of its own (a few milliseconds); every later call is an
// atomic read. Without a display it reports kIdleSecondsWithoutDisplay and says so once
// on standard error.
double secondsSinceLastEvent();

} // namespace InputActivity
} // namespace quelmo
