// SPDX-License-Identifier: MIT
#pragma once

#include <X11/Xlib.h>

#include <bitset>

namespace quelmo::x11 {

// Key codes the server currently treats as modifiers (Shift, Control, Alt, Super, the
// locks, ...), read from its modifier map.
using KeycodeSet = std::bitset<256>;
KeycodeSet modifierKeycodes(Display* display);

// The core modifier mask (Mod1Mask ... Mod5Mask, LockMask, ...) that the key producing
// keysym sets, or 0 when no key with that keysym is a modifier.
unsigned modifierMaskOf(Display* display, KeySym keysym);

} // namespace quelmo::x11
