// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// Whether the user lets Quelmo use head motion: not asked yet (or the prompt
// was closed without an answer), refused, or allowed.
enum class MotionAccess { notDetermined, authorized, denied };

// The word for each case, as the log, the windows and the consent record
// spell it.
inline const char* motionAccessName(MotionAccess access) {
    constexpr const char* kNames[] = {"notDetermined", "authorized", "denied"}; // enum order
    return kNames[static_cast<int>(access)];
}

} // namespace quelmo
