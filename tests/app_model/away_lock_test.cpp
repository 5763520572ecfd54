// SPDX-License-Identifier: MIT
#include "app/away_lock.h"
#include "fakes.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using Kind = AppStatus::Kind;
using testing::ModelRig;

struct FakeSessionLock : SessionLockPort {
    bool inhibited = false;
    bool delivered = true;
    int asks = 0;
    std::vector<double> locks; // uptime of each request
    const Scheduler* clock = nullptr;
    void askIdleInhibited(std::function<void(bool)> answer) override {
        ++asks;
        answer(inhibited);
    }
    void lockSession(std::function<void(bool)> done) override {
        locks.push_back(clock->uptime());
        done(delivered);
    }
};

struct LockRig : ModelRig {
    FakeSessionLock session;
    std::unique_ptr<AwayLock> lock;

    explicit LockRig(const char* minutes = "2", bool on = true) {
        session.clock = &scheduler;
        store.set("lockWhenAway", on ? "true" : "false");
        store.set("lockAfterMinutes", minutes);
        start();
        lock = std::make_unique<AwayLock>(*model, scheduler, session);
    }
    // Headphones taken off while turned away: an away frost that holds
    // until the keyboard or mouse is used. Returns when it began.
    double takenOff() {
        frostByTurning();
        tracker.onConnectionChange(false);
        EXPECT_EQ(status(), Kind::away);
        return scheduler.uptime();
    }
};

TEST(AwayLock, LocksOnceWhenAnAwayFrostLastsTheChosenMinutes) {
    LockRig rig("5");
    const double since = rig.takenOff();
    rig.scheduler.advance(5 * 60 - 0.1);
    EXPECT_TRUE(rig.session.locks.empty());
    rig.scheduler.advance(0.2);
    ASSERT_EQ(rig.session.locks.size(), 1u);
    EXPECT_NEAR(rig.session.locks[0] - since, 300.0, 1e-6);
    EXPECT_EQ(rig.log.matching("locked the session after"),
              std::vector<std::string>{"locked the session after 5 minutes away"});

    // Nobody locked the screen: the frost stays, and no second request.
    rig.scheduler.advance(20 * 60);
    EXPECT_EQ(rig.status(), Kind::away);
    EXPECT_EQ(rig.session.locks.size(), 1u);

    // Back and gone again: a new stretch counts from its own start.
    rig.input.touch();
    rig.scheduler.advance(0.5);
    ASSERT_NE(rig.status(), Kind::away);
    rig.takenOff();
    rig.scheduler.advance(5 * 60 + 0.1);
    EXPECT_EQ(rig.session.locks.size(), 2u);
}

TEST(AwayLock, NeverForATurnFrostAPauseOrWithTheSettingOff) {
    LockRig turn("1");
    turn.frostByTurning();
    for (int i = 0; i < 60; ++i) { // ten minutes looking away, head data live
        turn.samples(80.0, 10.0);
    }
    EXPECT_EQ(turn.status(), Kind::frosted);
    EXPECT_TRUE(turn.session.locks.empty());

    LockRig off("1", false);
    off.takenOff();
    off.scheduler.advance(30 * 60);
    EXPECT_TRUE(off.session.locks.empty());
    // Turned on during the stretch: the minutes already away count.
    off.prefs->setLockWhenAway(true);
    off.scheduler.advance(0.1);
    EXPECT_EQ(off.session.locks.size(), 1u);

    LockRig paused("1");
    paused.takenOff();
    paused.scheduler.advance(30);
    paused.model->pause(30 * 60);
    EXPECT_EQ(paused.status(), Kind::paused);
    paused.scheduler.advance(29 * 60);
    EXPECT_TRUE(paused.session.locks.empty());
    EXPECT_FALSE(paused.lock->isArmed());
}

TEST(AwayLock, WaitsWhileIdlingIsInhibitedAndFollowsAChangeOfMinutes) {
    LockRig rig("10");
    const double since = rig.takenOff();
    rig.scheduler.advance(60);
    rig.prefs->setLockAfterMinutes(2); // counts from the start of the stretch
    rig.session.inhibited = true;      // a video plays
    rig.scheduler.advance(61);
    EXPECT_EQ(rig.session.asks, 1);
    EXPECT_TRUE(rig.session.locks.empty());
    rig.scheduler.advance(3 * 60);
    EXPECT_EQ(rig.session.asks, 4);
    EXPECT_TRUE(rig.session.locks.empty());
    rig.session.inhibited = false;
    rig.scheduler.advance(60);
    ASSERT_EQ(rig.session.locks.size(), 1u);
    EXPECT_NEAR(rig.session.locks[0] - since, 6 * 60.0, 1.0);
    EXPECT_EQ(rig.log.matching("locked the session after"),
              std::vector<std::string>{"locked the session after 6 minutes away"});

    // Where no session manager takes the request, the log says so.
    LockRig lonely("1");
    lonely.session.delivered = false;
    lonely.takenOff();
    lonely.scheduler.advance(61);
    EXPECT_TRUE(lonely.log.matching("locked the session").empty());
    EXPECT_EQ(lonely.log.matching("could not lock the session").size(), 1u);
}

TEST(AwayLock, MinutesReadBackAsTheOfferedChoices) {
    for (const auto& [stored, expected] : std::vector<std::pair<const char*, double>>{
             {"3.7", 5.0}, {"0", 1.0}, {"60", 10.0}, {"abc", 2.0}, {"1", 1.0}}) {
        MemoryPreferenceStore store;
        store.set("lockAfterMinutes", stored);
        EXPECT_EQ(Preferences(store).lockAfterMinutes(), expected) << stored;
    }
    MemoryPreferenceStore empty;
    const Preferences defaults(empty);
    EXPECT_FALSE(defaults.lockWhenAway());
    EXPECT_EQ(defaults.lockAfterMinutes(), 2.0);
}

} // namespace
} // namespace quelmo
