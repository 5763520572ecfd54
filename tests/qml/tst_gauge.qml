// SPDX-License-Identifier: MIT
import QtQuick
import QtTest
import Quelmo.Gauge
import Quelmo.Controls

TestCase {
    id: testCase
    name: "Gauge"
    width: 400
    height: 300
    visible: true
    when: windowShown

    Component {
        id: gaugeComponent
        GaugeView { width: 300; height: 118 }
    }

    function test_accessibility() {
        const g = createTemporaryObject(gaugeComponent, testCase, { angle: 31.6, active: true })
        compare(g.Accessible.name, "Head angle")
        compare(g.Accessible.description, "32 degrees left")
        compare(g.Accessible.role, Accessible.Indicator)
        g.angle = -12.2
        compare(g.accessibleValue, "12 degrees right")
        g.angle = 1.5
        compare(g.accessibleValue, "2 degrees ")
        g.angle = 135
        compare(g.accessibleValue, "135 degrees left")
        g.active = false
        compare(g.accessibleValue, "not tracking")
    }

    function test_geometryFollowsSize() {
        const g = createTemporaryObject(gaugeComponent, testCase)
        compare(g.pivot, Qt.point(150, 108))
        compare(g.radius, 96)
        const dot = findChild(g, "pivotDot")
        compare(dot.x + dot.width / 2, 150)
        compare(dot.y + dot.height / 2, 108)
        g.width = 120
        compare(g.radius, 46)
    }

    function test_releaseSitsFifteenBelowTrigger() {
        const g = createTemporaryObject(gaugeComponent, testCase, { triggerAngle: 45 })
        compare(g.releaseAngle, 30)
        g.triggerAngle = 62
        compare(g.releaseAngle, 47)
    }

    function test_needleClampsAndAnimates() {
        const g = createTemporaryObject(gaugeComponent, testCase, { angle: 0 })
        g.angle = 135
        // The needle follows over 0.12 s, linearly, and stops at the left end.
        verify(g.needleAngle < 90)
        tryCompare(g, "needleAngle", 90, 1000)
        compare(g.needleTip.x, 150 - 82)
        compare(g.needleTip.y, 108)
        g.angle = -400
        tryCompare(g, "needleAngle", -90, 1000)
    }

    function test_inactiveNeedleIsDimmedButStillDrawnAtTheAngle() {
        const g = createTemporaryObject(gaugeComponent, testCase, { angle: 40, active: true })
        tryCompare(g, "needleAngle", 40, 1000)
        compare(g.needleColor, Theme.label)
        g.active = false
        compare(g.needleColor, Theme.dimmedNeedle)
        compare(g.needleAngle, 40)
        verify(Theme.dimmedNeedle.a < Theme.secondaryLabel.a)
    }
}
