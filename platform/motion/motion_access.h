// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quelmo {

// The user's answer to "may Quelmo use head motion?", kept by the platform
// layer in a small record file (one word: authorized, denied or restricted).
// A missing, unreadable or unknown record means the user has not decided.
enum class MotionAccessStatus { notDetermined, authorized, denied, restricted };

MotionAccessStatus readMotionAccess(const std::string& recordPath);

// Replaces the record atomically (a private temporary file renamed over it),
// creating its folder if needed. notDetermined removes the record.
bool writeMotionAccess(const std::string& recordPath, MotionAccessStatus status,
                       std::string& error);

const char* motionAccessWord(MotionAccessStatus status);

} // namespace quelmo
