// SPDX-License-Identifier: MIT
#pragma once

#include "app/motion_access_state.h"

#include <functional>
#include <optional>
#include <string>

namespace quelmo {

// The user's answer to "may Quelmo use head motion?", kept by the platform
// layer in a small record file of one word: authorized or denied, or
// restricted (set by an administrator), which counts as denied. A missing,
// unreadable or unknown record means the user has not decided.
MotionAccess readMotionAccess(const std::string& recordPath);
// The record says restricted: denied, and not the user's to change.
bool isMotionAccessRestricted(const std::string& recordPath);

// Asks the user whether Quelmo may use head motion. It must not block: it
// calls answer later on the main thread with true (allow), false (don't
// allow) or nothing (closed without an answer).
using MotionAccessPrompter = std::function<void(std::function<void(std::optional<bool>)> answer)>;

// Replaces the record atomically (a private temporary file renamed over it),
// creating its folder if needed. notDetermined removes the record.
bool writeMotionAccess(const std::string& recordPath, MotionAccess access, std::string& error);

} // namespace quelmo
