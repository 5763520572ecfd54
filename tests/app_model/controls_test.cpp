// SPDX-License-Identifier: MIT
#include "fakes.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using Kind = AppStatus::Kind;

using testing::ModelRig;

TEST(Controls, PauseStopsWatchingUntilItEnds) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.samples(0.0, 4.0);
    model.pause(1800);
    EXPECT_EQ(rig.status(), Kind::paused);
    EXPECT_FALSE(rig.tracker.running);
    const auto firstEnd = model.pausedUntil();

    rig.scheduler.advance(600);
    model.pause(1800); // a new pause moves the end and republishes
    EXPECT_GT(*model.pausedUntil(), *firstEnd);
    EXPECT_EQ(rig.log.matching("status: Paused until ").size(), 2u);

    rig.scheduler.advance(1799.9);
    EXPECT_EQ(rig.status(), Kind::paused);
    rig.scheduler.advance(0.2);
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    EXPECT_TRUE(rig.tracker.running);
    EXPECT_FALSE(model.pausedUntil().has_value());

    model.resume(); // not paused: nothing visible changes
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
}

TEST(Controls, PauseWhileFrostedClearsTheFrost) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.frostByTurning();
    ASSERT_TRUE(rig.overlay.frosted);
    model.pause(60);
    EXPECT_FALSE(rig.overlay.frosted);
    EXPECT_FALSE(rig.watchdog.frosted);
    EXPECT_FALSE(AppModelTestAccess::tickRunning(model));
    EXPECT_EQ(rig.log.matching("clear").size(), 1u);
    model.resume();
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
}

TEST(Controls, ScreenLockStopsAndUnlockRestarts) {
    ModelRig rig;
    rig.start();
    rig.frostByTurning();
    ASSERT_EQ(rig.status(), Kind::frosted);
    rig.system.handlers.screenLocked();
    EXPECT_EQ(rig.status(), Kind::screenLocked);
    EXPECT_FALSE(rig.overlay.frosted);
    EXPECT_FALSE(rig.tracker.running);
    EXPECT_EQ(rig.log.matching("clear").size(), 1u);
    rig.system.handlers.screenUnlocked();
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    rig.samples(80.0, 0.1);
    EXPECT_EQ(rig.status(), Kind::calibrating);
}

TEST(Controls, FirstWakeClearsTheSleepFlag) {
    ModelRig rig;
    rig.start();
    rig.system.handlers.screensDidSleep();
    rig.system.handlers.willSleep();
    EXPECT_EQ(rig.status(), Kind::screenLocked);
    rig.system.handlers.didWake();
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    EXPECT_TRUE(rig.tracker.running);
    rig.system.handlers.screensDidWake();
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
}

TEST(Controls, SwitchingOffTakesEffectAtOnce) {
    ModelRig rig;
    rig.start();
    rig.frostByTurning();
    ASSERT_TRUE(rig.overlay.frosted);
    rig.prefs->setEnabled(false);
    EXPECT_FALSE(rig.tracker.running);
    EXPECT_FALSE(rig.overlay.frosted);
    EXPECT_EQ(rig.status(), Kind::off);
    rig.prefs->setEnabled(true);
    EXPECT_TRUE(rig.tracker.running);
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
}

TEST(Controls, UnsupportedAndDenied) {
    ModelRig unsupported;
    unsupported.tracker.available = false;
    unsupported.start();
    EXPECT_EQ(unsupported.status(), Kind::unsupported);
    EXPECT_FALSE(unsupported.tracker.running);

    ModelRig denied;
    denied.tracker.access = MotionAccess::denied;
    denied.start();
    EXPECT_EQ(denied.status(), Kind::permissionDenied);
    EXPECT_EQ(denied.log.lines[1], "launched; motion authorization denied");
    denied.model->openPrivacySettings();
    EXPECT_EQ(denied.privacy.opened, 1);
}

