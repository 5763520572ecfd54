// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Native

// Page 1: what Quelmo does.
ColumnLayout {
    spacing: 22

    Image {
        objectName: "appIcon"
        Layout.alignment: Qt.AlignHCenter
        Layout.preferredWidth: 112
        Layout.preferredHeight: 112
        source: "qrc:/Quelmo/Controls/icons/quelmo-app.svg"
        sourceSize: Qt.size(224, 224)
        fillMode: Image.PreserveAspectFit
        smooth: true
        Accessible.ignored: true
    }
    PageHeader {
        title: qsTr("Your screen looks away when you do")
        body: Wording.welcomeBody
    }
}
