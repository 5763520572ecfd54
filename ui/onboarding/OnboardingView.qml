// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Native
import Quelmo.Controls

// The welcome guide: four pages with dots, Back and one primary button that
// Return presses. Everything here starts afresh with each new guide.
Pane {
    id: root

    required property QtObject model       // AppModel
    required property QtObject prefs       // Preferences
    required property QtObject loginItem   // set(on) -> error text or "", isEnabled()

    property int step: GuideFlow.welcome
    property int frostsAtStart: 0
    property bool launchAtLogin: false
    readonly property bool sawItWork: GuideFlow.sawItWork(model.frostCount, frostsAtStart,
                                                          model.statusKind)

    // The guide's window closes itself through this.
    signal closeRequested()

    implicitWidth: 540
    implicitHeight: 560
    padding: 0
    font.family: Theme.fontFamily
    font.pixelSize: Theme.body
    palette.highlight: Theme.accent
    palette.button: Theme.sectionBackground
    background: Rectangle { color: Theme.guideBackground }

    Component.onCompleted: {
        if (GuideFlow.validStep(step) < 0)
            step = GuideFlow.welcome
        launchAtLogin = loginItem.isEnabled()
        model.liveDisplays += 1
        frostsAtStart = model.frostCount
    }
    Component.onDestruction: {
        if (model)
            model.liveDisplays -= 1
    }

    function goBack() {
        step = GuideFlow.previous(step)
    }

    function primary() {
        switch (GuideFlow.primaryAction(step)) {
        case "showPermission":
            step = GuideFlow.permission
            break
        case "startTryIt":
            frostsAtStart = model.frostCount
            step = GuideFlow.tryIt
            break
        case "showDone":
            step = GuideFlow.done
            break
        case "finish":
            prefs.onboardingDone = true
            closeRequested()
            break
        }
    }

    // Login errors are not shown here; the switch shows the real state after.
    function setLaunchAtLogin(on) {
        loginItem.set(on)
        launchAtLogin = loginItem.isEnabled()
    }

    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: primaryButton.enabled
        onActivated: root.primary()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            Loader {
                id: page
                objectName: "page"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.leftMargin: 44
                anchors.rightMargin: 44
                anchors.verticalCenter: parent.verticalCenter
                sourceComponent: [welcomePage, permissionPage, tryItPage, donePage][root.step]
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 20
            spacing: 8

            StepDots {
                objectName: "stepDots"
                step: root.step
            }
            Item { Layout.fillWidth: true }
            Button {
                objectName: "backButton"
                visible: GuideFlow.hasBack(root.step)
                text: qsTr("Back")
                onClicked: root.goBack()
            }
            PrimaryButton {
                id: primaryButton
                objectName: "primaryButton"
                text: GuideFlow.primaryTitle(root.step, root.sawItWork)
                enabled: GuideFlow.primaryEnabled(root.step, root.model.authorization)
                onClicked: root.primary()
            }
        }
    }

    Component {
        id: welcomePage
        WelcomePage {}
    }
    Component {
        id: permissionPage
        PermissionPage { model: root.model }
    }
    Component {
        id: tryItPage
        TryItPage {
            model: root.model
            prefs: root.prefs
            sawItWork: root.sawItWork
        }
    }
    Component {
        id: donePage
        DonePage {
            launchAtLogin: root.launchAtLogin
            onLaunchAtLoginToggled: on => root.setLaunchAtLogin(on)
        }
    }
}
