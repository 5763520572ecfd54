// SPDX-License-Identifier: MIT
import QtQuick

QtObject {
    property var guides: []
    function showOnboarding(step) { guides.push(step) }
}
