// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Native
import Quelmo.Controls
import Quelmo.Gauge

// Page 3: a live try-out. Waits for the earbuds, then shows the gauge, then
// "That's it" once a frost has come and gone.
ColumnLayout {
    id: page

    required property QtObject model
    required property QtObject prefs
    required property bool sawItWork
    readonly property string content: GuideFlow.tryItContent(sawItWork, model.statusKind)

    spacing: 14

    // success
    TintedIcon {
        Layout.alignment: Qt.AlignHCenter
        Layout.preferredWidth: 54
        Layout.preferredHeight: 54
        visible: page.content === "success"
        source: "qrc:/Quelmo/Controls/icons/checkmark.circle.fill.svg"
        color: Theme.green
        Accessible.ignored: true
    }
    PageHeader {
        objectName: "successHeader"
        visible: page.content === "success"
        title: qsTr("That's it")
        body: qsTr("You turned away, the screen frosted, and it cleared when you looked back.")
    }

    // live
    PageHeader {
        objectName: "liveHeader"
        visible: page.content === "live"
        title: qsTr("Now turn your head")
        body: qsTr("Look at the screen, then turn to the side as if someone walked up to talk to you.")
    }
    Loader {
        // Only a page that shows the gauge makes one.
        objectName: "gaugeLoader"
        Layout.alignment: Qt.AlignHCenter
        Layout.preferredWidth: 300
        Layout.preferredHeight: 150
        visible: active
        active: page.content === "live"
        sourceComponent: GaugeView {
            objectName: "tryItGauge"
            width: 300
            height: 150
            angle: page.model.liveAngle
            triggerAngle: page.prefs.triggerAngle
            releaseAngle: page.prefs.triggerAngle - 15
            active: true
        }
    }
    Label {
        objectName: "tryItReadout"
        Layout.alignment: Qt.AlignHCenter
        visible: page.content === "live"
        text: GuideFlow.tryItReadout(page.model.statusKind, page.model.liveAngle)
        font.pixelSize: 30
        font.weight: Font.Bold
        color: Theme.label
    }

    // waiting
    TintedIcon {
        Layout.alignment: Qt.AlignHCenter
        Layout.preferredWidth: 54
        Layout.preferredHeight: 54
        visible: page.content === "waiting"
        source: "qrc:/Quelmo/Controls/icons/airpodspro.svg"
        color: Theme.secondaryLabel
        Accessible.ignored: true
    }
    PageHeader {
        objectName: "waitingHeader"
        visible: page.content === "waiting"
        title: qsTr("Put your AirPods in")
        body: Wording.waitingForEarbudsBody
    }
    BusyIndicator {
        objectName: "waitingSpinner"
        Layout.alignment: Qt.AlignHCenter
        Layout.preferredWidth: 20
        Layout.preferredHeight: 20
        visible: page.content === "waiting"
        running: visible
    }
}
