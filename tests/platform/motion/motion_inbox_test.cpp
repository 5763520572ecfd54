// SPDX-License-Identifier: MIT
// The inbox between the receiving threads and the main thread, and the
// receiving path through it: quiet samples wait without waking anyone,
// anything else wakes the main thread once and brings what waited with it.

#include "platform/motion/head_tracker.h"
#include "platform/motion/motion_inbox.h"
#include "platform/motion/motion_service.h"
#include "platform/scheduler/qt_scheduler.h"
#include "tests/platform/motion/motion_test_support.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

using test::facing;
using test::waitFor;

wire::Message sampleFacing(double degrees, double upward = 0.0) {
    wire::Message m;
    m.kind = wire::Kind::sample;
    m.motion = facing(degrees, upward);
    return m;
}

QuietBand bandAround(double heading) {
    QuietBand band;
    band.heading = heading;
    band.headingHalfWidth = 9.0;
    band.verticalHalfWidth = 0.03;
    band.from = 10.0;
    band.until = 20.0;
    return band;
}

TEST(MotionInbox, QuietSamplesWaitAndAnythingElseWakesOnceAndEndsTheBand) {
    int wakes = 0;
    MotionInbox inbox([&] { ++wakes; });
    std::vector<ArrivedMessage> out;

    inbox.setBand(bandAround(0.0));
    EXPECT_TRUE(inbox.put(1, sampleFacing(5.0), 11.0));
    EXPECT_TRUE(inbox.put(2, sampleFacing(-8.0, 0.02), 11.02));
    EXPECT_EQ(wakes, 0);
    EXPECT_TRUE(inbox.hasBand());

    // Outside in heading, a connection message, before the band, after it,
    // too much vertical acceleration: each one wakes (once until taken).
    EXPECT_TRUE(inbox.put(1, sampleFacing(12.0), 11.04));
    EXPECT_EQ(wakes, 1);
    EXPECT_FALSE(inbox.hasBand());
    EXPECT_TRUE(inbox.put(1, sampleFacing(0.0), 11.06)); // no band now: waits to be handed over
    EXPECT_EQ(wakes, 1);
    inbox.setBand(bandAround(0.0));
    EXPECT_FALSE(inbox.hasBand()) << "a band is not taken while messages wait";

    inbox.take(out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0].source, 1);
    EXPECT_EQ(out[1].source, 2);
    EXPECT_EQ(out[1].at, 11.02);
    EXPECT_NEAR(out[2].motion.qz, facing(12.0).qz, 1e-12);
    EXPECT_EQ(out[3].at, 11.06);

    wire::Message connected;
    connected.kind = wire::Kind::connected;
    const std::vector<std::pair<wire::Message, double>> loud = {{connected, 12.0},
                                                                {sampleFacing(0.0), 9.0},
                                                                {sampleFacing(0.0), 20.0},
                                                                {sampleFacing(0.0, 0.05), 12.0},
                                                                {sampleFacing(0.0, -0.05), 12.0}};
    for (const auto& [message, at] : loud) {
        inbox.setBand(bandAround(0.0));
        ASSERT_TRUE(inbox.hasBand());
        const int before = wakes;
        inbox.put(1, message, at);
        EXPECT_EQ(wakes, before + 1) << "at " << at;
        inbox.take(out);
        EXPECT_EQ(out.size(), 1u);
    }

    // Taking ends the band: the taker is about to change the state behind it.
    inbox.setBand(bandAround(0.0));
    inbox.take(out);
    EXPECT_FALSE(inbox.hasBand());
}

TEST(MotionInbox, AFullInboxWakesAndRefusesUntilTaken) {
    int wakes = 0;
    MotionInbox inbox([&] { ++wakes; });
    inbox.setBand(bandAround(0.0));
    for (std::size_t i = 0; i < MotionInbox::kCapacity; ++i) {
        ASSERT_TRUE(inbox.put(1, sampleFacing(0.0), 11.0));
    }
    EXPECT_EQ(wakes, 0);
    EXPECT_FALSE(inbox.put(1, sampleFacing(0.0), 11.0));
    EXPECT_EQ(wakes, 1);
    std::vector<ArrivedMessage> out;
    inbox.take(out);
    EXPECT_EQ(out.size(), MotionInbox::kCapacity);
    EXPECT_TRUE(inbox.put(1, sampleFacing(0.0), 11.0));
}

class HeldSamplesTest : public ::testing::Test {
  protected:
    test::TempPaths temp;
    std::vector<std::pair<double, double>> motion; // heading, arrival time
    int batches = 0;

    std::unique_ptr<HeadTracker> makeTracker() {
        std::string error;
        ::mkdir((temp.paths.configDir + "/Quelmo").c_str(), 0700);
        writeMotionAccess(temp.paths.accessRecordPath(), MotionAccess::authorized, error);
        MotionServiceOptions options;
        options.paths = temp.paths;
        options.opentrackPort = 0;
        options.bluetoothEarbuds = false;
        auto tracker = std::make_unique<HeadTracker>(std::make_unique<MotionService>(options));
        HeadTrackerHandlers handlers;
        handlers.motion = [this](double h, double, double at) { motion.emplace_back(h, at); };
        handlers.samplesDelivered = [this] { ++batches; };
        tracker->observe(std::move(handlers));
        tracker->start();
        return tracker;
    }
};

TEST_F(HeldSamplesTest, QuietDatagramsWaitUntilTakenOrSomethingElseArrives) {
    auto tracker = makeTracker();
    QuietBand band = bandAround(0.0);
    band.from = 0.0;
    band.until = 1e12;
    tracker->holdQuietSamples(band);

    const double sent = systemUptime();
    ASSERT_TRUE(test::sendSample(temp.paths, facing(1.0)));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(2.0)));
    test::settle(100);
    EXPECT_TRUE(motion.empty()) << "held, and the main thread was not woken";
    EXPECT_EQ(batches, 0);

    tracker->takeHeldSamples();
    ASSERT_EQ(motion.size(), 2u);
    EXPECT_NEAR(motion[0].first, 1.0, 1e-9);
    EXPECT_NEAR(motion[1].first, 2.0, 1e-9);
    EXPECT_GE(motion[0].second, sent);
    EXPECT_LE(motion[0].second, motion[1].second);
    EXPECT_LE(motion[1].second, systemUptime());
    EXPECT_EQ(batches, 0) << "taking is not a batch of its own";

    // The band ended with the take: the next one is handed over at once.
    ASSERT_TRUE(test::sendSample(temp.paths, facing(3.0)));
    ASSERT_TRUE(waitFor([&] { return motion.size() == 3; }));
    EXPECT_EQ(batches, 1);

    tracker->holdQuietSamples(band);
    ASSERT_TRUE(test::sendSample(temp.paths, facing(4.0)));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(40.0)));
    ASSERT_TRUE(waitFor([&] { return motion.size() == 5; }));
    EXPECT_NEAR(motion[3].first, 4.0, 1e-9);
    EXPECT_NEAR(motion[4].first, 40.0, 1e-9);
    EXPECT_EQ(batches, 2);
}

TEST_F(HeldSamplesTest, ATrackerStopsItsReceivingThreadAtOnce) {
    auto tracker = makeTracker();
    ASSERT_TRUE(test::sendSample(temp.paths, facing(1.0)));
    ASSERT_TRUE(waitFor([&] { return motion.size() == 1; }));
    QElapsedTimer timer;
    timer.start();
    tracker.reset(); // the thread is blocked in recv
    EXPECT_LT(timer.elapsed(), 500);
}

} // namespace
} // namespace quelmo
