// SPDX-License-Identifier: MIT
#include "platform/x11/key_chord_mapping.h"

// GoogleTest before X11: X.h's None would break its headers.
#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include <algorithm>
#include <set>

namespace quelmo::x11 {
namespace {

TEST(KeyChordMapping, TheRecentreChordBecomesControlAltSuperR) {
    const auto chord = x11KeyChord(15, 6400);
    ASSERT_TRUE(chord.has_value());
    EXPECT_EQ(chord->keysym, static_cast<std::uint32_t>(XK_r));
    EXPECT_EQ(chord->modifiers, static_cast<unsigned>(ControlMask | Mod1Mask | Mod4Mask));
}

TEST(KeyChordMapping, EachModifierBitHasItsOwnX11Modifier) {
    EXPECT_EQ(x11KeyChord(15, kCommandModifier)->modifiers, static_cast<unsigned>(Mod4Mask));
    EXPECT_EQ(x11KeyChord(15, kOptionModifier)->modifiers, static_cast<unsigned>(Mod1Mask));
    EXPECT_EQ(x11KeyChord(15, kControlModifier)->modifiers, static_cast<unsigned>(ControlMask));
    EXPECT_EQ(x11KeyChord(15, kShiftModifier)->modifiers, static_cast<unsigned>(ShiftMask));
    EXPECT_EQ(x11KeyChord(15, 0)->modifiers, 0u);
}

TEST(KeyChordMapping, KeyPositionsFollowTheAnsiLayoutNotTheAlphabet) {
    // The positions where the numbering is out of order are where a table slips.
    EXPECT_EQ(x11KeyChord(0, 0)->keysym, static_cast<std::uint32_t>(XK_a));
    EXPECT_EQ(x11KeyChord(11, 0)->keysym, static_cast<std::uint32_t>(XK_b));
    EXPECT_EQ(x11KeyChord(16, 0)->keysym, static_cast<std::uint32_t>(XK_y));
    EXPECT_EQ(x11KeyChord(17, 0)->keysym, static_cast<std::uint32_t>(XK_t));
    EXPECT_EQ(x11KeyChord(22, 0)->keysym, static_cast<std::uint32_t>(XK_6));
    EXPECT_EQ(x11KeyChord(23, 0)->keysym, static_cast<std::uint32_t>(XK_5));
    EXPECT_EQ(x11KeyChord(29, 0)->keysym, static_cast<std::uint32_t>(XK_0));
    EXPECT_EQ(x11KeyChord(46, 0)->keysym, static_cast<std::uint32_t>(XK_m));
}

TEST(KeyChordMapping, UnsupportedKeysAndModifierBitsGiveNoChord) {
    for (int keyCode : {-1, 10, 24, 36, 49, 53, 127, 0x7fffffff}) {
        EXPECT_FALSE(x11KeyChord(keyCode, 6400).has_value()) << "key code " << keyCode;
    }
    // Caps Lock (0x400), the right-hand modifiers, high and negative masks.
    for (int modifiers : {0x400, 0x2000, 0x4000, 0x8000, 6400 | 0x10000, -1, -6400}) {
        EXPECT_FALSE(x11KeyChord(15, modifiers).has_value()) << "modifiers " << modifiers;
    }
}

TEST(LockModifierCombinations, CoverEverySubsetOfTheLockBitsOnce) {
    EXPECT_EQ(lockModifierCombinations(0), std::vector<unsigned>{0});

    const unsigned locks = LockMask | Mod2Mask | Mod5Mask;
    const auto combinations = lockModifierCombinations(locks);
    EXPECT_EQ(combinations.front(), 0u);
    const std::set<unsigned> distinct(combinations.begin(), combinations.end());
    EXPECT_EQ(distinct.size(), 8u);
    EXPECT_EQ(combinations.size(), 8u);
    EXPECT_TRUE(distinct.count(locks));
    EXPECT_TRUE(std::all_of(combinations.begin(), combinations.end(),
                            [&](unsigned c) { return (c & ~locks) == 0; }));
}

} // namespace
} // namespace quelmo::x11
