// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quelmo {

// The user's answer to "may Quelmo use head motion?", kept by the platform
// layer in a small record file (one word: authorized, denied or restricted).
// A missing, unreadable or unknown record means the user has not decided.
enum class MotionAccessStatus { notDetermined, authorized, denied, restricted };

MotionAccessStatus readMotionAccess(const std::string& recordPath);

// Asks the user whether Quelmo may use head motion. It must not block: it
// calls answer later on the main thread with true (allow), false (don't
// allow) or nothing (closed without an answer).
using MotionAccessPrompter = std::function<void(std::function<void(std::optional<bool>)> answer)>;

// Replaces the record atomically (a private temporary file renamed over it),
// creating its folder if needed. notDetermined removes the record.
bool writeMotionAccess(const std::string& recordPath, MotionAccessStatus status,
                       std::string& error);

const char* motionAccessWord(MotionAccessStatus status);

} // namespace quelmo
