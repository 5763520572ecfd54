// SPDX-License-Identifier: MIT
pragma Singleton
import QtQuick

// Colours and type for Quelmo's windows. Colours follow the desktop's light
// or dark palette; sizes are in logical pixels.
QtObject {
    id: theme

    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: palette.window.hslLightness < 0.5

    function ink(alpha) { return dark ? Qt.rgba(1, 1, 1, alpha) : Qt.rgba(0, 0, 0, alpha) }

    // Text
    readonly property color label: ink(0.85)
    readonly property color secondaryLabel: ink(0.5)
    readonly property color tertiaryLabel: ink(0.26)

    // Gauge layers
    readonly property color neutralBand: ink(0.12)
    readonly property color purple: dark ? "#bf5af2" : "#af52de"
    readonly property color hysteresisBand: Qt.rgba(purple.r, purple.g, purple.b, 0.25)
    readonly property color dimmedNeedle: Qt.rgba(secondaryLabel.r, secondaryLabel.g,
                                                  secondaryLabel.b, secondaryLabel.a * 0.4)

    // Status colours, dark enough to read as text on the light backgrounds.
    readonly property color green: dark ? "#32d74b" : "#1f9d45"
    readonly property color red: dark ? "#ff453a" : "#d70015"
    readonly property color accent: dark ? "#0a84ff" : "#007aff"

    // Surfaces of the grouped settings form and the guide
    readonly property color formBackground: dark ? "#1e1e1e" : "#ececee"
    readonly property color sectionBackground: dark ? "#2a2a2c" : "#ffffff"
    readonly property color sectionBorder: ink(0.08)
    readonly property color divider: ink(0.08)
    readonly property color guideBackground: dark ? "#242426" : "#f7f7f8"

    // Type
    readonly property string fontFamily: "Inter"
    readonly property int body: 13
    readonly property int callout: 12
    readonly property int footnote: 11
    readonly property int caption: 11
    readonly property int title3: 15
    readonly property int sectionTitle: 13
}
