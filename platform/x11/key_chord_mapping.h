// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace quelmo::x11 {

// Modifier bits of a hot key chord as GlobalHotKey's callers write them.
inline constexpr int kCommandModifier = 0x100;
inline constexpr int kShiftModifier = 0x200;
inline constexpr int kOptionModifier = 0x800;
inline constexpr int kControlModifier = 0x1000;

// A chord in X11 terms: a keysym and the core modifier mask held with it.
struct X11KeyChord {
    std::uint32_t keysym = 0;
    unsigned modifiers = 0;

    bool operator==(const X11KeyChord&) const = default;
};

// Maps a key code (key positions of the ANSI layout numbered as the hot key's callers
// number them; the letters and digits are supported) and a modifier mask onto X11.
// Command becomes Super (Mod4), Option becomes Alt (Mod1), Control and Shift stay.
// Returns nothing for a key code outside the table or a mask with any other bit set,
// so an unsupported chord never grabs some other key.
std::optional<X11KeyChord> x11KeyChord(int keyCode, int modifiers);

// Every combination of the bits in lockMasks, the empty one first. A passive grab only
// matches the exact modifier state, so a chord is grabbed once per combination to work
// whatever Caps Lock, NumLock and Scroll Lock are doing.
std::vector<unsigned> lockModifierCombinations(unsigned lockMasks);

} // namespace quelmo::x11
