// SPDX-License-Identifier: MIT
#include "app/hot_key_binding.h"

#include "app/platform_wording.h"

namespace quelmo {

QString hotKeyText(QKeyCombination chord) {
    // Qt's keys for letters and digits are their upper-case Latin-1 characters.
    const int key = chord.key();
    const bool isLetter = key >= Qt::Key_A && key <= Qt::Key_Z;
    const bool isDigit = key >= Qt::Key_0 && key <= Qt::Key_9;
    if (!isLetter && !isDigit) {
        return {};
    }
    QString text;
    for (const wording::Modifier& modifier : wording::modifierOrder()) {
        if (chord.keyboardModifiers().testFlag(modifier.key)) {
            text += wording::translated(modifier.name) + QLatin1String(wording::kChordSeparator);
        }
    }
    return text + QChar::fromLatin1(static_cast<char>(key));
}

QString recenterHotKeyText() {
    return hotKeyText(kRecenterKey);
}

} // namespace quelmo
