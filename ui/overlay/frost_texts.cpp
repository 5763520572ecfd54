// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_texts.h"

#include "app/hot_key_binding.h"

#include <QCoreApplication>

namespace quelmo {

FrostTexts frostTexts(bool away) {
    if (away) {
        return {QCoreApplication::translate("FrostCard", "Welcome back"),
                QCoreApplication::translate("FrostCard",
                                            "Touch the keyboard or mouse to see your screen")};
    }
    return {
        QCoreApplication::translate("FrostCard", "Look back to see your screen"),
        //: %1 is the hot key, for example Ctrl+Alt+Super+R.
        QCoreApplication::translate("FrostCard", "Stuck? Move the mouse for 3 seconds, or press %1")
            .arg(recenterHotKeyText())};
}

} // namespace quelmo
