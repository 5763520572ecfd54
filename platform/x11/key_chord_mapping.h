// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyCombination>

#include <cstdint>
#include <optional>
#include <vector>

namespace quelmo::x11 {

// A chord in X11 terms: a keysym and the core modifier mask held with it.
struct X11KeyChord {
    std::uint32_t keysym = 0;
    unsigned modifiers = 0;

    bool operator==(const X11KeyChord&) const = default;
};

// Maps a Qt chord onto X11: a letter or digit key becomes its keysym (the lower-case
// letter), Meta becomes Super (Mod4), Alt becomes Mod1, Control and Shift stay.
// Returns nothing for any other key or modifier (the keypad, the group switch), so an
// unsupported chord never grabs some other key.
std::optional<X11KeyChord> x11KeyChord(QKeyCombination chord);

// Every combination of the bits in lockMasks, the empty one first. A passive grab only
// matches the exact modifier state, so a chord is grabbed once per combination to work
// whatever Caps Lock, NumLock and Scroll Lock are doing.
std::vector<unsigned> lockModifierCombinations(unsigned lockMasks);

} // namespace quelmo::x11