// Refused, the tracker is stopped and nothing reads the record: allowing
// motion in the settings window must start watching all the same.
TEST(Controls, AllowingInTheSettingsWindowStartsWatching) {
    ModelRig rig;
    rig.tracker.access = MotionAccess::denied;
    AppModel& model = rig.start();
    ASSERT_FALSE(rig.tracker.running);
    model.openPrivacySettings();
    rig.tracker.access = MotionAccess::authorized;
    rig.privacy.changed();
    EXPECT_TRUE(rig.tracker.running);
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    EXPECT_EQ(model.authorizationName(), QStringLiteral("authorized"));
}

// The prompt's answer reaches the model the moment it is given; nothing
// waits on a timer for it.
TEST(Controls, ThePromptsAnswerIsHeardAtOnce) {
    ModelRig allowed;
    allowed.tracker.access = MotionAccess::notDetermined;
    AppModel& model = allowed.start();
    EXPECT_EQ(allowed.status(), Kind::needsSetup);
    EXPECT_FALSE(allowed.tracker.running);
    model.requestMotionAccess();
    EXPECT_TRUE(allowed.tracker.running);
    EXPECT_EQ(allowed.status(), Kind::waitingForAirPods);
    EXPECT_EQ(allowed.log.matching("motion access requested").size(), 1u);
    EXPECT_EQ(allowed.scheduler.pendingCount(), 0u);
    allowed.tracker.access = MotionAccess::authorized;
    allowed.tracker.answerPrompt();
    EXPECT_EQ(model.authorization(), MotionAccess::authorized);
    EXPECT_EQ(model.authorizationName(), QStringLiteral("authorized"));
    EXPECT_TRUE(allowed.tracker.running);

    ModelRig refused;
    refused.tracker.access = MotionAccess::notDetermined;
    refused.start().requestMotionAccess();
    refused.tracker.access = MotionAccess::denied;
    refused.tracker.answerPrompt();
    EXPECT_FALSE(refused.tracker.running);
    EXPECT_EQ(refused.status(), Kind::permissionDenied);
    EXPECT_EQ(refused.model->authorizationName(), QStringLiteral("denied"));
}

TEST(Controls, APromptClosedWithoutAnAnswerLeavesAccessUndecidedAndIsReconsidered) {
    ModelRig rig;
    rig.tracker.access = MotionAccess::notDetermined;
    AppModel& model = rig.start();
    model.requestMotionAccess();
    int rereads = 0;
    QObject::connect(&model, &AppModel::authorizationChanged, &model, [&] { ++rereads; });
    rig.tracker.answerPrompt();
    EXPECT_EQ(rereads, 1);
    EXPECT_EQ(model.authorizationName(), QStringLiteral("notDetermined"));
    EXPECT_TRUE(rig.tracker.running); // undecided: the tracker keeps running
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
}

TEST(Controls, MotionErrorRereadsThePermission) {
    ModelRig rig;
    rig.start();
    rig.tracker.access = MotionAccess::denied;
    rig.tracker.onError("Motion access was revoked");
    EXPECT_EQ(rig.log.matching("motion error: Motion access was revoked").size(), 1u);
    EXPECT_EQ(rig.status(), Kind::permissionDenied);
    EXPECT_FALSE(rig.tracker.running);
}

TEST(Controls, HotKeyRecentersAndAMissingOneIsFine) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.frostByTurning();
    ASSERT_TRUE(rig.overlay.frosted);
    rig.hotKeys.action();
    EXPECT_FALSE(rig.overlay.frosted);
    EXPECT_EQ(rig.status(), Kind::watching);
    EXPECT_EQ(rig.log.matching("manual recenter").size(), 1u);
    EXPECT_TRUE(model.hasHotKey());

    ModelRig refused;
    refused.hotKeys.refuse = true;
    EXPECT_FALSE(refused.start().hasHotKey());
}

} // namespace
} // namespace quelmo
