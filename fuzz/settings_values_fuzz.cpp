// SPDX-License-Identifier: MIT
// Fuzzes how stored preference texts are read: nothing may crash, a number
// read is finite and reads back the same from the text it is written as, and
// the preferences built over such texts stay within their ranges.

#include "app/preference_store.h"
#include "app/preferences.h"

#include <cmath>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace quelmo;
    const std::string text(reinterpret_cast<const char*>(data), size);
    parseStoredBool(text);
    if (const auto value = parseStoredDouble(text)) {
        const auto again = parseStoredDouble(formatStoredDouble(*value));
        if (!std::isfinite(*value) || !again || *again != *value)
            std::abort();
    }

    MemoryPreferenceStore store;
    for (const char* key : {"enabled", "triggerAngle", "frostStrength", "diagnostics"})
        store.set(key, text);
    const Preferences prefs(store);
    const double angle = prefs.triggerAngle();
    const double strength = prefs.frostStrength();
    if (!(angle >= 35.0 && angle <= 70.0) || !(strength >= 0.0 && strength <= 1.0))
        std::abort();
    return 0;
}
