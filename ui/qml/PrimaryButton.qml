// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Controls.Fusion

// The default button of a page: filled with the accent colour, as the
// button that Return presses.
Button {
    id: button

    Accessible.defaultButton: true
    font.weight: Font.Medium
    leftPadding: 16
    rightPadding: 16
    topPadding: 6
    bottomPadding: 6

    contentItem: Label {
        text: button.text
        font: button.font
        color: button.enabled ? "white" : Qt.rgba(1, 1, 1, 0.75)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        implicitWidth: 84
        implicitHeight: 28
        radius: 6
        color: !button.enabled ? Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b, 0.35)
             : button.down ? Qt.darker(Theme.accent, 1.15) : Theme.accent
        border.color: Qt.darker(Theme.accent, 1.2)
        border.width: button.enabled ? 1 : 0
    }
}
