// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Native
import Quelmo.Controls

// The settings window's content: one grouped, scrolling form. Every control
// writes straight through to a preference or calls the app model; the view
// keeps only what the open-at-login switch shows and its last error.
Pane {
    id: root

    required property QtObject model       // AppModel
    required property QtObject prefs       // Preferences
    required property QtObject loginItem   // set(on) -> error text or "", isEnabled()
    required property QtObject windows     // showOnboarding(step)
    property string logDirectory: ""
    property string version: ""

    property bool launchAtLogin: false
    property string loginError: ""

    implicitWidth: 460
    implicitHeight: 700
    padding: 0
    font.family: Theme.fontFamily
    font.pixelSize: Theme.body
    palette.highlight: Theme.accent
    background: Rectangle { color: Theme.formBackground }

    // A gauge on screen asks the model for live angles.
    Component.onCompleted: {
        model.liveDisplays += 1
        launchAtLogin = loginItem.isEnabled()
    }
    Component.onDestruction: {
        if (model)
            model.liveDisplays -= 1
    }

    function setLaunchAtLogin(on) {
        loginError = loginItem.set(on)
        launchAtLogin = loginItem.isEnabled()
    }

    ScrollView {
        id: scroller
        objectName: "scroller"
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true

        ColumnLayout {
            width: scroller.availableWidth
            spacing: 18

            Item { implicitHeight: 2 }

            FormSection {
                Layout.leftMargin: 20
                Layout.rightMargin: 20
                SettingsHeader {
                    model: root.model
                    prefs: root.prefs
                    windows: root.windows
                }
            }

            FormSection {
                title: qsTr("When to frost")
                Layout.leftMargin: 20
                Layout.rightMargin: 20

                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 4

                    RowLayout {
                        Layout.fillWidth: true
                        Label { text: qsTr("Frost when I turn past"); color: Theme.label }
                        Item { Layout.fillWidth: true }
                        Label {
                            objectName: "triggerValue"
                            text: SettingsRules.triggerLabel(root.prefs.triggerAngle)
                            color: Theme.secondaryLabel
                        }
                    }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        Label { text: "35\u00B0"; font.pixelSize: Theme.caption; color: Theme.secondaryLabel }
                        Slider {
                            id: triggerSlider
                            objectName: "triggerSlider"
                            Layout.fillWidth: true
                            from: SettingsRules.triggerMin
                            to: SettingsRules.triggerMax
                            value: root.prefs.triggerAngle
                            Accessible.name: qsTr("Frost angle")
                            // Whole degrees only; the slider then shows what was stored.
                            onMoved: {
                                root.prefs.triggerAngle = SettingsRules.storedTriggerAngle(value)
                                value = Qt.binding(function () { return root.prefs.triggerAngle })
                            }
                        }
                        Label { text: "70\u00B0"; font.pixelSize: Theme.caption; color: Theme.secondaryLabel }
                    }
                    Label {
                        objectName: "triggerDescription"
                        Layout.fillWidth: true
                        text: SettingsRules.triggerDescription(root.prefs.triggerAngle)
                        font.pixelSize: Theme.callout
                        color: Theme.secondaryLabel
                        wrapMode: Text.Wrap
                    }
                }

                FormDivider {}

                ToggleRow {
                    objectName: "useInputEvidence"
                    title: qsTr("Use typing and mouse movement to stay accurate")
                    explanation: qsTr("Quelmo only sees when you last touched a key, never what you typed.")
                    checked: root.prefs.useInputEvidence
                    onToggled: on => root.prefs.useInputEvidence = on
                }
            }

            FormSection {
                title: qsTr("When you leave your desk")
                Layout.leftMargin: 20
                Layout.rightMargin: 20

                ToggleRow {
                    objectName: "frostWhenWalkingAway"
                    title: qsTr("Frost when I walk away")
                    // A head tracker that measures no acceleration feels no steps.
                    enabled: root.model.measuresSteps
                    explanation: root.model.measuresSteps
                                 ? qsTr("Your AirPods feel your footsteps. The screen stays frosted until you touch the keyboard or mouse again.")
                                 : qsTr("Your headset reports turns but not steps: Quelmo notices you leaving by its signal strength")
                    checked: root.prefs.frostWhenWalkingAway
                    onToggled: on => root.prefs.frostWhenWalkingAway = on
                }
                FormDivider {}
                ToggleRow {
                    objectName: "frostWhenFar"
                    title: Wording.frostWhenFarTitle
                    explanation: qsTr("Uses Bluetooth signal strength, so it works in another room or behind a closed door even on quiet feet.")
                    checked: root.prefs.frostWhenFar
                    onToggled: on => root.prefs.frostWhenFar = on
                }
                FormDivider {}
                ToggleRow {
                    objectName: "frostOnDisconnect"
                    title: qsTr("Also frost whenever my AirPods disconnect")
                    explanation: Wording.frostOnDisconnectExplanation
                    checked: root.prefs.frostOnDisconnect
                    onToggled: on => root.prefs.frostOnDisconnect = on
                }
                FormDivider {}
                ToggleRow {
                    objectName: "lockWhenAway"
                    title: qsTr("Lock the screen when I'm gone")
                    explanation: qsTr("When a frost for being away has lasted this long, Quelmo asks your desktop to lock the session. Turning away never locks.")
                    checked: root.prefs.lockWhenAway
                    onToggled: on => root.prefs.lockWhenAway = on
                }
                RowLayout {
                    Layout.fillWidth: true
                    enabled: root.prefs.lockWhenAway
                    spacing: 8
                    Label {
                        text: qsTr("Lock after")
                        color: enabled ? Theme.label : Theme.secondaryLabel
                    }
                    Item { Layout.fillWidth: true }
                    ComboBox {
                        id: lockMinutes
                        objectName: "lockAfterMinutes"
                        readonly property var choices: [1, 2, 5, 10]
                        model: [qsTr("1 minute"), qsTr("2 minutes"), qsTr("5 minutes"), qsTr("10 minutes")]
                        currentIndex: Math.max(0, choices.indexOf(Math.round(root.prefs.lockAfterMinutes)))
                        Accessible.name: qsTr("Lock after")
                        onActivated: index => root.prefs.lockAfterMinutes = choices[index]
                    }
                }
            }

            FormSection {
                title: qsTr("The frost")
                Layout.leftMargin: 20
                Layout.rightMargin: 20

                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 4
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        Label { text: qsTr("Strength"); color: Theme.label; Layout.rightMargin: 4 }
                        Label { text: qsTr("Light"); font.pixelSize: Theme.caption; color: Theme.secondaryLabel }
                        Slider {
                            objectName: "strengthSlider"
                            Layout.fillWidth: true
                            from: 0
                            to: 1
                            value: root.prefs.frostStrength
                            Accessible.name: qsTr("Strength")
                            onMoved: root.prefs.frostStrength = value
                        }
                        Label { text: qsTr("Solid"); font.pixelSize: Theme.caption; color: Theme.secondaryLabel }
                    }
                }

                FormDivider {}

                RowLayout {
                    Layout.fillWidth: true
                    Label { text: qsTr("See how it looks"); color: Theme.label }
                    Item { Layout.fillWidth: true }
                    Button {
                        objectName: "previewButton"
                        text: qsTr("Preview for 2 Seconds")
                        onClicked: root.model.previewFrost()
                    }
                }
            }

            FormSection {
                title: qsTr("General")
                Layout.leftMargin: 20
                Layout.rightMargin: 20

                ToggleRow {
                    objectName: "enabled"
                    title: qsTr("Turn Quelmo on")
                    checked: root.prefs.enabled
                    onToggled: on => root.prefs.enabled = on
                }
                FormDivider {}
                ToggleRow {
                    objectName: "launchAtLogin"
                    title: qsTr("Open Quelmo when I log in")
                    checked: root.launchAtLogin
                    onToggled: on => root.setLaunchAtLogin(on)
                }
                Label {
                    objectName: "loginError"
                    Layout.fillWidth: true
                    visible: root.loginError !== ""
                    text: root.loginError
                    font.pixelSize: Theme.callout
                    color: Theme.red
                    wrapMode: Text.Wrap
                }
                FormDivider {}
                ToggleRow {
                    objectName: "showAngleInMenuBar"
                    title: Wording.showAngleInTrayTitle
                    checked: root.prefs.showAngleInMenuBar
                    onToggled: on => root.prefs.showAngleInMenuBar = on
                }
                FormDivider {}
                RowLayout {
                    Layout.fillWidth: true
                    Label { text: qsTr("Clear the frost from anywhere"); color: Theme.label }
                    Item { Layout.fillWidth: true }
                    Label {
                        objectName: "hotKey"
                        text: Wording.hotKey
                        color: Theme.label
                        font.pixelSize: Theme.body
                        font.weight: Font.Medium
                    }
                }
            }

            FormSection {
                title: qsTr("Troubleshooting")
                Layout.leftMargin: 20
                Layout.rightMargin: 20

                ToggleRow {
                    objectName: "diagnostics"
                    title: qsTr("Keep a diagnostics log")
                    explanation: Wording.diagnosticsExplanation
                    checked: root.prefs.diagnostics
                    onToggled: on => root.prefs.diagnostics = on
                }
                Button {
                    objectName: "showLogButton"
                    visible: root.prefs.diagnostics
                    text: Wording.showLogFolderButton
                    onClicked: SettingsRules.showFolder(root.logDirectory)
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                Layout.leftMargin: 20
                Layout.rightMargin: 20
                Layout.bottomMargin: 16
                spacing: 2
                Label {
                    objectName: "versionLine"
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    text: SettingsRules.versionLine(root.version)
                    font.pixelSize: Theme.footnote
                    color: Theme.secondaryLabel
                }
                Label {
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                    text: Wording.privacyFooter
                    font.pixelSize: Theme.footnote
                    color: Theme.secondaryLabel
                }
            }
        }
    }
}
