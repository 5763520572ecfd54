// SPDX-License-Identifier: MIT
// Earbuds as rude as the field reports them, played by quelmo-sim --earbuds
// --quirk, through the whole motion service: what they send beside samples
// moves nothing, flapping ears are held back, busy earbuds are asked less
// and less often.

#include "tests/platform/motion/earbuds_sim_fixture.h"

#include <QElapsedTimer>

#include <cmath>

namespace quelmo {
namespace {

using test::waitFor;

class EarbudsInTheField : public EarbudsSimTest {
  protected:
    // Fake earbuds with the given quirks and the tracker listening to them,
    // for ms; what the fake said.
    QString listenTo(const QString& quirks, int ms) {
        QProcess sim;
        startSim(sim, "60 hold\n", quirks);
        auto tracker = makeTracker();
        tracker->start();
        const QString said = runFor(sim, ms);
        tracker.reset();
        sim.terminate();
        sim.waitForFinished(3000);
        return said;
    }
    // Runs the event loop for ms, collecting what the simulator says.
    QString runFor(QProcess& sim, int ms) {
        QString said;
        QElapsedTimer clock;
        clock.start();
        waitFor(
            [&] {
                said += QString::fromUtf8(sim.readAllStandardError());
                return clock.elapsed() >= ms;
            },
            ms + 1000);
        return said;
    }
};

// Property lists shaped as a 90-degree pose, random bodies behind the sensor
// prefix and empty messages, in a still stream: the heading stays, no step
// is felt, the channel stays.
TEST_F(EarbudsInTheField, WhatEarbudsSendBesideSamplesMovesNothing) {
    listenTo(QStringLiteral("plist,random,empty"), 5000);
    ASSERT_GT(motion.size(), 60u);
    double widest = 0, hardest = 0;
    for (const auto& [heading, vertical] : motion) {
        widest = std::max(widest, std::fabs(heading));
        hardest = std::max(hardest, std::fabs(vertical));
    }
    EXPECT_LT(widest, 1.0);
    EXPECT_LT(hardest, 0.1);
    EXPECT_EQ(connections, std::vector<bool>{true});
}

TEST_F(EarbudsInTheField, FlappingEarDetectionIsHeldBack) {
    const QString said = listenTo(QStringLiteral("flap"), 3000);
    EXPECT_LE(connections.size(), 1u) << said.toStdString();
}

// Earbuds that answer the connect frame and then end the session (busy with
// a phone): the answer does not make the next try come sooner; in 7.5 s
// Quelmo asks at 0, 1, 3 and 7 s, not once a second.
TEST_F(EarbudsInTheField, BusyEarbudsAreAskedLessAndLessOften) {
    const QString said = listenTo(QStringLiteral("busy"), 7500);
    EXPECT_LE(said.count(QLatin1String("earbuds: connect frame")), 4) << said.toStdString();
    EXPECT_GE(said.count(QLatin1String("earbuds: connect frame")), 3) << said.toStdString();
    EXPECT_TRUE(motion.empty());
}

} // namespace
} // namespace quelmo
