// SPDX-License-Identifier: MIT
#include "app/hot_key_binding.h"

#include "app/platform_wording.h"

#include <array>
#include <utility>

namespace quelmo {
namespace {

// The letter and digit positions of the ANSI layout, by key code.
constexpr std::array<std::pair<int, char>, 36> kCharacterOfKeyCode{{
    {0, 'A'},  {1, 'S'},  {2, 'D'},  {3, 'F'},  {4, 'H'},  {5, 'G'},  {6, 'Z'},  {7, 'X'},
    {8, 'C'},  {9, 'V'},  {11, 'B'}, {12, 'Q'}, {13, 'W'}, {14, 'E'}, {15, 'R'}, {16, 'Y'},
    {17, 'T'}, {18, '1'}, {19, '2'}, {20, '3'}, {21, '4'}, {22, '6'}, {23, '5'}, {25, '9'},
    {26, '7'}, {28, '8'}, {29, '0'}, {31, 'O'}, {32, 'U'}, {34, 'I'}, {35, 'P'}, {37, 'L'},
    {38, 'J'}, {40, 'K'}, {45, 'N'}, {46, 'M'},
}};

} // namespace

QChar keyCodeCharacter(int keyCode) {
    for (const auto& [code, character] : kCharacterOfKeyCode) {
        if (code == keyCode) {
            return QChar::fromLatin1(character);
        }
    }
    return {};
}

QString hotKeyText(int keyCode, int modifiers) {
    const QChar key = keyCodeCharacter(keyCode);
    if (key.isNull()) {
        return {};
    }
    QString text;
    for (const wording::Modifier& modifier : wording::modifierOrder()) {
        if ((modifiers & modifier.bit) != 0) {
            text += wording::translated(modifier.name) + QLatin1String(wording::kChordSeparator);
        }
    }
    return text + key;
}

QString recenterHotKeyText() {
    return hotKeyText(kRecenterKeyCode, kRecenterModifiers);
}

} // namespace quelmo
