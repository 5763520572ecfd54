// SPDX-License-Identifier: MIT
import QtQuick
import QtQuick.Shapes
import Quelmo.Native
import Quelmo.Controls

// The half-circle dial seen from above the user's head: straight up is facing
// the screen, the ends are 90-degree turns. Bands mark the neutral zone, the
// hysteresis between the release and trigger angles and the frost zones; the
// needle shows the live angle. All geometry comes from GaugeMath.
Item {
    id: gauge

    property real angle: 0
    property real triggerAngle: 50
    property real releaseAngle: triggerAngle - 15
    property bool active: true

    // What a screen reader is told; also read by the tests.
    readonly property string accessibleValue: GaugeMath.accessibilityValue(angle, active)

    // The angle the needle is drawn at, clamped, following the live angle
    // with a short linear animation.
    property real needleAngle: GaugeMath.needleAngle(angle)
    Behavior on needleAngle {
        NumberAnimation { duration: GaugeMath.needleAnimationMs; easing.type: Easing.Linear }
    }

    readonly property point pivot: GaugeMath.pivot(width, height)
    readonly property real radius: GaugeMath.radius(width, height)
    readonly property point needleTip: GaugeMath.pointAt(needleAngle, radius - 14, pivot)
    readonly property color needleColor: active ? Theme.label : Theme.dimmedNeedle

    implicitWidth: 300
    implicitHeight: 118

    Accessible.role: Accessible.Indicator
    Accessible.name: GaugeMath.accessibilityLabel
    Accessible.description: accessibleValue

    Shape {
        id: dial
        anchors.fill: parent
        // Multisampling keeps the thin arcs smooth on the scene-graph renderer.
        layer.enabled: true
        layer.samples: 4
        layer.smooth: true
        Accessible.ignored: true

        // 1: neutral band
        ShapePath {
            strokeColor: Theme.neutralBand
            strokeWidth: 10
            fillColor: "transparent"
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.MiterJoin
            PathPolyline { path: GaugeMath.arc(gauge.releaseAngle, -gauge.releaseAngle, gauge.radius, gauge.pivot) }
        }
        // 2, 3: hysteresis bands
        ShapePath {
            strokeColor: Theme.hysteresisBand
            strokeWidth: 10
            fillColor: "transparent"
            capStyle: ShapePath.FlatCap
            joinStyle: ShapePath.MiterJoin
            PathPolyline { path: GaugeMath.arc(gauge.triggerAngle, gauge.releaseAngle, gauge.radius, gauge.pivot) }
        }
        ShapePath {
            strokeColor: Theme.hysteresisBand
            strokeWidth: 10
            fillColor: "transparent"
            capStyle: ShapePath.FlatCap
            joinStyle: ShapePath.MiterJoin
            PathPolyline { path: GaugeMath.arc(-gauge.releaseAngle, -gauge.triggerAngle, gauge.radius, gauge.pivot) }
        }
        // 4, 5: frost zones, filled outlines so the gradient can run across
        // the whole width of the gauge.
        ShapePath {
            strokeColor: "transparent"
            fillRule: ShapePath.WindingFill
            fillGradient: brandGradient
            PathSvg { path: GaugeMath.strokedArc(90, gauge.triggerAngle, gauge.radius, gauge.pivot) }
        }
        ShapePath {
            strokeColor: "transparent"
            fillRule: ShapePath.WindingFill
            fillGradient: brandGradient
            PathSvg { path: GaugeMath.strokedArc(-gauge.triggerAngle, -90, gauge.radius, gauge.pivot) }
        }
        // 6: needle
        ShapePath {
            strokeColor: gauge.needleColor
            strokeWidth: 3
            fillColor: "transparent"
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.MiterJoin
            startX: gauge.pivot.x
            startY: gauge.pivot.y
            PathLine { x: gauge.needleTip.x; y: gauge.needleTip.y }
        }
    }

    // 7: pivot dot
    Rectangle {
        objectName: "pivotDot"
        width: 12
        height: 12
        radius: 6
        x: gauge.pivot.x - 6
        y: gauge.pivot.y - 6
        color: gauge.needleColor
        antialiasing: true
        Accessible.ignored: true
    }

    LinearGradient {
        id: brandGradient
        x1: 0; y1: 0
        x2: gauge.width; y2: 0
        GradientStop { position: GaugeMath.brandPositions[0]; color: GaugeMath.brandColors[0] }
        GradientStop { position: GaugeMath.brandPositions[1]; color: GaugeMath.brandColors[1] }
        GradientStop { position: GaugeMath.brandPositions[2]; color: GaugeMath.brandColors[2] }
    }
}
