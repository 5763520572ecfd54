// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts
import QtQuick.Controls.Fusion
import Quelmo.Native
import Quelmo.Controls

// Page 4: where Quelmo lives from now on, and opening it at login.
ColumnLayout {
    id: page

    property bool launchAtLogin: false
    signal launchAtLoginToggled(bool on)

    spacing: 22

    TintedIcon {
        Layout.alignment: Qt.AlignHCenter
        Layout.preferredWidth: 50
        Layout.preferredHeight: 50
        source: "qrc:/Quelmo/Controls/icons/menubar.arrow.up.rectangle.svg"
        brand: true
        Accessible.ignored: true
    }
    PageHeader {
        title: Wording.doneTitle
        body: qsTr("Look for the eye. Click it to pause, change how far you have to turn, or turn it off.")
    }
    ColumnLayout {
        Layout.alignment: Qt.AlignHCenter
        // As wide as its widest line, but never wider than the page: the
        // hint wraps instead.
        Layout.maximumWidth: page.width
        spacing: 10
        Switch {
            objectName: "launchAtLogin"
            padding: 0
            text: qsTr("Open Quelmo when I log in")
            checked: page.launchAtLogin
            onToggled: {
                page.launchAtLoginToggled(checked)
                checked = Qt.binding(function () { return page.launchAtLogin })
            }
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 6
            TintedIcon {
                Layout.preferredWidth: 16
                Layout.preferredHeight: 16
                source: "qrc:/Quelmo/Controls/icons/keyboard.svg"
                color: Theme.secondaryLabel
                Accessible.ignored: true
            }
            Label {
                Layout.fillWidth: true
                wrapMode: Text.Wrap
                //: %1 is the hot key, for example Ctrl+Alt+Super+R.
                text: qsTr("Frost stuck? Move the mouse for 3 seconds, or press %1.").arg(Wording.hotKey)
                color: Theme.secondaryLabel
            }
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 6
            TintedIcon {
                Layout.preferredWidth: 16
                Layout.preferredHeight: 16
                Layout.alignment: Qt.AlignTop
                source: "qrc:/Quelmo/Controls/icons/lock.svg"
                color: Theme.secondaryLabel
                Accessible.ignored: true
            }
            Label {
                objectName: "lockHint"
                Layout.fillWidth: true
                wrapMode: Text.Wrap
                text: qsTr("Gone for longer? Quelmo can lock the screen after a few minutes away: turn it on in Settings, under \"When you leave your desk\".")
                color: Theme.secondaryLabel
            }
        }
    }
}
