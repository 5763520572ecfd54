// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion

// A switch with its title and, optionally, a smaller explanatory line under
// it. `checked` shows the bound value; a click only asks for the change
// (toggled) and the switch then shows whatever the value has become, so a
// change that was refused springs back.
RowLayout {
    id: row

    property string title
    property string explanation: ""
    property bool checked: false
    readonly property alias control: toggle
    signal toggled(bool on)

    Layout.fillWidth: true
    spacing: 12

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 2

        Label {
            Layout.fillWidth: true
            text: row.title
            wrapMode: Text.Wrap
            // A row that cannot apply now reads as such; its explanation
            // (which says why) stays as legible as ever.
            color: row.enabled ? Theme.label : Theme.tertiaryLabel
            font.pixelSize: Theme.body
        }
        Label {
            Layout.fillWidth: true
            visible: row.explanation !== ""
            text: row.explanation
            wrapMode: Text.Wrap
            color: Theme.secondaryLabel
            font.pixelSize: Theme.callout - 1
        }
    }

    Switch {
        id: toggle
        Layout.alignment: Qt.AlignVCenter
        padding: 0
        opacity: row.enabled ? 1.0 : 0.4
        checked: row.checked
        Accessible.name: row.title
        Accessible.description: row.explanation
        onToggled: {
            row.toggled(checked)
            checked = Qt.binding(function () { return row.checked })
        }
    }
}
