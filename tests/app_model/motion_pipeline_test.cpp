// SPDX-License-Identifier: MIT
#include "fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quelmo {
namespace {

using Kind = AppStatus::Kind;
using testing::ModelRig;

TEST(MotionPipeline, LaunchWritesTheStartLineAndWaitsForHeadphones) {
    ModelRig rig;
    rig.start();
    // Diagnostics on at launch: the log opens during construction, so the
    // launch line comes right after its start line.
    ASSERT_GE(rig.log.lines.size(), 2u);
    EXPECT_EQ(rig.log.lines[0], "--- start");
    EXPECT_EQ(rig.log.lines[1], "launched; motion authorization authorized");
    EXPECT_TRUE(rig.tracker.running);
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    EXPECT_EQ(rig.hotKeys.chord,
              QKeyCombination(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier, Qt::Key_R));
    EXPECT_EQ(rig.overlay.strength, 0.6);
}

TEST(MotionPipeline, FirstSampleCalibratesThenWatches) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.tracker.deliver(0.0);
    EXPECT_EQ(rig.status(), Kind::calibrating);
    EXPECT_TRUE(AppModelTestAccess::tickRunning(model));
    EXPECT_EQ(rig.log.matching("head tracking live").size(), 1u);
    rig.scheduler.advance(0.02);
    rig.samples(0.0, 2.9);
    EXPECT_EQ(rig.status(), Kind::calibrating);
    rig.samples(0.0, 0.2);
    EXPECT_EQ(rig.status(), Kind::watching);
    const auto events = rig.log.events();
    const std::vector<std::string> expected = {"--- start",
                                               "launched; motion authorization authorized",
                                               "status: Waiting for your AirPods",
                                               "head tracking live",
                                               "status: Getting ready\u2026",
                                               "status: Watching. Turn away and it frosts."};
    EXPECT_EQ(events, expected);
}

TEST(MotionPipeline, TurnFrostsOnceAndLookingBackClears) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.samples(0.0, 3.5);
    rig.turn(0.0, 80.0);
    rig.samples(80.0, 2.0);
    EXPECT_EQ(rig.status(), Kind::frosted);
    EXPECT_TRUE(rig.overlay.frosted);
    EXPECT_FALSE(rig.overlay.away);
    EXPECT_TRUE(rig.watchdog.frosted);
    EXPECT_EQ(model.frostCount(), 1);
    const auto frostLines = rig.log.matching("FROST");
    ASSERT_EQ(frostLines.size(), 1u);
    EXPECT_TRUE(frostLines[0].starts_with("FROST at ")) << frostLines[0];
    EXPECT_TRUE(frostLines[0].ends_with("\u00B0")) << frostLines[0];

    rig.turn(80.0, 0.0);
    rig.samples(0.0, 0.5);
    EXPECT_EQ(rig.status(), Kind::watching);
    EXPECT_FALSE(rig.overlay.frosted);
    EXPECT_FALSE(rig.watchdog.frosted);
    EXPECT_EQ(rig.log.matching("clear").size(), 1u);
    EXPECT_EQ(model.frostCount(), 1);
}

TEST(MotionPipeline, DisconnectWhileTurnedAwayKeepsAnAwayFrostUntilInput) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.frostByTurning();
    ASSERT_EQ(rig.status(), Kind::frosted);
    const int overlayCalls = rig.overlay.setFrostCalls;

    rig.tracker.onConnectionChange(false);
    EXPECT_EQ(rig.status(), Kind::away);
    EXPECT_TRUE(rig.overlay.frosted);
    EXPECT_TRUE(rig.overlay.away); // the wording follows
    EXPECT_GT(rig.overlay.setFrostCalls, overlayCalls);
    EXPECT_TRUE(rig.log.matching("clear").empty());
    EXPECT_EQ(model.liveAngle(), 0.0);

    rig.scheduler.advance(5.0);
    EXPECT_TRUE(AppModelTestAccess::tickRunning(model));
    EXPECT_EQ(rig.status(), Kind::away);

    const std::size_t before = rig.log.lines.size();
    rig.input.touch();
    rig.scheduler.advance(0.2);
    const std::vector<std::string> tail(rig.log.lines.begin() + before, rig.log.lines.end());
    const std::vector<std::string> expected = {"clear", "status: Waiting for your AirPods",
                                               "back at the Mac (keyboard or mouse used)"};
    EXPECT_EQ(tail, expected);
    EXPECT_FALSE(AppModelTestAccess::tickRunning(model));
    EXPECT_FALSE(rig.overlay.frosted);
    const auto disconnects = rig.log.matching("headphones disconnected");
    EXPECT_EQ(disconnects.size(), 1u);
}

