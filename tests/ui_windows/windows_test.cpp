// SPDX-License-Identifier: MIT
#include "tests/ui_windows/windows_rig.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QScreen>

namespace quelmo::testing {
namespace {

using Kind = AppStatus::Kind;

QString text(QObject* item) {
    return item ? item->property("text").toString() : QString("<none>");
}
bool shown(QObject* item) {
    return item && item->property("visible").toBool();
}

// Polls the event loop until `done` holds, for at most two seconds.
template <typename Condition> bool eventually(Condition done) {
    const QDeadlineTimer deadline(2000);
    while (!done() && !deadline.hasExpired()) {
        WindowsRig::flushDeletes();
    }
    return done();
}

TEST(Windows, TheEngineLivesOnlyWhileAWindowIsOpen) {
    WindowsRig rig;
    rig.start();
    EXPECT_EQ(rig.windows->engine(), nullptr);
    rig.windows->showSettings();
    rig.windows->showOnboarding();
    QQmlEngine* engine = rig.windows->engine();
    ASSERT_NE(engine, nullptr);

    // The guide still open keeps the engine its view runs on.
    rig.windows->settingsWindow()->close();
    WindowsRig::flushDeletes();
    WindowsRig::flushDeletes();
    EXPECT_EQ(rig.windows->engine(), engine);
    EXPECT_EQ(rig.windows->onboardingWindow()->rootObject()->property("step").toInt(), 0);

    rig.windows->onboardingWindow()->close();
    EXPECT_TRUE(eventually([&] { return rig.windows->engine() == nullptr; }));

    // A window opened later runs on a fresh engine and shows the model.
    rig.windows->showSettings();
    ASSERT_NE(rig.windows->engine(), nullptr);
    EXPECT_EQ(text(part(rig.windows->settingsWindow(), "statusTitle")), rig.model->statusTitle());
}

TEST(Windows, SettingsWindowIsMadeOnceAndReused) {
    WindowsRig rig;
    AppModel& model = rig.start();
    rig.windows->showSettings();
    QQuickView* first = rig.windows->settingsWindow();
    ASSERT_NE(first, nullptr);
    rig.windows->showSettings();
    EXPECT_EQ(rig.windows->settingsWindow(), first);
    EXPECT_EQ(model.liveDisplays(), 1);

    EXPECT_EQ(first->title(), "Quelmo Settings");
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->size(), QSize(460, 700));
    EXPECT_EQ(first->minimumSize(), first->maximumSize()); // not resizable
    EXPECT_FALSE(first->flags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(first->flags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(first->flags() & Qt::WindowCloseButtonHint);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offset = first->geometry().center() - area.center();
    EXPECT_LE(offset.manhattanLength(), 2) << "centred"; // QRect's centre rounds
}

TEST(Windows, ClosingSettingsEndsTheViewAndAFreshOneComesNext) {
    WindowsRig rig;
    AppModel& model = rig.start();
    rig.samples(0.0, 3.5);
    rig.turn(0.0, 30.0);
    rig.windows->showSettings();
    QQuickView* first = rig.windows->settingsWindow();
    ASSERT_EQ(model.liveDisplays(), 1);
    EXPECT_EQ(text(part(first, "headerAngle")),
              QString::fromUtf8("%1°").arg(std::lround(model.liveAngle())));

    // A refused login change leaves its error text in this view.
    QFile::remove(rig.home.filePath("autostart"));
    QFile blocker(rig.home.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    QObject* row = part(first, "launchAtLogin");
    QMetaObject::invokeMethod(row, "toggled", Q_ARG(bool, true));
    EXPECT_TRUE(shown(part(first, "loginError")));
    EXPECT_FALSE(row->property("checked").toBool());

    first->close();
    EXPECT_EQ(rig.windows->settingsWindow(), nullptr);
    WindowsRig::flushDeletes();
    EXPECT_EQ(model.liveDisplays(), 0);
    EXPECT_EQ(model.liveAngle(), 0.0); // nobody looks and the menu bar shows no angle

    // Meanwhile the login item was turned on elsewhere.
    QFile::remove(rig.home.filePath("autostart"));
    ASSERT_EQ(rig.loginItem().set(true), std::nullopt);
    rig.windows->showSettings();
    QQuickView* second = rig.windows->settingsWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(part(second, "launchAtLogin")->property("checked").toBool());
    EXPECT_FALSE(shown(part(second, "loginError")));
    EXPECT_EQ(model.liveDisplays(), 1);
}

TEST(Windows, SettingsHeaderFollowsTheModel) {
    WindowsRig rig;
    rig.tracker.access = MotionAccess::notDetermined; // permission not asked for yet
    AppModel& model = rig.start();
    ASSERT_EQ(rig.model->status().kind(), Kind::needsSetup);
    rig.windows->showSettings();
    QQuickView* w = rig.windows->settingsWindow();
    EXPECT_EQ(text(part(w, "headerAngle")), QString::fromUtf8("—"));
    EXPECT_EQ(text(part(w, "statusTitle")), "Finish setup to start");
    EXPECT_EQ(text(part(w, "headerButton")), QString::fromUtf8("Finish Setup…"));

    // "Finish Setup…" opens the guide at its first page.
    press(part(w, "headerButton"));
    ASSERT_NE(rig.windows->onboardingWindow(), nullptr);
    EXPECT_EQ(rig.windows->onboardingWindow()->rootObject()->property("step").toInt(), 0);

    // Denied: the button opens the privacy settings instead.
    model.requestMotionAccess();
    rig.tracker.access = MotionAccess::denied;
    rig.tracker.answerPrompt();
    ASSERT_EQ(model.status().kind(), Kind::permissionDenied);
    EXPECT_EQ(text(part(w, "headerButton")), QString::fromUtf8("Open Motion Access Settings…"));
    press(part(w, "headerButton"));
    EXPECT_EQ(rig.privacy.opened, 1);
}

TEST(Windows, SettingsControlsReachTheModelAndPreferences) {
    WindowsRig rig;
    AppModel& model = rig.start();
    rig.windows->showSettings();
    QQuickView* w = rig.windows->settingsWindow();

    QObject* slider = part(w, "triggerSlider");
    slider->setProperty("value", 44.6);
    QMetaObject::invokeMethod(slider, "moved");
    EXPECT_EQ(model.prefs().triggerAngle(), 45.0);
    EXPECT_EQ(rig.store.read("triggerAngle").value_or(""), "45");
    EXPECT_EQ(text(part(w, "triggerValue")), QString::fromUtf8("45°"));
    EXPECT_EQ(model.guardian().detector().settings.triggerAngle, 45.0);

    press(part(w, "previewButton"));
    EXPECT_EQ(rig.overlay.previews, 1);

    QMetaObject::invokeMethod(part(w, "frostOnDisconnect"), "toggled", Q_ARG(bool, true));
    EXPECT_TRUE(model.prefs().frostOnDisconnect());

    // The log folder button is there while diagnostics is on.
    EXPECT_TRUE(shown(part(w, "showLogButton")));
    model.prefs().setDiagnostics(false);
    EXPECT_FALSE(shown(part(w, "showLogButton")));
}

TEST(Windows, CommandsOpenTheWindows) {
    WindowsRig rig;
    rig.start();
    rig.commands.send("settings");
    EXPECT_NE(rig.windows->settingsWindow(), nullptr);
    rig.commands.send("onboarding");
    ASSERT_NE(rig.windows->onboardingWindow(), nullptr);
    EXPECT_EQ(rig.windows->onboardingWindow()->title(), "Welcome to Quelmo");
    EXPECT_EQ(rig.windows->onboardingWindow()->size(), QSize(540, 560));
    EXPECT_EQ(rig.windows->onboardingWindow()->minimumSize(), QSize(540, 560));
    EXPECT_EQ(rig.windows->onboardingWindow()->maximumSize(), QSize(540, 560));
}

TEST(Windows, AskingForTheGuideAgainStartsAFreshOne) {
    WindowsRig rig;
    AppModel& model = rig.start();
    rig.windows->showOnboarding(onboarding::Step::done);
    QQuickView* first = rig.windows->onboardingWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->rootObject()->property("step").toInt(), 3);
    EXPECT_EQ(model.liveDisplays(), 1);

    rig.windows->showOnboarding();
    QQuickView* second = rig.windows->onboardingWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(second->rootObject()->property("step").toInt(), 0);
    WindowsRig::flushDeletes();
    EXPECT_EQ(model.liveDisplays(), 1); // the old guide's view has ended
}

TEST(Windows, FinishCompletesTheGuideAndClosesItsWindow) {
    WindowsRig rig;
    rig.store.set("onboardingDone", "false");
    AppModel& model = rig.start();
    rig.windows->showOnboarding(onboarding::Step::done);
    press(part(rig.windows->onboardingWindow(), "primaryButton"));
    EXPECT_TRUE(model.prefs().onboardingDone());
    EXPECT_EQ(rig.store.read("onboardingDone").value_or(""), "true");
    EXPECT_EQ(rig.windows->onboardingWindow(), nullptr);
    WindowsRig::flushDeletes();
    EXPECT_EQ(model.liveDisplays(), 0);

    rig.windows->showOnboarding();
    EXPECT_NE(rig.windows->onboardingWindow(), nullptr);
}

TEST(Windows, ClosingTheGuideOtherwiseLeavesItUnfinished) {
    WindowsRig rig;
    rig.store.set("onboardingDone", "false");
    AppModel& model = rig.start();
    rig.windows->showOnboarding();
    rig.windows->onboardingWindow()->close();
    EXPECT_EQ(rig.windows->onboardingWindow(), nullptr);
    EXPECT_FALSE(model.prefs().onboardingDone());
}

TEST(Windows, TryOutWithTheRealModel) {
    WindowsRig rig;
    AppModel& model = rig.start();
    rig.windows->showOnboarding(onboarding::Step::permission);
    QQuickView* w = rig.windows->onboardingWindow();
    QObject* primary = part(w, "primaryButton");
    EXPECT_TRUE(primary->property("enabled").toBool()); // authorized already
    press(primary);
    ASSERT_EQ(w->rootObject()->property("step").toInt(), 2);
    EXPECT_EQ(model.status().kind(), Kind::waitingForAirPods);
    EXPECT_TRUE(shown(part(w, "waitingHeader")));

    rig.tracker.deliver(0.0);
    EXPECT_EQ(model.status().kind(), Kind::calibrating);
    EXPECT_EQ(text(part(w, "tryItReadout")), QString::fromUtf8("Getting ready…"));
    rig.samples(0.0, 3.5);
    EXPECT_EQ(text(part(w, "tryItReadout")), QString::fromUtf8("0°"));
    EXPECT_EQ(text(primary), "Skip");

    rig.turn(0.0, 80.0);
    rig.samples(80.0, 2.0);
    ASSERT_EQ(model.status().kind(), Kind::frosted);
    EXPECT_TRUE(shown(part(w, "liveHeader"))); // still frosted: the gauge stays
    EXPECT_EQ(text(primary), "Skip");

    rig.turn(80.0, 0.0);
    rig.samples(0.0, 0.5);
    ASSERT_EQ(model.status().kind(), Kind::watching);
    EXPECT_TRUE(shown(part(w, "successHeader")));
    EXPECT_EQ(text(primary), "Continue");
}

} // namespace
} // namespace quelmo::testing
