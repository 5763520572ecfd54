// SPDX-License-Identifier: MIT
import QtQuick

// Stands in for the app model: the properties and calls the views use.
QtObject {
    property string statusKind: "watching"
    property string statusTitle: "Watching. Turn away and it frosts."
    property real liveAngle: 0
    property int frostCount: 0
    property string authorization: "authorized"
    property int liveDisplays: 0
    property string motionSource: ""
    property int motionRate: 0
    property string motionProblem: ""
    property string motionDevice: ""
    property bool measuresSteps: true
    property string motionFix: ""

    property int privacyOpened: 0
    property int accessRequested: 0
    property int previews: 0

    function openPrivacySettings() { privacyOpened += 1 }
    function requestMotionAccess() { accessRequested += 1 }
    function previewFrost() { previews += 1 }
}