TEST(MotionPipeline, SilentLossIsNoticedWithinATick) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.samples(0.0, 4.0);
    ASSERT_EQ(rig.status(), Kind::watching);
    const double lastSample = rig.scheduler.uptime() - 0.02;
    double noticed = -1.0;
    for (int i = 0; i < 200 && noticed < 0.0; ++i) {
        rig.scheduler.advance(0.01);
        if (!rig.log.matching("head data stopped").empty()) {
            noticed = rig.scheduler.uptime();
        }
    }
    ASSERT_GT(noticed, 0.0);
    EXPECT_GT(noticed - lastSample, 1.5);
    EXPECT_LE(noticed - lastSample, 1.75);
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    EXPECT_EQ(model.liveAngle(), 0.0);
    EXPECT_FALSE(AppModelTestAccess::tickRunning(model));
}

// Stopped for 15 s (SIGSTOP, a debugger) while the headphones kept sending:
// the first tick after it comes before the samples waiting in the socket are
// read. Quelmo was not there to listen, so it must not call the data stopped
// (that would end the turn frost's watching and start a new warm-up).
TEST(MotionPipeline, ALateTickAfterAStopDoesNotCallTheDataStopped) {
    ModelRig rig;
    rig.start();
    rig.frostByTurning();
    ASSERT_EQ(rig.status(), Kind::frosted);
    rig.scheduler.stall(15.0);
    rig.scheduler.advance(0.0); // the late tick
    rig.samples(80.0, 1.0);     // then what waited in the socket, and more
    EXPECT_TRUE(rig.log.matching("head data stopped").empty());
    EXPECT_EQ(rig.status(), Kind::frosted);

    // Once Quelmo runs again, a stream that really stopped is noticed as ever.
    rig.scheduler.advance(2.0);
    EXPECT_EQ(rig.log.matching("head data stopped").size(), 1u);
}

TEST(MotionPipeline, FarDropMakesTheUserAwayAndPollsOnlyWhileLive) {
    ModelRig rig;
    AppModel& model = rig.start();
    ASSERT_TRUE(rig.learnDeskSignal(-60.0));
    // Typing recently (idle up to 1.5 s): polls only every 10 s.
    rig.samples(0.0, 1.0);
    EXPECT_TRUE(rig.signal.pending.empty());
    rig.samples(0.0, 3.0); // idle for more than 1.5 s now: polls every 2 s
    ASSERT_EQ(rig.signal.pending.size(), 1u);
    rig.signal.answer({{"AA", -85.0}});
    rig.samples(0.0, 2.0);
    ASSERT_EQ(rig.signal.pending.size(), 1u);
    rig.signal.answer({{"AA", -86.0}});
    ASSERT_TRUE(model.guardian().signalDrop().has_value());
    EXPECT_EQ(*model.guardian().signalDrop(), 25.0);
    EXPECT_EQ(rig.status(), Kind::away);
    EXPECT_EQ(rig.log.matching("left: signal 25 dB weaker than at the desk").size(), 1u);
    EXPECT_EQ(rig.log.matching("FROST: stepped away").size(), 1u);
    EXPECT_EQ(model.frostCount(), 1);

    // A reading that comes after head data was lost is dropped.
    rig.samples(0.0, 2.0);
    rig.tracker.onConnectionChange(false);
    const std::size_t lines = rig.log.lines.size();
    rig.signal.answer({{"AA", -20.0}});
    EXPECT_EQ(rig.log.lines.size(), lines);
}

TEST(MotionPipeline, FarFrostingOffRunsNoReader) {
    ModelRig rig;
    rig.store.set("frostWhenFar", "false");
    rig.start();
    rig.samples(0.0, 10.0);
    EXPECT_EQ(rig.signal.requests, 0);
    const auto periodic = rig.log.matching("angle ");
    ASSERT_FALSE(periodic.empty());
    EXPECT_TRUE(periodic.back().ends_with(" rssi  drop -99")) << periodic.back();
}

