// SPDX-License-Identifier: MIT
#include "platform/x11/activity_filter.h"

namespace quelmo::x11 {

bool countsAsActivity(RawInput input, int detail, const std::bitset<256>& modifierKeycodes) {
    switch (input) {
    case RawInput::motion:
        return true;
    case RawInput::buttonPress:
        return detail == 1 || detail == 3 || (detail >= 4 && detail <= 7);
    case RawInput::keyPress:
        return detail < 0 || detail >= static_cast<int>(modifierKeycodes.size()) ||
               !modifierKeycodes.test(static_cast<std::size_t>(detail));
    }
    return false;
}

} // namespace quelmo::x11
