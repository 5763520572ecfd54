// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Controls

// A guide page's title and body, centred.
ColumnLayout {
    id: header

    property string title
    property string body

    Layout.fillWidth: true
    spacing: 10

    Label {
        objectName: "pageTitle"
        Layout.fillWidth: true
        text: header.title
        font.pixelSize: 28
        font.weight: Font.Bold
        color: Theme.label
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        Accessible.role: Accessible.Heading
    }
    Label {
        objectName: "pageBody"
        Layout.fillWidth: true
        text: header.body
        font.pixelSize: Theme.title3
        lineHeight: 1.15
        color: Theme.secondaryLabel
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
    }
}
