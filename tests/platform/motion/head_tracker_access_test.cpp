// SPDX-License-Identifier: MIT
// HeadTracker and the user's motion permission: the prompt, its answer, the
// consent record read afresh and a refusal reported as an error.

#include "tests/platform/motion/head_tracker_fixture.h"

namespace quelmo {
namespace {

using test::facing;
using test::waitFor;

TEST_F(HeadTrackerTest, UndecidedAccessAsksOnceAndDeliversNothingUntilAllowed) {
    auto tracker = makeTracker();
    tracker->start();
    tracker->start();
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(tracker->motionAccess(), MotionAccess::notDetermined);
    ASSERT_TRUE(test::sendSample(temp.paths, facing(20)));
    test::settle();
    EXPECT_TRUE(seen.motion.empty());

    prompt.answer(true);
    EXPECT_EQ(tracker->motionAccess(), MotionAccess::authorized);
    ASSERT_TRUE(waitFor([&] { return seen.answers.size() == 1; }));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(21)));
    ASSERT_TRUE(waitFor([&] { return seen.motion.size() == 1; }));
    EXPECT_NEAR(seen.motion[0].first, 21.0, 1e-9);
    EXPECT_TRUE(seen.errors.empty());
}

TEST_F(HeadTrackerTest, ClosingThePromptLeavesAccessUndecidedAndAsksAgainNextStart) {
    auto tracker = makeTracker();
    tracker->start();
    prompt.answer(std::nullopt);
    EXPECT_EQ(tracker->motionAccess(), MotionAccess::notDetermined);
    // The model still hears that the prompt is gone.
    ASSERT_TRUE(waitFor([&] { return seen.answers.size() == 1; }));
    tracker->stop();
    tracker->start();
    EXPECT_EQ(prompt.asked, 2);
}

TEST_F(HeadTrackerTest, RefusalIsReportedAsAnErrorOnceBeforeTheAnswer) {
    auto tracker = makeTracker();
    tracker->start();
    prompt.answer(false);
    EXPECT_EQ(tracker->motionAccess(), MotionAccess::denied);
    ASSERT_TRUE(waitFor([&] { return seen.answers.size() == 1; }));
    EXPECT_EQ(seen.answers[0], 1u); // the refusal's error came first
    EXPECT_EQ(seen.errors.size(), 1u);
    ASSERT_TRUE(test::sendSample(temp.paths, facing(20)));
    test::settle();
    EXPECT_TRUE(seen.motion.empty());
    EXPECT_EQ(seen.errors.size(), 1u);
}

TEST_F(HeadTrackerTest, StartingWhileRestrictedReportsAnErrorAndNoPrompt) {
    setRecordWord("restricted");
    auto tracker = makeTracker();
    tracker->start();
    ASSERT_TRUE(waitFor([&] { return seen.errors.size() == 1; }));
    EXPECT_EQ(seen.errors[0], MotionService::kAccessRefusedText);
    EXPECT_EQ(prompt.asked, 0);
}

TEST_F(HeadTrackerTest, AccessWithdrawnWhileRunningStopsSamples) {
    setAccess(MotionAccess::authorized);
    auto tracker = makeTracker();
    tracker->start();
    setAccess(MotionAccess::denied);
    // The record is read again within a second.
    ASSERT_TRUE(waitFor([&] { return seen.errors.size() == 1; }, 2500));
    ASSERT_TRUE(test::sendSample(temp.paths, facing(3)));
    test::settle();
    EXPECT_TRUE(seen.motion.empty());
}

// What the model asks through the port: the consent record, read afresh each
// time (restricted counts as denied; anything but the exact words as
// undecided).
TEST_F(HeadTrackerTest, AccessIsTheRecordReadAfreshEachTime) {
    using A = MotionAccess;
    auto tracker = makeTracker();
    EXPECT_EQ(tracker->motionAccess(), A::notDetermined);
    setRecordWord("restricted");
    EXPECT_EQ(tracker->motionAccess(), A::denied);
    setAccess(MotionAccess::denied);
    EXPECT_EQ(tracker->motionAccess(), A::denied);
    std::ofstream(temp.paths.accessRecordPath()) << "authorized\n";
    EXPECT_EQ(tracker->motionAccess(), A::authorized);
    std::ofstream(temp.paths.accessRecordPath()) << "Authorized";
    EXPECT_EQ(tracker->motionAccess(), A::notDetermined);
}

} // namespace
} // namespace quelmo
