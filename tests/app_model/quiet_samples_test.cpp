// SPDX-License-Identifier: MIT
// Quiet samples held back by the tracker: they reach the guard later, in
// order, with the time they arrived, and change nothing about when anything
// is decided.
#include "fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    ASSERT_TRUE(rig.tracker.preview) << "watching a still head publishes a preview";

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
    EXPECT_TRUE(rig.tracker.preview) << "published again after the tick";
}

TEST(QuietSamples, TheSampleThatFrostsIsHandedOverAtOnceAfterTheHeldOnes) {
    ModelRig rig;
    AppModel& model = rig.start();
    rig.samples(0.0, 3.5);
    rig.scheduler.advance(0.2);
    rig.samples(0.0, 0.06);
    ASSERT_FALSE(rig.tracker.held.empty());
    // Looking 30 degrees aside decides nothing, however long.
    const int wakes = rig.tracker.wakes;
    rig.turn(0.0, 30.0);
    rig.samples(30.0, 0.5);
    EXPECT_EQ(rig.tracker.wakes, wakes);
    // Turning away: held while the turn waits out its delay, then the sample
    // that frosts comes at once, with everything before it.
    const double deadline = rig.scheduler.uptime() + 3.0;
    double heading = 30.0;
    double at = 0.0;
    while (!rig.overlay.frosted) {
        ASSERT_LT(rig.scheduler.uptime(), deadline);
        at = rig.scheduler.uptime();
        heading = std::min(heading + 3.0, 75.0);
        rig.tracker.deliver(heading);
        rig.scheduler.advance(0.02);
    }
    EXPECT_EQ(rig.tracker.wakes, wakes + 1);
    EXPECT_TRUE(rig.tracker.held.empty());
    EXPECT_DOUBLE_EQ(*model.guardian().motionAge(at), 0.0);
    EXPECT_FALSE(rig.tracker.preview) << "nothing is held while frosted";
}

// The same head, once with a gauge on screen (nothing is held) and once
// without: every decision comes at the same moment, and the log says the
// same, stamped the same.
TEST(QuietSamples, HoldingChangesNoDecisionNorItsTime) {
    struct Run {
        std::vector<std::string> events;
        std::vector<std::pair<double, bool>> frosts;
        std::vector<std::string> lines;
        std::vector<double> stamps;
        int wakes = 0;
        int readingWakes = 0;
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
        rig.samples(4.0, 2.0);
        rig.samples(0.0, 2.0, 0.02); // a still head with a little jitter up and down
        // Reading across the screen: turns of up to 20 degrees, short holds.
        const int wakesBefore = rig.tracker.wakes;
        for (const auto& [from, to] :
             {std::pair{0.0, 12.0}, {12.0, 3.0}, {3.0, 20.0}, {20.0, 6.0}}) {
            rig.turn(from, to, 0.3);
            rig.samples(to, 0.9);
        }
        out.readingWakes = rig.tracker.wakes - wakesBefore;
        rig.turn(6.0, 75.0, 0.3); // and away
        rig.samples(75.0, 1.0);
        out.events = rig.log.events();
        out.lines = rig.log.lines;
        out.stamps = rig.log.stamps;
        out.wakes = rig.tracker.wakes;
        return out;
    };
    const Run held = run(false);
    const Run direct = run(true);
    EXPECT_EQ(held.events, direct.events);
    EXPECT_EQ(held.frosts, direct.frosts);
    ASSERT_GE(held.frosts.size(), 5u);
    ASSERT_EQ(held.lines.size(), direct.lines.size());
    ASSERT_EQ(held.stamps.size(), held.lines.size());
    ASSERT_EQ(direct.stamps.size(), direct.lines.size());
    for (std::size_t i = 0; i < held.lines.size(); ++i) {
        ASSERT_EQ(held.lines[i], direct.lines[i]) << "line " << i;
        ASSERT_NEAR(held.stamps[i], direct.stamps[i], 1e-9) << held.lines[i];
    }
    EXPECT_LT(held.wakes * 3, direct.wakes) << "most samples were held";
    EXPECT_LT(held.readingWakes * 10, direct.readingWakes) << "the reading head's too";
}

TEST(QuietSamples, NothingIsHeldWhileSomethingWantsEverySampleAtOnce) {
    ModelRig rig;
    rig.withTestHooks = true;
    AppModel& model = rig.start();
    rig.tracker.deliver(0.0);
    EXPECT_FALSE(rig.tracker.preview) << "calibrating";
    rig.samples(0.0, 3.5);
    ASSERT_TRUE(rig.tracker.preview);

    model.setLiveDisplays(1);
    rig.samples(0.0, 0.1);
    EXPECT_FALSE(rig.tracker.preview) << "gauge";
    model.setLiveDisplays(0);
    EXPECT_TRUE(rig.tracker.preview);

    rig.prefs->setShowAngleInMenuBar(true);
    rig.samples(0.0, 0.1);
    EXPECT_FALSE(rig.tracker.preview) << "angle in the menu bar";
    rig.prefs->setShowAngleInMenuBar(false);
    rig.samples(0.0, 0.3);
    EXPECT_TRUE(rig.tracker.preview);

    rig.commands.send("walk:on");
    rig.samples(0.0, 0.3);
    EXPECT_FALSE(rig.tracker.preview) << "test walking";
    rig.commands.send("walk:off");
    rig.samples(0.0, 2.0);
    EXPECT_TRUE(rig.tracker.preview);

    rig.commands.send("turn:5");
    rig.samples(0.0, 0.3);
    EXPECT_FALSE(rig.tracker.preview) << "test offset";
    rig.commands.send("turn:0");
    rig.samples(0.0, 0.5);
    EXPECT_TRUE(rig.tracker.preview);

    rig.commands.send("fake:on");
    rig.scheduler.advance(0.5);
    EXPECT_FALSE(rig.tracker.preview) << "the test source";
}

} // namespace
} // namespace quelmo
