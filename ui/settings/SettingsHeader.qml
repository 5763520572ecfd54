// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Native
import Quelmo.Controls
import Quelmo.Gauge

// The live top of the settings form: the gauge, the angle, where head motion
// comes from, the status and, in the two statuses that need the user, a
// button to go on.
ColumnLayout {
    id: header

    required property QtObject model
    required property QtObject prefs
    required property QtObject windows

    readonly property string statusKind: model.statusKind
    readonly property string button: SettingsRules.headerButton(statusKind)

    Layout.fillWidth: true
    Layout.topMargin: 6
    Layout.bottomMargin: 6
    spacing: 6

    GaugeView {
        objectName: "headerGauge"
        Layout.fillWidth: true
        Layout.preferredHeight: 118
        angle: header.model.liveAngle
        triggerAngle: header.prefs.triggerAngle
        releaseAngle: header.prefs.triggerAngle - 15
        active: SettingsRules.isLiveStatus(header.statusKind)
    }

    Label {
        objectName: "headerAngle"
        Layout.alignment: Qt.AlignHCenter
        text: SettingsRules.headerAngle(header.statusKind, header.model.liveAngle)
        color: Theme.label
        font.pixelSize: 34
        font.weight: Font.Bold
    }

    // Where head motion comes from and how fast while it is live; otherwise
    // why it does not come, when the source can tell.
    function sourceCaption() {
        const source = header.model.motionSource
        if (SettingsRules.isLiveStatus(header.statusKind) && source !== "") {
            if (header.model.motionRate > 0)
                //: %1 names where head motion comes from, for example "AirPods Pro 2 (Bluetooth)"; %n is how many samples arrive a second.
                return qsTr("Head motion from %1 · %n samples a second", "",
                            header.model.motionRate).arg(source)
            //: %1 names where head motion comes from, for example "AirPods Pro 2 (Bluetooth)".
            return qsTr("Head motion from %1").arg(source)
        }
        switch (header.model.motionProblem) {
        case "noBluetooth":
            return qsTr("Bluetooth is off or missing, so Quelmo cannot reach your earbuds")
        case "notConnected":
            return qsTr("No earbuds are connected")
        case "notSharing":
            //: %1 names the earbuds, for example "AirPods Pro (Bluetooth)".
            return qsTr("%1 are connected but share no head motion").arg(header.model.motionDevice)
        case "inCase":
            return qsTr("Your earbuds are in their case")
        case "trackerUnreadable":
            if (header.model.motionFix !== "")
                //: %1 names the headset, for example "WH-1000XM5 (Bluetooth)"; %2 is a command to run in a terminal.
                return qsTr("A head tracker is there but Quelmo may not read it (%1). Run once in a terminal: %2")
                    .arg(header.model.motionDevice).arg(header.model.motionFix)
            //: %1 names the headset, for example "WH-1000XM5 (Bluetooth)".
            return qsTr("A head tracker is there but Quelmo may not read it (%1). Connect the headset again.")
                .arg(header.model.motionDevice)
        }
        return ""
    }

    // Selectable: a reason may carry a command to copy into a terminal.
    TextEdit {
        objectName: "motionSource"
        Layout.fillWidth: true
        visible: text !== ""
        text: header.sourceCaption()
        readOnly: true
        selectByMouse: true
        color: Theme.secondaryLabel
        selectionColor: Theme.accent
        selectedTextColor: "white"
        font.pixelSize: Theme.footnote
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
    }

    Label {
        objectName: "statusTitle"
        Layout.fillWidth: true
        text: header.model.statusTitle
        color: Theme.secondaryLabel
        font.pixelSize: Theme.body
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
    }

    Label {
        objectName: "coverageProblem"
        Layout.fillWidth: true
        visible: text !== ""
        text: FrostCoverage.problem
        color: Theme.label
        font.pixelSize: Theme.body
        font.weight: Font.DemiBold
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
    }

    Button {
        objectName: "headerButton"
        Layout.alignment: Qt.AlignHCenter
        visible: header.button !== ""
        text: header.button === "openPrivacySettings" ? Wording.openMotionAccessSettings
                                                      : qsTr("Finish Setup…")
        onClicked: {
            if (header.button === "openPrivacySettings")
                header.model.openPrivacySettings()
            else
                header.windows.showOnboarding(GuideFlow.welcome)
        }
    }
}
