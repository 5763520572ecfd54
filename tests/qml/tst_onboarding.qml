// SPDX-License-Identifier: MIT
import QtQuick
import QtTest
import Quelmo.Onboarding

TestCase {
    id: testCase
    name: "Onboarding"
    width: 540
    height: 560
    visible: true
    when: windowShown

    Component { id: modelComponent; FakeModel {} }
    Component { id: prefsComponent; FakePrefs {} }
    Component { id: loginComponent; FakeLoginItem {} }
    Component { id: viewComponent; OnboardingView {} }

    property QtObject model
    property QtObject prefs
    property QtObject login

    SignalSpy { id: closeSpy; signalName: "closeRequested" }

    // The stand-ins outlive the views made with them (a test's views go when
    // it ends); each is replaced when the next test starts.
    function renew(old, component, properties) {
        if (old)
            old.destroy()
        return component.createObject(testCase, properties || {})
    }

    function init() {
        model = renew(model, modelComponent, { authorization: "notDetermined",
                                                                   statusKind: "needsSetup" })
        prefs = renew(prefs, prefsComponent)
        login = renew(login, loginComponent)
        closeSpy.clear()
    }

    function makeGuide(step) {
        const view = createTemporaryObject(viewComponent, testCase, {
            model: model, prefs: prefs, loginItem: login, step: step === undefined ? 0 : step,
            width: 540, height: 560 })
        verify(view)
        closeSpy.target = view
        return view
    }

    function child(view, name) {
        const c = findChild(view, name)
        verify(c, name)
        return c
    }
    function primary(view) { return child(view, "primaryButton") }
    function pageTitles(view) {
        // The titles of the headers shown on the current page.
        const titles = []
        const page = child(view, "page").item
        for (const name of ["pageTitle"]) {
            const stack = [page]
            while (stack.length) {
                const it = stack.pop()
                if (it.objectName === name && it.visible)
                    titles.push(it.text)
                for (let i = it.children.length - 1; i >= 0; --i)
                    if (it.children[i].visible)
                        stack.push(it.children[i])
            }
        }
        return titles
    }

    function test_welcomePage() {
        const view = makeGuide()
        compare(child(view, "stepDots").Accessible.name, "Step 1 of 4")
        compare(primary(view).text, "Get Started")
        verify(primary(view).enabled)
        verify(!child(view, "backButton").visible)
        compare(pageTitles(view), ["Your screen looks away when you do"])
        compare(child(view, "appIcon").width, 112)
        compare(view.implicitWidth, 540)
        compare(view.implicitHeight, 560)
    }

    function test_dotsFillTheCurrentStep() {
        const view = makeGuide(2)
        const dots = child(view, "stepDots")
        compare(dots.Accessible.name, "Step 3 of 4")
        let filled = []
        for (let i = 0; i < dots.children.length; ++i) {
            const d = dots.children[i]
            if (d.width === 6)
                filled.push(d.color.a > 0.5)
        }
        compare(filled, [false, false, true, false])
    }

    function test_permissionWaitsForAccess() {
        const view = makeGuide()
        mouseClick(primary(view))
        compare(view.step, 1)
        compare(child(view, "stepDots").Accessible.name, "Step 2 of 4")
        compare(primary(view).text, "Continue")
        verify(child(view, "backButton").visible)
        verify(!primary(view).enabled)
        const allow = child(view, "allowButton")
        verify(allow.visible)
        mouseClick(allow)
        compare(model.accessRequested, 1)

        model.authorization = "authorized"
        verify(primary(view).enabled)
        verify(!allow.visible)
        verify(child(view, "allowedLabel").visible)

        model.authorization = "denied"
        verify(!primary(view).enabled)
        verify(child(view, "deniedBlock").visible)
        mouseClick(child(view, "privacyButton"))
        compare(model.privacyOpened, 1)
    }

    function test_tryItShowsWhatTheModelIsDoing() {
        model.authorization = "authorized"
        model.statusKind = "waitingForAirPods"
        const view = makeGuide(1)
        mouseClick(primary(view))
        compare(view.step, 2)
        compare(pageTitles(view), ["Put your AirPods in"])
        verify(child(view, "waitingSpinner").running)
        compare(primary(view).text, "Skip")

        model.statusKind = "calibrating"
        compare(pageTitles(view), ["Now turn your head"])
        compare(child(view, "tryItReadout").text, "Getting ready…")
        const gauge = child(view, "tryItGauge")
        compare(gauge.width, 300)
        compare(gauge.height, 150)
        verify(gauge.active)

        model.statusKind = "watching"
        model.liveAngle = -44.5
        compare(child(view, "tryItReadout").text, "45°")
        compare(gauge.angle, -44.5)
        compare(gauge.releaseAngle, prefs.triggerAngle - 15)
    }

    function test_tryItSucceedsOnceAFrostCameAndWent() {
        model.authorization = "authorized"
        model.statusKind = "watching"
        model.frostCount = 5 // frosts from before the guide do not count
        const view = makeGuide(1)
        mouseClick(primary(view))
        compare(view.frostsAtStart, 5)
        compare(primary(view).text, "Skip")

        model.statusKind = "frosted"
        model.frostCount = 6
        compare(pageTitles(view), ["Now turn your head"]) // still frosted
        compare(primary(view).text, "Skip")

        model.statusKind = "watching"
        compare(pageTitles(view), ["That's it"])
        compare(primary(view).text, "Continue")

        // Back resets the try-out: Continue again starts it afresh.
        mouseClick(child(view, "backButton"))
        compare(view.step, 1)
        mouseClick(primary(view))
        compare(view.frostsAtStart, 6)
        compare(pageTitles(view), ["Now turn your head"])
        compare(primary(view).text, "Skip")
    }

    function test_returnPressesThePrimaryButton() {
        model.authorization = "notDetermined"
        const view = makeGuide()
        keyClick(Qt.Key_Return)
        compare(view.step, 1)
        keyClick(Qt.Key_Return) // Continue is disabled: nothing happens
        compare(view.step, 1)
        model.authorization = "authorized"
        keyClick(Qt.Key_Enter)
        compare(view.step, 2)
        keyClick(Qt.Key_Return)
        compare(view.step, 3)
        verify(!child(view, "backButton").visible)
        compare(primary(view).text, "Finish")
    }

    function test_finishCompletesTheGuideAndCloses() {
        const view = makeGuide(3)
        compare(prefs.onboardingDone, false)
        mouseClick(primary(view))
        compare(prefs.onboardingDone, true)
        compare(closeSpy.count, 1)
    }

    function test_doneLoginSwitchShowsTheRealStateAndNoError() {
        login.registered = false
        const view = makeGuide(3)
        const toggle = child(view, "launchAtLogin")
        verify(!toggle.checked)
        mouseClick(toggle)
        compare(login.calls, [true])
        verify(toggle.checked)

        login.refusal = "refused"
        mouseClick(toggle)
        compare(login.calls, [true, false])
        verify(toggle.checked) // still registered; no error is shown here
    }

    function test_liveDisplaysAndFrostsAtStartOnAppearing() {
        model.frostCount = 3
        const view = makeGuide()
        compare(model.liveDisplays, 1)
        compare(view.frostsAtStart, 3)
        view.destroy()
        tryCompare(model, "liveDisplays", 0)
    }

    function test_outOfRangeStepStartsAtWelcome() {
        compare(makeGuide(7).step, 0)
    }
}
