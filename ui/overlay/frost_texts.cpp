#include "ui/overlay/frost_texts.h"

namespace quelmo {

FrostTexts frostTexts(bool away) {
    if (away) {
        return {QStringLiteral("Welcome back"),
                QStringLiteral("Touch the keyboard or mouse to see your screen")};
    }
    // U+2303 U+2325 U+2318: the Control, Option and Command symbols of the
    // global hot key.
    return {QStringLiteral("Look back to see your screen"),
            QStringLiteral("Stuck? Move the mouse for 3 seconds, or press \u2303\u2325\u2318R")};
}

} // namespace quelmo
