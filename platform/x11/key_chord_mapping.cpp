// SPDX-License-Identifier: MIT
#include "platform/x11/key_chord_mapping.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <array>
#include <utility>

namespace quelmo::x11 {
namespace {

constexpr std::array<std::pair<Qt::KeyboardModifier, unsigned>, 4> kX11MaskOfModifier{{
    {Qt::MetaModifier, Mod4Mask},
    {Qt::ShiftModifier, ShiftMask},
    {Qt::AltModifier, Mod1Mask},
    {Qt::ControlModifier, ControlMask},
}};

} // namespace

std::optional<X11KeyChord> x11KeyChord(QKeyCombination chord) {
    X11KeyChord x11;
    // Qt numbers letters by their upper-case character, X11 names a letter key by its
    // lower-case keysym; digits are their characters in both.
    const int key = chord.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        x11.keysym = XK_a + static_cast<std::uint32_t>(key - Qt::Key_A);
    } else if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        x11.keysym = XK_0 + static_cast<std::uint32_t>(key - Qt::Key_0);
    } else {
        return std::nullopt;
    }
    Qt::KeyboardModifiers unmapped = chord.keyboardModifiers();
    for (const auto& [modifier, mask] : kX11MaskOfModifier) {
        if (unmapped.testFlag(modifier)) {
            x11.modifiers |= mask;
            unmapped.setFlag(modifier, false);
        }
    }
    if (unmapped != Qt::NoModifier) {
        return std::nullopt;
    }
    return x11;
}

std::vector<unsigned> lockModifierCombinations(unsigned lockMasks) {
    std::vector<unsigned> combinations{0};
    for (unsigned bit = 1; bit != 0 && bit <= lockMasks; bit <<= 1) {
        if ((lockMasks & bit) == 0) {
            continue;
        }
        const std::size_t count = combinations.size();
        for (std::size_t i = 0; i < count; ++i) {
            combinations.push_back(combinations[i] | bit);
        }
    }
    return combinations;
}

} // namespace quelmo::x11
