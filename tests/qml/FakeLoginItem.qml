// SPDX-License-Identifier: MIT
import QtQuick

// A login item whose changes can be refused: `refusal` is then returned as
// the error and the state stays as it was.
QtObject {
    property bool registered: false
    property string refusal: ""
    property var calls: []

    function set(on) {
        calls.push(on)
        if (refusal !== "")
            return refusal
        registered = on
        return ""
    }
    function isEnabled() { return registered }
}
