// SPDX-License-Identifier: MIT
#include "core/privacy_guard.h"
#include "guard_driver.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quelmo {
namespace {

using Status = PrivacyGuard::Status;
using testing::GuardDriver;

TEST(PrivacyGuard, NewGuardWarmsUpThenWatches) {
    PrivacyGuard g;
    EXPECT_EQ(g.status(0.0), Status::noSignal);
    EXPECT_FALSE(g.motionAge(0.0).has_value());
    g.motion(0.0, 0.0, 1.0);
    EXPECT_EQ(g.status(1.0), Status::calibrating);
    EXPECT_EQ(g.status(3.99), Status::calibrating);
    EXPECT_EQ(g.status(4.0), Status::watching);
    EXPECT_EQ(*g.motionAge(2.5), 1.5);
}

TEST(PrivacyGuard, TurnFrostsAndLookingBackClears) {
    GuardDriver d;
    d.hold(0.0, 4.0);
    d.hold(80.0, 1.0);
    ASSERT_EQ(d.frosts.size(), 1u);
    EXPECT_TRUE(d.frosts[0].second);
    EXPECT_EQ(d.guard.status(d.t), Status::frosted);
    EXPECT_FALSE(d.guard.isAway());
    d.hold(0.0, 1.0);
    ASSERT_EQ(d.frosts.size(), 2u);
    EXPECT_FALSE(d.frosts[1].second);
    EXPECT_EQ(d.guard.status(d.t), Status::watching);
}

TEST(PrivacyGuard, RecenterClearsATurnFrostAtOnce) {
    GuardDriver d;
    d.hold(0.0, 4.0);
    d.hold(80.0, 1.0);
    ASSERT_TRUE(d.guard.isFrosted());
    d.guard.recenter();
    EXPECT_FALSE(d.guard.isFrosted());
    EXPECT_EQ(d.frosts.size(), 2u);
    d.hold(80.0, 1.0); // the current heading is the new forward
    EXPECT_FALSE(d.guard.isFrosted());
    EXPECT_EQ(d.guard.status(d.t), Status::watching);
}

TEST(PrivacyGuard, LossWhileTurnedAwayKeepsTheFrostAsAway) {
    GuardDriver d;
    d.hold(0.0, 4.0);
    d.hold(80.0, 1.0);
    ASSERT_TRUE(d.guard.isFrosted());
    d.type(); // even with input just now
    d.readInput();
    d.guard.signalLost(d.t);
    EXPECT_TRUE(d.guard.isAway());
    EXPECT_TRUE(d.guard.isFrosted());
    EXPECT_EQ(d.frosts.size(), 1u); // no callback: the frost did not change
    EXPECT_EQ(d.guard.status(d.t), Status::away);
    EXPECT_FALSE(d.guard.isLive());

    // Input that happened at or before the away state began does not clear it.
    d.guard.inputActivity(0.0, d.t);
    EXPECT_TRUE(d.guard.isAway());
    d.t += 1.0;
    d.guard.inputActivity(0.5, d.t); // an event 0.5 s after the loss
    EXPECT_FALSE(d.guard.isAway());
    EXPECT_FALSE(d.guard.isFrosted());
    EXPECT_EQ(d.frosts.back(), std::make_pair(d.t, false));
    EXPECT_EQ(d.guard.status(d.t), Status::noSignal);
}

TEST(PrivacyGuard, LossRulesWhileFacingTheScreen) {
    // Input 1 s before the loss vetoes even the disconnect rule.
    {
        GuardDriver d;
        d.guard.away.frostOnDisconnect = true;
        d.hold(0.0, 5.0);
        d.t -= 1.0;
        d.type();
        d.t += 1.0;
        d.readInput();
        d.guard.signalLost(d.t);
        EXPECT_FALSE(d.guard.isAway());
        EXPECT_EQ(d.guard.status(d.t), Status::noSignal);
    }
    // Without the veto, the disconnect rule makes the user away...
    {
        GuardDriver d;
        d.guard.away.frostOnDisconnect = true;
        d.hold(0.0, 5.0);
        d.guard.signalLost(d.t);
        EXPECT_TRUE(d.guard.isAway());
        EXPECT_EQ(d.frosts.size(), 1u);
    }
    // ...and without it a quiet loss is just a loss.
    {
        GuardDriver d;
        d.hold(0.0, 5.0);
        d.guard.signalLost(d.t);
        EXPECT_FALSE(d.guard.isAway());
        EXPECT_TRUE(d.frosts.empty());
    }
    // A loss while not live changes nothing but the resets.
    {
        GuardDriver d;
        d.guard.away.frostOnDisconnect = true;
        d.guard.signalLost(5.0);
        EXPECT_FALSE(d.guard.isAway());
    }
}

TEST(PrivacyGuard, WalkingMakesTheUserAwayUnlessTyping) {
    GuardDriver d;
    d.pollInput = true;
    d.hold(0.0, 4.0);
    d.type();
    d.walk(0.0, 1.8); // walking is declared at about t = 5.5, 1.5 s after the keystroke
    EXPECT_TRUE(d.guard.walker().isWalking());
    EXPECT_FALSE(d.guard.isAway());
    d.walk(0.0, 1.0); // now more than 2 s after the keystroke
    EXPECT_TRUE(d.guard.isAway());
    EXPECT_EQ(d.guard.status(d.t), Status::away);
    ASSERT_EQ(d.frosts.size(), 1u);

    // Off: walking is seen but nobody is away.
    GuardDriver off;
    off.guard.away.frostWhenWalkingAway = false;
    off.hold(0.0, 4.0);
    off.walk(0.0, 3.0);
    EXPECT_TRUE(off.guard.walker().isWalking());
    EXPECT_FALSE(off.guard.isAway());
}

TEST(PrivacyGuard, RecentWalkBeforeALossMeansWalkedAway) {
    for (const double sinceWalk : {10.0, 25.0}) {
        GuardDriver d;
        d.pollInput = true;
        d.hold(0.0, 4.0);
        d.type();
        d.walk(0.0, 1.8); // walking while typing: not away
        ASSERT_FALSE(d.guard.isAway());
        d.type();
        d.hold(0.0, sinceWalk - 1.6); // walking ends 1.6 s after the last step
        d.pollInput = false;
        d.readInput();
        d.guard.signalLost(d.t);
        EXPECT_EQ(d.guard.isAway(), sinceWalk < 20.0) << sinceWalk;
    }
}

TEST(PrivacyGuard, TypingUnderATurnFrostOverridesIt) {
    GuardDriver d;
    d.hold(0.0, 4.0);
    d.hold(80.0, 1.0);
    ASSERT_TRUE(d.guard.isFrosted());
    const double start = d.t;
    // Readings every 0.2 s: working (idle 0.1), then one pause of 1.0 s idle that
    // does not restart the run.
    for (int i = 0; i < 15; ++i) {
        d.guard.inputActivity(i == 5 ? 1.0 : 0.1, start + 0.2 * i);
    }
    EXPECT_TRUE(d.guard.isFrosted());
    d.guard.inputActivity(0.1, start + 3.0);
    EXPECT_FALSE(d.guard.isFrosted());
    EXPECT_EQ(d.guard.inputOverrides(), 1);
    EXPECT_EQ(d.guard.detector().angle(), 0.0);

    // A pause of 1.5 s idle restarts the run.
    GuardDriver p;
    p.hold(0.0, 4.0);
    p.hold(80.0, 1.0);
    const double s = p.t;
    for (int i = 0; i <= 15; ++i) {
        p.guard.inputActivity(i == 5 ? 1.5 : 0.1, s + 0.2 * i);
    }
    EXPECT_TRUE(p.guard.isFrosted());
    EXPECT_EQ(p.guard.inputOverrides(), 0);
}

TEST(PrivacyGuard, InputEvidenceOffStillClearsAway) {
    GuardDriver d;
    d.guard.input.enabled = false;
    d.hold(0.0, 4.0);
    d.hold(80.0, 1.0);
    for (int i = 0; i < 30; ++i) {
        d.guard.inputActivity(0.1, d.t + 0.2 * i);
    }
    EXPECT_TRUE(d.guard.isFrosted()); // no override
    EXPECT_EQ(d.guard.inputOverrides(), 0);

    d.guard.signalLost(d.t + 6.0);
    ASSERT_TRUE(d.guard.isAway());
    d.guard.inputActivity(0.1, d.t + 7.0);
    EXPECT_FALSE(d.guard.isAway());
}

TEST(PrivacyGuard, TypingWhileFacingPullsForwardOntoTheHead) {
    GuardDriver d;
    d.hold(0.0, 4.0);
    d.guard.input.enabled = true;
    d.hold(30.0, 2.0); // outside the drift band: forward stays
    const double before = d.guard.detector().angle();
    ASSERT_GT(before, 29.0);
    d.guard.inputActivity(0.1, d.t);
    d.guard.inputActivity(0.1, d.t + 0.2);
    const double fraction = 1.0 - std::exp(-0.2 / 2.0);
    EXPECT_NEAR(d.guard.detector().angle(), before * (1.0 - fraction) * (1.0 - fraction), 1e-9);

    // Not while warming up, and not beyond the re-centre band.
    GuardDriver warm;
    warm.hold(0.0, 1.0);
    warm.guard.inputActivity(0.1, warm.t);
    EXPECT_EQ(warm.guard.detector().angle(), 0.0);
    GuardDriver wide;
    wide.hold(0.0, 4.0);
    wide.hold(40.0, 2.0);
    const double far = wide.guard.detector().angle();
    wide.guard.inputActivity(0.1, wide.t);
    EXPECT_EQ(wide.guard.detector().angle(), far);
}

TEST(PrivacyGuard, StopClearsEverythingButTheMemory) {
    GuardDriver d;
    d.hold(0.0, 4.0);
    d.hold(80.0, 1.0);
    d.guard.signalLost(d.t);
    ASSERT_TRUE(d.guard.isAway());
    d.guard.stop();
    EXPECT_FALSE(d.guard.isAway());
    EXPECT_FALSE(d.guard.isFrosted());
    EXPECT_FALSE(d.guard.isLive());
    ASSERT_EQ(d.frosts.size(), 2u); // one report of the end
    EXPECT_FALSE(d.frosts[1].second);
    EXPECT_EQ(d.guard.status(d.t), Status::noSignal);
    d.guard.stop();
    EXPECT_EQ(d.frosts.size(), 2u);
}

TEST(PrivacyGuard, StatusNamesAsPrinted) {
    EXPECT_STREQ(statusName(Status::noSignal), "noSignal");
    EXPECT_STREQ(statusName(Status::calibrating), "calibrating");
    EXPECT_STREQ(statusName(Status::watching), "watching");
    EXPECT_STREQ(statusName(Status::frosted), "frosted");
    EXPECT_STREQ(statusName(Status::away), "away");
}

} // namespace
} // namespace quelmo
