// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// Why head motion does not come, when the source can tell.
enum class MotionProblem {
    none,
    noBluetooth,       // no powered Bluetooth adapter
    notConnected,      // no headphones connected
    notSharing,        // connected, answering, but sharing no head motion
    inCase,            // the earbuds lie in their case
    trackerUnreadable, // a head tracker is there, but its node may not be opened
};

// The name the settings window knows each case by.
inline const char* motionProblemKey(MotionProblem problem) {
    switch (problem) {
    case MotionProblem::noBluetooth:
        return "noBluetooth";
    case MotionProblem::notConnected:
        return "notConnected";
    case MotionProblem::notSharing:
        return "notSharing";
    case MotionProblem::inCase:
        return "inCase";
    case MotionProblem::trackerUnreadable:
        return "trackerUnreadable";
    case MotionProblem::none:
        break;
    }
    return "";
}

} // namespace quelmo
