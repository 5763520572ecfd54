// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Native
import Quelmo.Controls

// Page 2: the motion permission, and what to do when it was refused.
ColumnLayout {
    id: page

    required property QtObject model
    readonly property string authorization: model.authorization

    spacing: 22

    TintedIcon {
        Layout.alignment: Qt.AlignHCenter
        Layout.preferredWidth: 54
        Layout.preferredHeight: 54
        source: "qrc:/Quelmo/Controls/icons/airpodspro.svg"
        brand: true
        Accessible.ignored: true
    }
    PageHeader {
        title: qsTr("One permission")
        body: Wording.permissionBody
    }

    Button {
        objectName: "allowButton"
        Layout.alignment: Qt.AlignHCenter
        visible: page.authorization === "notDetermined"
        text: qsTr("Allow Motion Access")
        font.pixelSize: Theme.title3
        topPadding: 9
        bottomPadding: 9
        leftPadding: 20
        rightPadding: 20
        onClicked: page.model.requestMotionAccess()
    }

    RowLayout {
        objectName: "allowedLabel"
        Layout.alignment: Qt.AlignHCenter
        visible: page.authorization === "authorized"
        spacing: 6
        TintedIcon {
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
            source: "qrc:/Quelmo/Controls/icons/checkmark.circle.fill.svg"
            color: Theme.green
            Accessible.ignored: true
        }
        Label { text: qsTr("Motion access allowed"); color: Theme.green; font.pixelSize: Theme.title3 }
    }

    ColumnLayout {
        objectName: "deniedBlock"
        Layout.alignment: Qt.AlignHCenter
        Layout.fillWidth: true
        visible: page.authorization === "denied"
        spacing: 8
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 6
            TintedIcon {
                Layout.preferredWidth: 16
                Layout.preferredHeight: 16
                source: "qrc:/Quelmo/Controls/icons/xmark.circle.fill.svg"
                color: Theme.red
                Accessible.ignored: true
            }
            Label { text: qsTr("Motion access is turned off"); color: Theme.red }
        }
        Label {
            Layout.fillWidth: true
            text: Wording.permissionDeniedHelp
            color: Theme.secondaryLabel
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
        }
        Button {
            objectName: "privacyButton"
            Layout.alignment: Qt.AlignHCenter
            text: Wording.openMotionAccessSettings
            onClicked: page.model.openPrivacySettings()
        }
    }
}
