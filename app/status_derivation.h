// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_status.h"
#include "app/motion_access_state.h"
#include "core/privacy_guard.h"

#include <optional>

namespace quelmo {

// Everything the status shown to the user depends on, read at one moment.
struct StatusInputs {
    bool motionAvailable = true;
    MotionAccess access = MotionAccess::notDetermined;
    // The tracker runs: while access is undecided that means the user is
    // being asked, which is not "needs setup".
    bool trackerRunning = false;
    bool enabled = true;
    // The end of the pause, set only while a pause lasts.
    std::optional<AppStatus::TimePoint> pausedUntil;
    bool screenAsleepOrLocked = false;
    PrivacyGuard::Status guard = PrivacyGuard::Status::noSignal;
};

// The status those inputs call for: the first reason not to watch wins, in
// the order of the fields above; while watching, the guard's own status.
AppStatus deriveStatus(const StatusInputs& in);

} // namespace quelmo
