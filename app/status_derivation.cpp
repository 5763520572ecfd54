// SPDX-License-Identifier: MIT
#include "app/status_derivation.h"

namespace quelmo {

AppStatus deriveStatus(const StatusInputs& in) {
    if (!in.motionAvailable) {
        return AppStatus::unsupported();
    }
    if (in.access == MotionAccess::denied) {
        return AppStatus::permissionDenied();
    }
    if (in.access == MotionAccess::notDetermined && !in.trackerRunning) {
        return AppStatus::needsSetup();
    }
    if (!in.enabled) {
        return AppStatus::off();
    }
    if (in.pausedUntil) {
        return AppStatus::paused(*in.pausedUntil);
    }
    if (in.screenAsleepOrLocked) {
        return AppStatus::screenLocked();
    }
    switch (in.guard) {
    case PrivacyGuard::Status::noSignal:
        return AppStatus::waitingForAirPods();
    case PrivacyGuard::Status::calibrating:
        return AppStatus::calibrating();
    case PrivacyGuard::Status::watching:
        return AppStatus::watching();
    case PrivacyGuard::Status::frosted:
        return AppStatus::frosted();
    case PrivacyGuard::Status::away:
        return AppStatus::away();
    }
    return AppStatus::watching();
}

} // namespace quelmo
