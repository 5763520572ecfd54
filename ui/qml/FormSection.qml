// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion

// One group of the settings form: an optional title above a rounded box
// whose rows are stacked with 10 px between them.
ColumnLayout {
    id: section

    property string title: ""
    default property alias rows: content.data

    Layout.fillWidth: true
    spacing: 6

    Label {
        visible: section.title !== ""
        text: section.title
        font.pixelSize: Theme.sectionTitle
        font.weight: Font.DemiBold
        color: Theme.label
        Layout.leftMargin: 2
        Accessible.role: Accessible.Heading
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: content.implicitHeight + 24
        radius: 8
        color: Theme.sectionBackground
        border.color: Theme.sectionBorder
        border.width: 1

        ColumnLayout {
            id: content
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 12
            spacing: 10
        }
    }
}
