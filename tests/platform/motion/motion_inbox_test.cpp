// SPDX-License-Identifier: MIT
// The inbox between the receiving threads and the main thread, and the
// receiving path through it: samples that decide nothing wait without waking
// anyone, anything else wakes the main thread once and brings what waited
// with it.

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

// A guard that has watched a head facing the screen for five seconds, its
// last sample stamped `end`; its preview admits samples stamped before `until`.
DecisionPreview previewOfWatching(double end, double until) {
    PrivacyGuard guard;
    for (double t = end - 5.0; t <= end; t += 0.02) {
        guard.motion(0.0, 0.0, t);
    }
    return *DecisionPreview::of(guard, until);
}

TEST(MotionInbox, SamplesThatDecideNothingWaitAndTheFirstThatDecidesWakesOnce) {
    int wakes = 0;
    MotionInbox inbox([&] { ++wakes; });
    std::vector<ArrivedMessage> out;

    // Reading aside and starting to turn away decide nothing yet.
    inbox.setHold(previewOfWatching(10.0, 20.0), 1);
    EXPECT_TRUE(inbox.put(1, sampleFacing(5.0), 11.0));
    EXPECT_TRUE(inbox.put(1, sampleFacing(30.0, 0.02), 11.1));
    EXPECT_TRUE(inbox.put(1, sampleFacing(80.0), 11.2));
    EXPECT_EQ(wakes, 0);
    EXPECT_TRUE(inbox.isHolding());

    // Still turned away once the turn's delay is over: that one frosts.
    EXPECT_TRUE(inbox.put(1, sampleFacing(80.0), 11.5));
    EXPECT_EQ(wakes, 1);
    EXPECT_FALSE(inbox.isHolding());
    EXPECT_TRUE(
        inbox.put(1, sampleFacing(0.0), 11.52)); // nothing held now: waits to be handed over
    EXPECT_EQ(wakes, 1);
    inbox.setHold(previewOfWatching(10.0, 20.0), 1);
    EXPECT_FALSE(inbox.isHolding()) << "a preview is not taken while messages wait";

    inbox.take(out);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[1].at, 11.1);
    EXPECT_NEAR(out[3].motion.qz, facing(80.0).qz, 1e-12);
    EXPECT_EQ(out[4].at, 11.52);

    // A connection message, another source's sample and a sample stamped
    // past the preview's end each wake at once.
    wire::Message connected;
    connected.kind = wire::Kind::connected;
    const std::vector<std::tuple<int, wire::Message, double>> loud = {
        {1, connected, 12.0}, {2, sampleFacing(0.0), 12.0}, {1, sampleFacing(0.0), 20.0}};
    for (const auto& [source, message, at] : loud) {
        inbox.setHold(previewOfWatching(10.0, 20.0), 1);
        ASSERT_TRUE(inbox.isHolding());
        const int before = wakes;
        inbox.put(source, message, at);
        EXPECT_EQ(wakes, before + 1) << "at " << at;
        inbox.take(out);
        EXPECT_EQ(out.size(), 1u);
    }

    // Taking ends the holding: the taker is about to change the state behind it.
    inbox.setHold(previewOfWatching(10.0, 20.0), 1);
    inbox.take(out);
    EXPECT_FALSE(inbox.isHolding());
}

TEST(MotionInbox, AFullInboxWakesAndRefusesUntilTaken) {
    int wakes = 0;
    MotionInbox inbox([&] { ++wakes; });
    inbox.setHold(previewOfWatching(10.0, 20.0), 1);
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
    // The first sample makes the socket the source that has the stream.
    ASSERT_TRUE(test::sendSample(temp.paths, facing(0.0)));
    ASSERT_TRUE(waitFor([&] { return motion.size() == 1; }));
    const DecisionPreview preview = previewOfWatching(systemUptime(), 1e12);
    tracker->holdQuietSamples(preview);

    const double sent = systemUptime();
    ASSERT_TRUE(test::sendSample(temp.paths, facing(1.0)));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(2.0)));
    test::settle(100);
    EXPECT_EQ(motion.size(), 1u) << "held, and the main thread was not woken";
    EXPECT_EQ(batches, 1);

    tracker->takeHeldSamples();
    ASSERT_EQ(motion.size(), 3u);
    EXPECT_NEAR(motion[1].first, 1.0, 1e-9);
    EXPECT_NEAR(motion[2].first, 2.0, 1e-9);
    EXPECT_GE(motion[1].second, sent);
    EXPECT_LE(motion[1].second, motion[2].second);
    EXPECT_LE(motion[2].second, systemUptime());
    EXPECT_EQ(batches, 1) << "taking is not a batch of its own";

    // The holding ended with the take: the next one is handed over at once.
    ASSERT_TRUE(test::sendSample(temp.paths, facing(3.0)));
    ASSERT_TRUE(waitFor([&] { return motion.size() == 4; }));
    EXPECT_EQ(batches, 2);

    // Held again, until a connection message brings it along.
    tracker->holdQuietSamples(preview);
    ASSERT_TRUE(test::sendSample(temp.paths, facing(4.0)));
    test::settle(100);
    EXPECT_EQ(motion.size(), 4u);
    ASSERT_TRUE(test::sendConnection(temp.paths, true));
    ASSERT_TRUE(waitFor([&] { return motion.size() == 5; }));
    EXPECT_NEAR(motion[4].first, 4.0, 1e-9);
    EXPECT_EQ(batches, 3);
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
