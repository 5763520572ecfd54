// SPDX-License-Identifier: MIT
#include "platform/x11/key_chord_mapping.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <array>
#include <utility>

namespace quelmo::x11 {
namespace {

// Key codes of the ANSI layout's letter and digit positions.
constexpr std::array<std::pair<int, std::uint32_t>, 36> kKeysymOfKeyCode{{
    {0, XK_a},  {1, XK_s},  {2, XK_d},  {3, XK_f},  {4, XK_h},  {5, XK_g},  {6, XK_z},  {7, XK_x},
    {8, XK_c},  {9, XK_v},  {11, XK_b}, {12, XK_q}, {13, XK_w}, {14, XK_e}, {15, XK_r}, {16, XK_y},
    {17, XK_t}, {18, XK_1}, {19, XK_2}, {20, XK_3}, {21, XK_4}, {22, XK_6}, {23, XK_5}, {25, XK_9},
    {26, XK_7}, {28, XK_8}, {29, XK_0}, {31, XK_o}, {32, XK_u}, {34, XK_i}, {35, XK_p}, {37, XK_l},
    {38, XK_j}, {40, XK_k}, {45, XK_n}, {46, XK_m},
}};

constexpr std::array<std::pair<int, unsigned>, 4> kX11MaskOfModifier{{
    {kCommandModifier, Mod4Mask},
    {kShiftModifier, ShiftMask},
    {kOptionModifier, Mod1Mask},
    {kControlModifier, ControlMask},
}};

} // namespace

std::optional<X11KeyChord> x11KeyChord(int keyCode, int modifiers) {
    X11KeyChord chord;
    for (const auto& [code, keysym] : kKeysymOfKeyCode) {
        if (code == keyCode) {
            chord.keysym = keysym;
        }
    }
    if (chord.keysym == 0) {
        return std::nullopt;
    }
    int unmapped = modifiers;
    for (const auto& [bit, mask] : kX11MaskOfModifier) {
        if ((modifiers & bit) != 0) {
            chord.modifiers |= mask;
            unmapped &= ~bit;
        }
    }
    if (unmapped != 0) {
        return std::nullopt;
    }
    return chord;
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
