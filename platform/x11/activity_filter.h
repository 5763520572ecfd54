// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>

namespace quelmo::x11 {

// The raw input events the activity listener receives.
enum class RawInput { keyPress, buttonPress, motion };

// Whether a raw event is one of the kinds that show the user at work: a key press of a key
// that is not a modifier, pointer motion (dragging included), a left or right button press,
// or a scroll (buttons 4 to 7). The middle and extra buttons and modifier-only presses do
// not count. detail is the key code or the button number.
bool countsAsActivity(RawInput input, int detail, const std::bitset<256>& modifierKeycodes);

} // namespace quelmo::x11
