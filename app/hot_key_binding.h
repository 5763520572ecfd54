// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace quelmo {

// Modifier bits of a hot key chord, as the hot key port takes them.
inline constexpr int kCommandModifier = 0x100;
inline constexpr int kShiftModifier = 0x200;
inline constexpr int kOptionModifier = 0x800;
inline constexpr int kControlModifier = 0x1000;

// The global hot key that re-centres and clears the frost: R (key code 15 of
// the ANSI layout) with Control, Option and Command (Ctrl, Alt and Super on a
// PC keyboard).
inline constexpr int kRecenterKeyCode = 15;
inline constexpr int kRecenterModifiers = kControlModifier | kOptionModifier | kCommandModifier;

// The character printed on the key with this ANSI-layout key code (letters in
// upper case, digits); a null character for a key code outside the letters and
// digits.
QChar keyCodeCharacter(int keyCode);

// How the user is told to press a chord, in the desktop's own words: the
// modifiers in the desktop's order and names, then the key, for example
// "Ctrl+Alt+Super+R". Empty for a key code outside the letters and digits.
QString hotKeyText(int keyCode, int modifiers);

// The re-centre hot key as the user is told to press it.
QString recenterHotKeyText();

} // namespace quelmo
