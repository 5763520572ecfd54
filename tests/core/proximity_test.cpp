// SPDX-License-Identifier: MIT
#include "core/privacy_guard.h"
#include "guard_driver.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using Status = PrivacyGuard::Status;
using testing::GuardDriver;

// A live guard facing the screen at t = 5, with the user typing at t = 4: the
// at-desk level of "buds" is learned from the first reading.
struct AtDesk : GuardDriver {
    explicit AtDesk(double level = -70.0) {
        hold(0.0, 5.0);
        guard.inputActivity(1.0, t); // last event at t - 1
        guard.proximity({{"buds", level}}, t);
    }
    void idleReading(const SignalReadings& r, double idle = 10.0) {
        t += 2.0;
        guard.inputActivity(idle, t);
        guard.proximity(r, t);
    }
};

TEST(Proximity, FirstReadingAtTheDeskSetsTheLevelAndNeedsThreeReadings) {
    AtDesk d;
    EXPECT_FALSE(d.guard.signalDrop().has_value());
    d.idleReading({{"buds", -70.0}});
    EXPECT_FALSE(d.guard.signalDrop().has_value());
    d.idleReading({{"buds", -70.0}});
    ASSERT_TRUE(d.guard.signalDrop().has_value());
    EXPECT_EQ(*d.guard.signalDrop(), 0.0); // the level was taken exactly
}

TEST(Proximity, LargeDropMakesTheUserAway) {
    AtDesk d;
    d.idleReading({{"buds", -95.0}});
    EXPECT_FALSE(d.guard.isAway());
    d.idleReading({{"buds", -96.0}});
    EXPECT_EQ(*d.guard.signalDrop(), 25.0); // median of -70, -95, -96
    EXPECT_TRUE(d.guard.isAway());
    EXPECT_TRUE(d.guard.isFrosted());
    ASSERT_EQ(d.frosts.size(), 1u);
    EXPECT_EQ(d.guard.status(d.t), Status::away);
}

TEST(Proximity, SmallerDropNeedsARecentFootstepHint) {
    AtDesk quiet;
    quiet.idleReading({{"buds", -83.0}});
    quiet.idleReading({{"buds", -84.0}});
    EXPECT_EQ(*quiet.guard.signalDrop(), 13.0);
    EXPECT_FALSE(quiet.guard.isAway());

    AtDesk stepped;
    stepped.guard.away.frostWhenWalkingAway = false; // only the hint, no walking rule
    stepped.walk(0.0, 1.2);                          // two or three hard steps: a hint
    stepped.hold(0.0, 1.0);
    stepped.idleReading({{"buds", -83.0}});
    stepped.idleReading({{"buds", -84.0}});
    EXPECT_TRUE(stepped.guard.isAway());

    AtDesk stale;
    stale.guard.away.frostWhenWalkingAway = false;
    stale.walk(0.0, 1.2);
    stale.hold(0.0, 21.0); // the hint is now more than 20 s old
    stale.idleReading({{"buds", -83.0}});
    stale.idleReading({{"buds", -84.0}});
    EXPECT_FALSE(stale.guard.isAway());
}

TEST(Proximity, RecentInputVetoesAndTeachesTheLevel) {
    AtDesk d;
    d.idleReading({{"buds", -95.0}}, 1.5);
    d.idleReading({{"buds", -96.0}}, 1.5);
    EXPECT_FALSE(d.guard.isAway());
    // The level moved toward the readings, so the drop is below 25.
    EXPECT_LT(*d.guard.signalDrop(), 25.0);
    EXPECT_GT(*d.guard.signalDrop(), 20.0);

    AtDesk off;
    off.guard.away.frostWhenFar = false;
    off.idleReading({{"buds", -95.0}});
    off.idleReading({{"buds", -96.0}});
    EXPECT_EQ(*off.guard.signalDrop(), 25.0); // measured all the same
    EXPECT_FALSE(off.guard.isAway());
}

TEST(Proximity, OldReadingsAndSilentDevicesAreForgotten) {
    AtDesk d;
    for (int i = 0; i < 4; ++i) {
        d.t += 9.0; // readings 9 s apart never reach three
        d.guard.proximity({{"buds", -99.0}}, d.t);
        EXPECT_FALSE(d.guard.signalDrop().has_value());
    }
    // A device that stops appearing: 15 s later its history is gone, so it needs
    // three fresh readings again; its at-desk level stays.
    AtDesk s;
    s.idleReading({{"buds", -70.0}});
    s.idleReading({{"buds", -70.0}});
    ASSERT_TRUE(s.guard.signalDrop().has_value());
    s.idleReading({});
    EXPECT_FALSE(s.guard.signalDrop().has_value()); // an empty reading still runs the steps
    s.t += 14.0;
    s.guard.proximity({{"other", -50.0}}, s.t);
    s.idleReading({{"buds", -95.0}});
    EXPECT_FALSE(s.guard.signalDrop().has_value());
    s.idleReading({{"buds", -95.0}});
    s.idleReading({{"buds", -95.0}});
    EXPECT_EQ(*s.guard.signalDrop(), 25.0); // compared with the old level
}

TEST(Proximity, LargestDropOfAllDevicesAndTheUpperMedian) {
    GuardDriver d;
    d.hold(0.0, 5.0);
    d.guard.away.frostWhenFar = false;
    d.guard.inputActivity(0.0, d.t);
    d.guard.proximity({{"a", -60.0}, {"b", -60.0}}, d.t);
    for (int i = 0; i < 2; ++i) {
        d.t += 1.0;
        d.guard.inputActivity(10.0, d.t);
        d.guard.proximity({{"a", -70.0}, {"b", -85.0}}, d.t);
    }
    EXPECT_EQ(*d.guard.signalDrop(), 25.0);

    GuardDriver m;
    m.guard.away.farSamples = 4;
    m.guard.away.frostWhenFar = false;
    m.hold(0.0, 5.0);
    m.guard.inputActivity(0.0, m.t);
    m.guard.proximity({{"a", -80.0}}, m.t);
    m.guard.inputActivity(10.0, m.t);
    for (const double v : {-82.0, -90.0, -91.0}) {
        m.t += 1.0;
        m.guard.proximity({{"a", v}}, m.t);
    }
    EXPECT_EQ(*m.guard.signalDrop(), 2.0); // sorted -91, -90, -82, -80: index 2
}

TEST(Proximity, LossUsesTheNewestReadingOfTheLastSixSeconds) {
    // A loss shortly after weak readings: the newest one alone decides.
    AtDesk d;
    d.idleReading({{"buds", -79.0}});
    d.t += 5.0;
    d.guard.inputActivity(10.0, d.t);
    d.guard.signalLost(d.t);
    EXPECT_TRUE(d.guard.isAway()); // drop 9 >= 8

    AtDesk late;
    late.idleReading({{"buds", -79.0}});
    late.t += 7.0; // too old: the drop counts as 0
    late.guard.inputActivity(10.0, late.t);
    late.guard.signalLost(late.t);
    EXPECT_FALSE(late.guard.isAway());
}

TEST(Proximity, FarAwayClearsByInputLikeAnyAway) {
    AtDesk d;
    d.idleReading({{"buds", -95.0}});
    d.idleReading({{"buds", -96.0}});
    ASSERT_TRUE(d.guard.isAway());
    d.t += 1.0;
    d.guard.inputActivity(0.5, d.t);
    EXPECT_FALSE(d.guard.isAway());
    EXPECT_FALSE(d.guard.isFrosted());
}

} // namespace
} // namespace quelmo
