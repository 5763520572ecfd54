// SPDX-License-Identifier: MIT
import QtQuick
import Quelmo.Native
import Quelmo.Controls

// Four dots, the current page's filled; read out as "Step N of 4".
Row {
    id: dots

    property int step: 0

    spacing: 6
    Accessible.role: Accessible.StaticText
    Accessible.name: GuideFlow.stepLabel(step)

    Repeater {
        model: GuideFlow.stepCount
        Rectangle {
            required property int index
            width: 6
            height: 6
            radius: 3
            antialiasing: true
            color: index === dots.step ? Theme.label
                                       : Qt.rgba(Theme.label.r, Theme.label.g, Theme.label.b, 0.18)
            Accessible.ignored: true
        }
    }
}
