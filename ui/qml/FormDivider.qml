// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Layouts

// A hairline between two rows of a form section.
Rectangle {
    Layout.fillWidth: true
    implicitHeight: 1
    color: Theme.divider
    Accessible.ignored: true
}
