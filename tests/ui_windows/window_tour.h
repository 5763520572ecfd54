// SPDX-License-Identifier: MIT
#pragma once

#include "tests/ui_windows/windows_rig.h"

#include <QQuickView>

#include <functional>

namespace quelmo::testing {

// Called once for every state the tour shows: the window and a name for the
// state ("settings-top", "guide-2-permission-denied", ...).
using TourStop = std::function<void(QQuickView* window, const char* name)>;

// Scrolls the settings form to a fraction (0 top, 1 bottom) of its length.
inline void scrollSettings(QQuickView* window, double fraction) {
    auto* flickable = part(window, "scroller")->property("contentItem").value<QObject*>();
    const double range =
        flickable->property("contentHeight").toDouble() - flickable->property("height").toDouble();
    flickable->setProperty("contentY", range * fraction);
}

// Watching, with the head turned to `heading`.
inline void watchAt(WindowsRig& rig, double heading) {
    rig.samples(0.0, 3.5);
    rig.turn(0.0, heading);
    rig.samples(heading, 1.0);
}

// Opens the settings window and every page of the welcome guide in each state
// that changes what they say, stopping at each.
inline void tourWindows(const TourStop& stop) {
    {
        WindowsRig rig;
        rig.start();
        rig.windows->showSettings(); // the model publishes angles while a gauge is shown
        rig.store.set("diagnostics", "true");
        watchAt(rig, 23.0);
        QQuickView* w = rig.windows->settingsWindow();
        stop(w, "settings-top");
        scrollSettings(w, 1.0);
        stop(w, "settings-bottom");
    }
    {
        WindowsRig rig;
        rig.tracker.access = MotionAccess::notDetermined;
        rig.start();
        rig.windows->showSettings();
        stop(rig.windows->settingsWindow(), "settings-needs-setup");
    }
    {
        WindowsRig rig;
        rig.tracker.access = MotionAccess::denied;
        rig.start();
        rig.windows->showSettings();
        stop(rig.windows->settingsWindow(), "settings-motion-access-off");
    }
    {
        WindowsRig rig;
        rig.tracker.access = MotionAccess::notDetermined;
        rig.start();
        rig.windows->showOnboarding();
        stop(rig.windows->onboardingWindow(), "guide-1-welcome");
        rig.windows->showOnboarding(onboarding::Step::permission);
        stop(rig.windows->onboardingWindow(), "guide-2-permission");
        rig.tracker.access = MotionAccess::denied;
        rig.model->requestMotionAccess();
        rig.tracker.answerPrompt();
        stop(rig.windows->onboardingWindow(), "guide-2-permission-denied");
    }
    {
        WindowsRig rig;
        rig.start();
        rig.windows->showOnboarding(onboarding::Step::permission);
        stop(rig.windows->onboardingWindow(), "guide-2-permission-allowed");
        press(part(rig.windows->onboardingWindow(), "primaryButton"));
        stop(rig.windows->onboardingWindow(), "guide-3-try-waiting");
        rig.samples(0.0, 0.1);
        stop(rig.windows->onboardingWindow(), "guide-3-try-getting-ready");
        watchAt(rig, 38.0);
        stop(rig.windows->onboardingWindow(), "guide-3-try-live");
        rig.turn(38.0, 80.0);
        rig.samples(80.0, 2.0);
        rig.turn(80.0, 0.0);
        rig.samples(0.0, 0.5);
        stop(rig.windows->onboardingWindow(), "guide-3-try-success");
        rig.windows->showOnboarding(onboarding::Step::done);
        stop(rig.windows->onboardingWindow(), "guide-4-done");
    }
}

} // namespace quelmo::testing
