// SPDX-License-Identifier: MIT
// quelmo-sim's scripts, its virtual wearer and the state it shares with
// `quelmo-sim --report`.

#include "platform/motion/motion_conversion.h"
#include "platform/signal/headphone_signal.h"
#include "tools/sim/sim_script.h"
#include "tools/sim/sim_state_file.h"
#include "tools/sim/virtual_headphones.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <unistd.h>

namespace quelmo::sim {
namespace {

std::vector<Step> parse(const std::string& text) {
    ScriptError error;
    auto steps = parseScript(text, error);
    EXPECT_TRUE(steps.has_value()) << error.line << ": " << error.message;
    return steps.value_or(std::vector<Step>{});
}

TEST(SimScript, ReadsStepsCommentsAndBlankLines) {
    const auto steps = parse("# warm up\n\n2 face\n1.5 turn -70  # look right\n3 walk\n0 rssi -80\n"
                             "1 quiet-walk\n0 disconnect\n0 connect\n4 hold\n");
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_EQ(steps[1].action, Action::turn);
    EXPECT_EQ(steps[1].argument, -70);
    EXPECT_EQ(steps[1].seconds, 1.5);
    EXPECT_EQ(steps[1].line, 4);
    EXPECT_EQ(steps[3].argument, -80);
    EXPECT_EQ(steps[4].action, Action::quietWalk);
    EXPECT_FALSE(parse(kDemoScript).empty());
}

TEST(SimScript, ReportsTheFirstBadLine) {
    const std::pair<const char*, int> bad[] = {
        {"2 face\nfive hold\n", 2}, {"2 jump\n", 1},           {"1 turn\n", 1},
        {"1 turn left\n", 1},       {"1 hold 3\n", 1},         {"-1 hold\n", 1},
        {"1 rssi 5\n", 1},          {"1 turn nan\n", 1},       {"2\n", 1},
        {"1 turn 400\n", 1},        {"# only a comment\n", 0},
    };
    for (const auto& [text, line] : bad) {
        ScriptError error;
        EXPECT_FALSE(parseScript(text, error).has_value()) << text;
        EXPECT_EQ(error.line, line) << text;
        EXPECT_FALSE(error.message.empty());
    }
}

TEST(VirtualHeadphones, TurnsSmoothlyAndArrivesAtTheEndOfTheStep) {
    ScriptPlayer player(parse("1 turn 60\n1 face\n"));
    VirtualHeadphones phones;
    double previous = 0;
    for (double t = 0; t < 1.0; t += 0.02) {
        ASSERT_TRUE(player.advance(t, phones));
        EXPECT_GE(phones.heading, previous);
        EXPECT_LE(phones.heading - previous, 2.0); // no jumps at 50 Hz
        previous = phones.heading;
    }
    player.advance(1.0, phones);
    EXPECT_NEAR(phones.heading, 60.0, 1e-9);
    player.advance(1.25, phones);
    EXPECT_GT(phones.heading, 0.0);
    player.advance(1.5, phones); // face takes half a second
    EXPECT_NEAR(phones.heading, 0.0, 1e-9);
    EXPECT_FALSE(player.advance(2.0, phones));
    EXPECT_NEAR(headingDegrees(phones.sample(2.0)), 0.0, 1e-9);
}

TEST(VirtualHeadphones, WalkingIsAVerticalGaitOfTheGivenStrength) {
    ScriptPlayer player(parse("2 walk\n2 quiet-walk\n1 hold\n"));
    VirtualHeadphones phones;
    double peak = 0, quietPeak = 0;
    for (double t = 0; t < 5.0; t += 0.01) {
        player.advance(t, phones);
        const double v = std::fabs(verticalAcceleration(phones.sample(t)));
        if (t < 2) {
            peak = std::max(peak, v);
        } else if (t < 4) {
            quietPeak = std::max(quietPeak, v);
        } else if (t > 4.05) {
            EXPECT_EQ(v, 0.0);
        }
    }
    EXPECT_NEAR(peak, 0.3, 0.01);
    EXPECT_NEAR(quietPeak, 0.09, 0.005);
    // One stride every 1/1.9 s: the gait is back where it started.
    phones.gait = VirtualHeadphones::kWalkG;
    EXPECT_NEAR(verticalAcceleration(phones.sample(0.1)),
                verticalAcceleration(phones.sample(0.1 + 1 / 1.9)), 1e-9);
}

TEST(VirtualHeadphones, ConnectionAndSignalFollowTheScript) {
    ScriptPlayer player(parse("1 rssi -72\n1 disconnect\n1 disconnect\n1 connect\n"));
    VirtualHeadphones phones;
    player.advance(0.5, phones);
    EXPECT_EQ(phones.rssi, -72);
    EXPECT_FALSE(player.connectionChanged);
    player.advance(1.5, phones);
    EXPECT_FALSE(phones.connected);
    EXPECT_TRUE(player.connectionChanged);
    player.connectionChanged = false;
    player.advance(2.5, phones); // already out: no change to announce
    EXPECT_FALSE(player.connectionChanged);
    player.advance(3.5, phones);
    EXPECT_TRUE(phones.connected);
    EXPECT_TRUE(player.connectionChanged);
}

TEST(SimState, TheReportShowsTheLiveSimulatorOnly) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/sim-state";
    EXPECT_EQ(HeadphoneSignal::parse(simulatedReport(readLiveSharedState(path))), SignalReadings{});

    ASSERT_TRUE(writeSharedState(path, {static_cast<long>(::getpid()), true, -64}));
    EXPECT_EQ(HeadphoneSignal::parse(simulatedReport(readLiveSharedState(path))),
              (SignalReadings{{kDeviceAddress, -64.0}}));
    ASSERT_TRUE(writeSharedState(path, {static_cast<long>(::getpid()), false, -64}));
    EXPECT_TRUE(HeadphoneSignal::parse(simulatedReport(readLiveSharedState(path))).empty());

    // A simulator that is gone (no such process) no longer counts.
    ASSERT_TRUE(writeSharedState(path, {4194304 + 17, true, -64}));
    EXPECT_TRUE(readSharedState(path).has_value());
    EXPECT_FALSE(readLiveSharedState(path).has_value());

    for (const char* junk :
         {"pid=1\nconnected=1\n", "pid=x\nconnected=1\nrssi=-50\n",
          "pid=1\nconnected=2\nrssi=-50\n", "pid=1\nconnected=1\nrssi=5\n", ""}) {
        std::ofstream(path, std::ios::trunc) << junk;
        EXPECT_FALSE(readSharedState(path).has_value()) << junk;
    }
}

} // namespace
} // namespace quelmo::sim
