// SPDX-License-Identifier: MIT
// Quiet samples held back by the tracker: they reach the guard later, in
// order, with the time they arrived, and change nothing about when anything
// is decided.
#include "fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelmo {
namespace {

using Kind = AppStatus::Kind;
using testing::ModelRig;

TEST(QuietSamples, HeldSamplesReachTheGuardInOrderWithTheirTimesBeforeTheTicksInputCheck) {
    ModelRig rig;
    rig.store.set("diagnostics", "false"); // the log's lines read the input too
    AppModel& model = rig.start();
    rig.samples(0.0, 3.5);
    ASSERT_EQ(rig.status(), Kind::watching);
    ASSERT_TRUE(rig.tracker.band) << "watching a still head publishes a band";

    // Just after a tick, so the next samples are held until the next one.
    const int beats = rig.watchdog.beats;
    while (rig.watchdog.beats == beats) {
        rig.scheduler.advance(0.001);
    }
    std::vector<std::string> order;
    std::vector<double> seen;
    auto motion = rig.tracker.handlers.motion;
    rig.tracker.handlers.motion = [&](double h, double v, double at) {
        order.push_back("sample");
        seen.push_back(at);
        motion(h, v, at);
    };
    rig.input.onRead = [&] { order.push_back("input"); };

    const int wakes = rig.tracker.wakes;
    std::vector<double> stamps;
    for (int i = 0; i < 5; ++i) {
        stamps.push_back(rig.scheduler.uptime());
        rig.tracker.deliver(i % 2 == 0 ? 1.0 : -1.0, 0.01);
        rig.scheduler.advance(0.02);
    }
    ASSERT_EQ(rig.tracker.wakes, wakes) << "quiet samples woke nobody";
    ASSERT_EQ(rig.tracker.held.size(), 5u);
    EXPECT_TRUE(seen.empty());

    rig.scheduler.advance(0.2); // the tick
    ASSERT_GE(order.size(), 6u);
    EXPECT_EQ(
        std::vector<std::string>(order.begin(), order.begin() + 6),
        (std::vector<std::string>{"sample", "sample", "sample", "sample", "sample", "input"}));
    EXPECT_EQ(std::vector<double>(seen.begin(), seen.begin() + 5), stamps);
    EXPECT_DOUBLE_EQ(*model.guardian().motionAge(stamps.back()), 0.0);
    EXPECT_TRUE(rig.tracker.held.empty());
    EXPECT_TRUE(rig.tracker.band) << "published again after the tick";
}

TEST(QuietSamples, ASampleOutsideTheBandIsHandedOverAtOnceAfterTheHeldOnes) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.samples(0.0, 3.5);
    rig.scheduler.advance(0.2);
    rig.samples(0.0, 0.06);
    ASSERT_FALSE(rig.tracker.held.empty());
    const int wakes = rig.tracker.wakes;
    const double at = rig.scheduler.uptime();
    rig.tracker.deliver(15.0);
    EXPECT_EQ(rig.tracker.wakes, wakes + 1);
    EXPECT_TRUE(rig.tracker.held.empty());
    EXPECT_DOUBLE_EQ(*model.guardian().motionAge(at), 0.0);
    EXPECT_FALSE(rig.tracker.band) << "no band with the head this far round";
}

// The same head, once with a gauge on screen (nothing is held) and once
// without: every decision comes at the same moment.
TEST(QuietSamples, HoldingChangesNoDecisionNorItsTime) {
    struct Run {
        std::vector<std::string> events;
        std::vector<std::pair<double, bool>> frosts;
        int wakes = 0;
    };
    const auto run = [](bool gauge) {
        ModelRig rig;
        AppModel& model = rig.start();
        if (gauge) {
            model.setLiveDisplays(1);
        }
        Run out;
        QObject::connect(&model, &AppModel::statusChanged, [&] {
            out.frosts.emplace_back(rig.scheduler.uptime(), rig.overlay.frosted);
        });
        rig.samples(0.0, 4.0);
        rig.samples(2.0, 3.0); // quiet, slightly off
        rig.turn(2.0, 70.0);   // away
        rig.samples(70.0, 1.0);
        rig.turn(70.0, 0.0); // back
        rig.samples(0.0, 3.0);
        rig.input.touch(); // typing nudges forward
        rig.samples(4.0, 2.0);
        rig.samples(0.0, 2.0, 0.02); // a still head with a little jitter up and down
        out.events = rig.log.events();
        out.wakes = rig.tracker.wakes;
        return out;
    };
    const Run held = run(false);
    const Run direct = run(true);
    EXPECT_EQ(held.events, direct.events);
    EXPECT_EQ(held.frosts, direct.frosts);
    ASSERT_GE(held.frosts.size(), 4u);
    EXPECT_LT(held.wakes * 3, direct.wakes) << "most samples were held";
}

TEST(QuietSamples, NoBandWhileSomethingWantsEverySampleAtOnce) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.tracker.deliver(0.0);
    EXPECT_FALSE(rig.tracker.band) << "calibrating";
    rig.samples(0.0, 3.5);
    ASSERT_TRUE(rig.tracker.band);

    model.setLiveDisplays(1);
    rig.samples(0.0, 0.1);
    EXPECT_FALSE(rig.tracker.band) << "gauge";
    model.setLiveDisplays(0);
    EXPECT_TRUE(rig.tracker.band);

    rig.prefs->setShowAngleInMenuBar(true);
    rig.samples(0.0, 0.1);
    EXPECT_FALSE(rig.tracker.band) << "angle in the menu bar";
    rig.prefs->setShowAngleInMenuBar(false);
    rig.samples(0.0, 0.3);
    EXPECT_TRUE(rig.tracker.band);

    rig.commands.send("walk:on");
    rig.samples(0.0, 0.3);
    EXPECT_FALSE(rig.tracker.band) << "test walking";
    rig.commands.send("walk:off");
    rig.samples(0.0, 2.0);
    EXPECT_TRUE(rig.tracker.band);

    rig.commands.send("turn:5");
    rig.samples(0.0, 0.3);
    EXPECT_FALSE(rig.tracker.band) << "test offset";
    rig.commands.send("turn:0");
    rig.samples(0.0, 0.5);
    EXPECT_TRUE(rig.tracker.band);

    rig.commands.send("fake:on");
    rig.scheduler.advance(0.5);
    EXPECT_FALSE(rig.tracker.band) << "the test source";
}

} // namespace
} // namespace quelmo
