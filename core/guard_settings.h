// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace quelmo {

// How keyboard and mouse activity counts as evidence. Plain values.
struct InputSettings {
    bool enabled = true;               // re-centre and override a turn-away frost from input
    double workingWindow = 0.7;        // s: idle at or below counts as working
    double resetGap = 1.2;             // s: idle above restarts a run of working under a frost
    double recenterBand = 35.0;        // degrees: forward is pulled only this close to it
    double recenterTimeConstant = 2.0; // s
    double overrideAfter = 3.0;        // s of working under a turn-away frost that clears it

    bool operator==(const InputSettings&) const = default;
};

// When the user counts as away from the computer. Plain values.
struct AwaySettings {
    bool frostWhenWalkingAway = true;
    bool frostOnDisconnect = false;
    double inputVeto = 2.0;             // s: no new away state while input is this recent
    double walkMemory = 20.0;           // s: walking this recent before a loss means walked away
    bool frostWhenFar = true;           // use the Bluetooth signal drop
    double farDrop = 22.0;              // dB below the at-desk level that means far away
    double farDropAfterSteps = 12.0;    // dB that suffices after a recent footstep hint
    double stepHintMemory = 20.0;       // s a footstep hint stays recent
    std::int64_t farSamples = 3;        // readings per device whose median is compared (>= 1)
    double lostDrop = 8.0;              // dB that, at a loss of head data, means walked away
    double atMacWindow = 3.0;           // s: input this recent means the user sits at the desk
    double baselineTimeConstant = 20.0; // s: how slowly the at-desk level follows

    bool operator==(const AwaySettings&) const = default;
};

} // namespace quelmo
