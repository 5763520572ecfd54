// SPDX-License-Identifier: MIT
#include "ui/onboarding/onboarding_flow.h"

#include <gtest/gtest.h>

namespace quelmo::onboarding {
namespace {

TEST(OnboardingFlow, StepsFromRawValues) {
    EXPECT_EQ(stepFromRaw(0), Step::welcome);
    EXPECT_EQ(stepFromRaw(3), Step::done);
    EXPECT_EQ(stepFromRaw(-1), std::nullopt);
    EXPECT_EQ(stepFromRaw(4), std::nullopt);
    EXPECT_EQ(stepLabel(Step::welcome), "Step 1 of 4");
    EXPECT_EQ(stepLabel(Step::permission), "Step 2 of 4");
}

TEST(OnboardingFlow, BackOnlyOnTheMiddlePages) {
    EXPECT_FALSE(hasBack(Step::welcome));
    EXPECT_TRUE(hasBack(Step::permission));
    EXPECT_TRUE(hasBack(Step::tryIt));
    EXPECT_FALSE(hasBack(Step::done));
    EXPECT_EQ(previous(Step::permission), Step::welcome);
    EXPECT_EQ(previous(Step::tryIt), Step::permission);
}

TEST(OnboardingFlow, PrimaryButtonPerPage) {
    EXPECT_EQ(primaryTitle(Step::welcome, false), "Get Started");
    EXPECT_EQ(primaryTitle(Step::permission, false), "Continue");
    EXPECT_EQ(primaryTitle(Step::tryIt, false), "Skip");
    EXPECT_EQ(primaryTitle(Step::tryIt, true), "Continue");
    EXPECT_EQ(primaryTitle(Step::done, false), "Finish");

    EXPECT_EQ(primaryAction(Step::welcome), PrimaryAction::showPermission);
    EXPECT_EQ(primaryAction(Step::permission), PrimaryAction::startTryIt);
    EXPECT_EQ(primaryAction(Step::tryIt), PrimaryAction::showDone);
    EXPECT_EQ(primaryAction(Step::done), PrimaryAction::finish);

    EXPECT_FALSE(primaryEnabled(Step::permission, "notDetermined"));
    EXPECT_FALSE(primaryEnabled(Step::permission, "denied"));
    EXPECT_TRUE(primaryEnabled(Step::permission, "authorized"));
    for (Step s : {Step::welcome, Step::tryIt, Step::done}) {
        EXPECT_TRUE(primaryEnabled(s, "denied"));
    }
}

TEST(OnboardingFlow, TryOutWorksOnceAFrostCameAndWent) {
    EXPECT_FALSE(sawItWork(3, 3, "watching"));
    EXPECT_FALSE(sawItWork(4, 3, "frosted")); // still frosted
    EXPECT_TRUE(sawItWork(4, 3, "watching"));
    EXPECT_TRUE(sawItWork(4, 3, "waitingForAirPods"));

    EXPECT_EQ(tryItContent(true, "frosted"), TryItContent::success);
    EXPECT_EQ(tryItContent(false, "calibrating"), TryItContent::live);
    EXPECT_EQ(tryItContent(false, "watching"), TryItContent::live);
    EXPECT_EQ(tryItContent(false, "frosted"), TryItContent::live);
    EXPECT_EQ(tryItContent(false, "waitingForAirPods"), TryItContent::waiting);
    EXPECT_EQ(tryItContent(false, "away"), TryItContent::waiting);

    EXPECT_EQ(tryItReadout("calibrating", 12), QString::fromUtf8("Getting ready…"));
    EXPECT_EQ(tryItReadout("watching", -44.5), QString::fromUtf8("45°"));
}

} // namespace
} // namespace quelmo::onboarding
