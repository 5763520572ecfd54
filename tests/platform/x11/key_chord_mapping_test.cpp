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

constexpr Qt::KeyboardModifiers kCtrlAltMeta =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

TEST(KeyChordMapping, TheRecentreChordBecomesControlAltSuperR) {
    const auto chord = x11KeyChord(QKeyCombination(kCtrlAltMeta, Qt::Key_R));
    ASSERT_TRUE(chord.has_value());
    EXPECT_EQ(chord->keysym, static_cast<std::uint32_t>(XK_r));
    EXPECT_EQ(chord->modifiers, static_cast<unsigned>(ControlMask | Mod1Mask | Mod4Mask));
}

TEST(KeyChordMapping, EachModifierHasItsOwnX11Modifier) {
    auto maskOf = [](Qt::KeyboardModifiers modifiers) {
        return x11KeyChord(QKeyCombination(modifiers, Qt::Key_R))->modifiers;
    };
    EXPECT_EQ(maskOf(Qt::MetaModifier), static_cast<unsigned>(Mod4Mask));
    EXPECT_EQ(maskOf(Qt::AltModifier), static_cast<unsigned>(Mod1Mask));
    EXPECT_EQ(maskOf(Qt::ControlModifier), static_cast<unsigned>(ControlMask));
    EXPECT_EQ(maskOf(Qt::ShiftModifier), static_cast<unsigned>(ShiftMask));
    EXPECT_EQ(maskOf(Qt::NoModifier), 0u);
}

TEST(KeyChordMapping, LettersBecomeLowerCaseKeysymsAndDigitsStay) {
    // The ends of each range are where an offset slips.
    auto keysymOf = [](Qt::Key key) { return x11KeyChord(QKeyCombination(key))->keysym; };
    EXPECT_EQ(keysymOf(Qt::Key_A), static_cast<std::uint32_t>(XK_a));
    EXPECT_EQ(keysymOf(Qt::Key_Z), static_cast<std::uint32_t>(XK_z));
    EXPECT_EQ(keysymOf(Qt::Key_0), static_cast<std::uint32_t>(XK_0));
    EXPECT_EQ(keysymOf(Qt::Key_9), static_cast<std::uint32_t>(XK_9));
}

TEST(KeyChordMapping, UnsupportedKeysAndModifiersGiveNoChord) {
    for (Qt::Key key : {Qt::Key_unknown, Qt::Key_Space, Qt::Key_Slash, Qt::Key_Colon, Qt::Key_At,
                        Qt::Key_BracketLeft, Qt::Key_F1, Qt::Key_Adiaeresis, Qt::Key_Escape}) {
        EXPECT_FALSE(x11KeyChord(QKeyCombination(kCtrlAltMeta, key)).has_value()) << "key " << key;
    }
    for (Qt::KeyboardModifier extra : {Qt::KeypadModifier, Qt::GroupSwitchModifier}) {
        EXPECT_FALSE(x11KeyChord(QKeyCombination(kCtrlAltMeta | extra, Qt::Key_R)).has_value())
            << "modifier " << extra;
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