TEST(MotionPipeline, PeriodicLineFormat) {
    ModelRig rig;
    rig.start();
    rig.samples(0.0, 3.5);
    ASSERT_EQ(rig.signal.pending.size(), 1u);
    rig.signal.answer({{"one", -100.2}, {"two", -58.0}});
    rig.samples(0.0, 1.3); // held samples are handed over by the next tick
    const auto periodic = rig.log.matching("angle ");
    ASSERT_FALSE(periodic.empty());
    const std::string& line = periodic.back();
    EXPECT_TRUE(line.starts_with("angle 0.0 vel 0 frosted 0 away 0 vmin 0.000 vmax 0.000 n "))
        << line;
    EXPECT_NE(line.find(" steps 0 soft 0 walking 0 idle 9999.0 rssi -100,-58 drop "),
              std::string::npos)
        << line;
    // At most one line every 0.2 s, each counting the samples since the last.
    EXPECT_NE(line.find(" n 10 "), std::string::npos) << line;
}

TEST(MotionPipeline, LiveAngleIsPublishedOnlyForSomeoneWhoShowsIt) {
    ModelRig rig;
    AppModel& model = rig.start();
    int publications = 0;
    QObject::connect(&model, &AppModel::liveAngleChanged, [&](double) { ++publications; });
    rig.samples(0.0, 4.0);
    rig.turn(0.0, 30.0);
    rig.samples(30.0, 1.0);
    EXPECT_EQ(publications, 0);
    EXPECT_EQ(model.liveAngle(), 0.0);

    model.setLiveDisplays(1);
    publications = 0;
    rig.samples(30.0, 1.0); // 50 samples: at most 10 publications
    EXPECT_GE(publications, 9);
    EXPECT_LE(publications, 10);
    EXPECT_GT(model.liveAngle(), 20.0);

    model.setLiveDisplays(0);
    EXPECT_EQ(model.liveAngle(), 0.0);

    rig.prefs->setShowAngleInMenuBar(true);
    publications = 0;
    rig.samples(30.0, 1.0); // menu bar only: at most 4 a second
    EXPECT_GE(publications, 3);
    EXPECT_LE(publications, 4);
}

TEST(MotionPipeline, NonFiniteSamplesAreIgnored) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.tracker.deliver(std::nan(""), 0.0);
    rig.tracker.deliver(0.0, INFINITY);
    EXPECT_TRUE(rig.log.matching("head tracking live").empty());
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    EXPECT_FALSE(AppModelTestAccess::tickRunning(model));
}

} // namespace
} // namespace quelmo

namespace quelmo {
namespace {

TEST(MotionPipeline, TheLogAndTheWindowNameTheSourceOfHeadMotion) {
    testing::ModelRig rig;
    AppModel& model = rig.start();
    int changes = 0;
    QObject::connect(&model, &AppModel::motionSourceChanged, [&] { ++changes; });
    rig.tracker.onSourceChange("AirPods Pro 2 (Bluetooth)");
    EXPECT_TRUE(rig.log.matching("head motion from").empty()); // not live yet
    rig.tracker.deliver(0.0);
    const auto events = rig.log.events();
    const auto live = std::find(events.begin(), events.end(), "head tracking live");
    ASSERT_NE(live, events.end());
    ASSERT_NE(live + 1, events.end());
    EXPECT_EQ(*(live + 1), "head motion from AirPods Pro 2 (Bluetooth)");
    EXPECT_EQ(model.motionSource(), QStringLiteral("AirPods Pro 2 (Bluetooth)"));

    // Another source taking over while live is told at once; the same one
    // again is not.
    rig.samples(0.0, 1.0);
    rig.tracker.onSourceChange("opentrack");
    rig.tracker.onSourceChange("opentrack");
    EXPECT_EQ(rig.log.matching("head motion from opentrack").size(), 1u);
    EXPECT_EQ(changes, 2);
}

// What the settings window shows under the gauge: the rate while samples
// come, and why nothing does when the source can tell, said in the log once.
TEST(MotionPipeline, TheSourceTellsItsRateOrWhyNothingComes) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.tracker.handlers.problem(MotionProblem::notSharing, "AirPods Pro (Bluetooth)", "");
    rig.tracker.handlers.problem(MotionProblem::notSharing, "AirPods Pro (Bluetooth)", "");
    EXPECT_EQ(model.motionProblem(), "notSharing");
    EXPECT_EQ(model.motionDevice(), "AirPods Pro (Bluetooth)");
    EXPECT_EQ(rig.log.matching("no head motion from").size(), 1u);
    EXPECT_EQ(rig.log.matching("no head motion from")[0],
              "no head motion from AirPods Pro (Bluetooth): connected, but sharing none");
    rig.tracker.handlers.problem(MotionProblem::none, "AirPods Pro (Bluetooth)", "");
    EXPECT_EQ(model.motionProblem(), "");
    rig.samples(0.0, 6.0); // the rig's samples come 50 a second
    EXPECT_EQ(model.motionRate(), 50);
}

} // namespace
} // namespace quelmo
