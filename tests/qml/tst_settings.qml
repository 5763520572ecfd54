// SPDX-License-Identifier: MIT
import QtQuick
import QtTest
import Quelmo.Settings

TestCase {
    id: testCase
    name: "Settings"
    width: 460
    height: 700
    visible: true
    when: windowShown

    Component { id: modelComponent; FakeModel {} }
    Component { id: prefsComponent; FakePrefs {} }
    Component { id: loginComponent; FakeLoginItem {} }
    Component { id: windowsComponent; FakeWindows {} }
    Component { id: viewComponent; SettingsView {} }

    property QtObject model
    property QtObject prefs
    property QtObject login
    property QtObject windows

    // The stand-ins outlive the views made with them (a test's views go when
    // it ends); each is replaced when the next test starts.
    function renew(old, component, properties) {
        if (old)
            old.destroy()
        return component.createObject(testCase, properties || {})
    }

    function init() {
        model = renew(model, modelComponent)
        prefs = renew(prefs, prefsComponent)
        login = renew(login, loginComponent)
        windows = renew(windows, windowsComponent)
    }

    function makeView(extra) {
        const props = { model: model, prefs: prefs, loginItem: login, windows: windows,
                        width: 460, height: 700 }
        for (const k in extra)
            props[k] = extra[k]
        const view = createTemporaryObject(viewComponent, testCase, props)
        verify(view)
        return view
    }

    function child(view, name) {
        const c = findChild(view, name)
        verify(c, name)
        return c
    }

    function test_triggerSliderStoresWholeDegrees_data() {
        return [
            { tag: "44.6", moved: 44.6, stored: 45, label: "45°", band: "Balanced. Ignores glances at a second screen." },
            { tag: "42.5", moved: 42.5, stored: 43, label: "43°", band: "Balanced. Ignores glances at a second screen." },
            { tag: "42.4", moved: 42.4, stored: 42, label: "42°", band: "Sensitive. Frosts on smaller turns." },
            { tag: "57", moved: 57, stored: 57, label: "57°", band: "Relaxed. Only frosts on a full turn." },
            { tag: "56.5", moved: 56.5, stored: 57, label: "57°", band: "Relaxed. Only frosts on a full turn." },
        ]
    }
    function test_triggerSliderStoresWholeDegrees(data) {
        const view = makeView()
        const slider = child(view, "triggerSlider")
        compare(slider.from, 35)
        compare(slider.to, 70)
        compare(slider.stepSize, 0)
        compare(slider.Accessible.name, "Frost angle")
        slider.value = data.moved
        slider.moved()
        compare(prefs.triggerAngle, data.stored)
        compare(slider.value, data.stored) // the slider shows what was stored
        compare(child(view, "triggerValue").text, data.label)
        compare(child(view, "triggerDescription").text, data.band)
        // A later change of the preference still moves the slider.
        prefs.triggerAngle = 66
        compare(slider.value, 66)
    }

    function test_draggingTheSliderStoresWholeDegrees() {
        const view = makeView()
        const slider = child(view, "triggerSlider")
        tryVerify(() => slider.width > 0)
        const y = slider.height / 2
        mousePress(slider, slider.leftPadding + slider.handle.width / 2 + slider.visualPosition * slider.availableWidth, y)
        mouseMove(slider, slider.width * 0.8, y)
        mouseMove(slider, slider.width * 0.83, y)
        mouseRelease(slider, slider.width * 0.83, y)
        verify(prefs.triggerAngle > 50)
        compare(prefs.triggerAngle, Math.round(prefs.triggerAngle))
    }

    function test_headerPerStatus_data() {
        return [
            { tag: "watching", kind: "watching", angle: 36.5, text: "37°", active: true, button: "" },
            { tag: "calibrating", kind: "calibrating", angle: -3.4, text: "3°", active: true, button: "" },
            { tag: "frosted", kind: "frosted", angle: 61, text: "61°", active: true, button: "" },
            { tag: "away", kind: "away", angle: 20, text: "—", active: false, button: "" },
            { tag: "paused", kind: "paused", angle: 20, text: "—", active: false, button: "" },
            { tag: "permissionDenied", kind: "permissionDenied", angle: 0, text: "—", active: false, button: "Open Motion Access Settings…" },
            { tag: "needsSetup", kind: "needsSetup", angle: 0, text: "—", active: false, button: "Finish Setup…" },
        ]
    }
    function test_headerPerStatus(data) {
        model.statusKind = data.kind
        model.statusTitle = "title of " + data.kind
        model.liveAngle = data.angle
        const view = makeView()
        compare(child(view, "headerAngle").text, data.text)
        compare(child(view, "statusTitle").text, "title of " + data.kind)
        const gauge = child(view, "headerGauge")
        compare(gauge.active, data.active)
        compare(gauge.angle, data.angle)
        compare(gauge.height, 118)
        const button = child(view, "headerButton")
        compare(button.visible, data.button !== "")
        if (data.button !== "")
            compare(button.text, data.button)
        // Where the frost can cover the screen, the header says nothing about it.
        compare(child(view, "coverageProblem").visible, false)
    }

    function test_headerNamesTheSourceWhileLive() {
        model.statusKind = "watching"
        model.motionSource = ""
        const view = makeView()
        const source = child(view, "motionSource")
        compare(source.visible, false)
        model.motionSource = "AirPods Pro 2 (Bluetooth)"
        compare(source.visible, true)
        compare(source.text, "Head motion from AirPods Pro 2 (Bluetooth)")
        model.motionRate = 25
        compare(source.text, "Head motion from AirPods Pro 2 (Bluetooth) · 25 samples a second")
        model.statusKind = "away"
        compare(source.visible, false)
        // Not live: why nothing comes, when the source can tell.
        model.motionProblem = "notSharing"
        model.motionDevice = "AirPods Pro (Bluetooth)"
        compare(source.text, "AirPods Pro (Bluetooth) are connected but share no head motion")
        model.motionProblem = "trackerUnreadable"
        model.motionDevice = "WH-1000XM5 (Bluetooth)"
        model.motionFix = "sudo install x"
        compare(source.text, "A head tracker is there but Quelmo may not read it (WH-1000XM5 (Bluetooth)). Run once in a terminal: sudo install x")
        model.motionFix = ""
        model.motionProblem = ""
        model.motionSource = ""
        model.motionRate = 0
    }

    function test_aTrackerWithoutStepsSaysSoAtTheWalkRule() {
        const view = makeView()
        const walk = child(view, "frostWhenWalkingAway")
        compare(walk.enabled, true)
        model.measuresSteps = false
        compare(walk.enabled, false)
        compare(walk.explanation,
                "Your headset reports turns but not steps: Quelmo notices you leaving by its signal strength")
        model.measuresSteps = true
    }

    function test_headerButtonsAct() {
        model.statusKind = "permissionDenied"
        const view = makeView()
        const button = child(view, "headerButton")
        mouseClick(button)
        compare(model.privacyOpened, 1)
        model.statusKind = "needsSetup"
        compare(button.text, "Finish Setup…")
        mouseClick(button)
        compare(windows.guides, [0]) // the guide, at its first page
        compare(model.privacyOpened, 1)
        model.statusKind = "watching"
        verify(!button.visible)
    }

    function test_headerGaugeBandsFollowTheTrigger() {
        prefs.triggerAngle = 45
        const view = makeView()
        const gauge = child(view, "headerGauge")
        compare(gauge.triggerAngle, 45)
        compare(gauge.releaseAngle, 30)
        prefs.triggerAngle = 60
        compare(gauge.releaseAngle, 45)
    }

    function test_togglesWriteThroughToPreferences_data() {
        return [
            { tag: "useInputEvidence", pref: "useInputEvidence" },
            { tag: "frostWhenWalkingAway", pref: "frostWhenWalkingAway" },
            { tag: "frostWhenFar", pref: "frostWhenFar" },
            { tag: "frostOnDisconnect", pref: "frostOnDisconnect" },
            { tag: "lockWhenAway", pref: "lockWhenAway" },
            { tag: "enabled", pref: "enabled" },
            { tag: "showAngleInMenuBar", pref: "showAngleInMenuBar" },
            { tag: "diagnostics", pref: "diagnostics" },
        ]
    }
    function test_togglesWriteThroughToPreferences(data) {
        const view = makeView()
        const row = child(view, data.tag)
        const before = prefs[data.pref]
        compare(row.control.checked, before)
        row.control.toggle()
        row.control.toggled()
        compare(prefs[data.pref], !before)
        compare(row.control.checked, !before)
        prefs[data.pref] = before // and back from the outside
        compare(row.control.checked, before)
    }

    function test_lockMinutesOfferTheChoicesAndWaitForTheSwitch() {
        const view = makeView()
        const minutes = child(view, "lockAfterMinutes")
        compare(minutes.count, 4)
        compare(minutes.currentIndex, 1) // 2 minutes, the default
        verify(!minutes.enabled) // the lock is off by default
        prefs.lockWhenAway = true
        verify(minutes.enabled)
        minutes.activated(3)
        compare(prefs.lockAfterMinutes, 10)
        compare(minutes.currentIndex, 3)
        prefs.lockAfterMinutes = 5
        compare(minutes.currentIndex, 2)
        prefs.lockWhenAway = false
        prefs.lockAfterMinutes = 2
    }

    function test_strengthSliderAndPreview() {
        const view = makeView()
        const slider = child(view, "strengthSlider")
        compare(slider.value, 0.6)
        slider.value = 0.8312
        slider.moved()
        compare(prefs.frostStrength, 0.8312) // continuous, not rounded
        child(view, "previewButton").clicked() // below the fold of the form
        compare(model.previews, 1)
    }

    function test_showLogFollowsDiagnostics() {
        const view = makeView()
        const button = child(view, "showLogButton")
        verify(!button.visible)
        prefs.diagnostics = true
        verify(button.visible)
        prefs.diagnostics = false
        verify(!button.visible)
    }

    function test_loginToggleShowsTheRealStateAndErrors() {
        login.registered = true
        const view = makeView()
        const row = child(view, "launchAtLogin")
        const error = child(view, "loginError")
        verify(row.control.checked) // read when the view appeared
        verify(!error.visible)

        // Refused: the error shows and the switch falls back to the real state.
        login.refusal = "Could not write the entry: Permission denied"
        row.control.toggle()
        row.control.toggled()
        compare(login.calls, [false])
        verify(row.control.checked)
        verify(error.visible)
        compare(error.text, "Could not write the entry: Permission denied")

        // A later success clears it.
        login.refusal = ""
        row.control.toggle()
        row.control.toggled()
        verify(!row.control.checked)
        verify(!error.visible)
    }

    function test_liveDisplaysCountTheViewWhileItExists() {
        login.registered = false
        const view = makeView()
        compare(model.liveDisplays, 1)
        // A login change made elsewhere meanwhile shows in a new view.
        login.registered = true
        const second = makeView()
        compare(model.liveDisplays, 2)
        verify(child(second, "launchAtLogin").control.checked)
        second.destroy()
        tryCompare(model, "liveDisplays", 1)
        view.destroy()
        tryCompare(model, "liveDisplays", 0)
    }

    function test_footerAndHotKey() {
        compare(child(makeView({ version: "1.0.0" }), "versionLine").text, "Quelmo 1.0.0")
        const view = makeView()
        compare(child(view, "versionLine").text, "Quelmo ")
        compare(child(view, "hotKey").text, "Ctrl+Alt+Super+R")
        compare(view.implicitWidth, 460)
        compare(view.implicitHeight, 700)
    }
}
