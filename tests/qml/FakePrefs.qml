// SPDX-License-Identifier: MIT
import QtQuick

// Stands in for the preferences, with their defaults.
QtObject {
    property bool enabled: true
    property real triggerAngle: 50
    property real frostStrength: 0.6
    property bool showAngleInMenuBar: false
    property bool useInputEvidence: true
    property bool frostWhenWalkingAway: true
    property bool frostWhenFar: true
    property bool frostOnDisconnect: false
    property bool diagnostics: false
    property bool onboardingDone: false
    property bool lockWhenAway: false
    property real lockAfterMinutes: 2
}
