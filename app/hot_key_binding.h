// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyCombination>
#include <QString>

namespace quelmo {

// The global hot key that re-centres and clears the frost: Ctrl+Alt+Meta+R
// (Meta is the Super key of a PC keyboard).
inline constexpr QKeyCombination kRecenterKey{
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier, Qt::Key_R};

// How the user is told to press a chord, in the desktop's own words: the
// modifiers in the desktop's order and names, then the key, for example
// "Ctrl+Alt+Super+R". Empty for a key other than a letter or a digit.
QString hotKeyText(QKeyCombination chord);

// The re-centre hot key as the user is told to press it.
QString recenterHotKeyText();

} // namespace quelmo
