// SPDX-License-Identifier: MIT
#include "app/preferences.h"

#include <QMetaProperty>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quelmo {
namespace {

TEST(Preferences, FreshStoreGivesTheDefaults) {
    MemoryPreferenceStore store;
    Preferences p(store);
    EXPECT_TRUE(p.enabled());
    EXPECT_EQ(p.triggerAngle(), 50.0);
    EXPECT_EQ(p.frostStrength(), 0.6);
    EXPECT_FALSE(p.showAngleInMenuBar());
    EXPECT_TRUE(p.useInputEvidence());
    EXPECT_TRUE(p.frostWhenWalkingAway());
    EXPECT_TRUE(p.frostWhenFar());
    EXPECT_FALSE(p.frostOnDisconnect());
    EXPECT_FALSE(p.diagnostics());
    EXPECT_FALSE(p.onboardingDone());
    // Loading registers nothing and writes nothing.
    EXPECT_EQ(store.writeCount(), 0u);
    EXPECT_TRUE(store.values().empty());
}

TEST(Preferences, StoredValuesAreLoaded) {
    MemoryPreferenceStore store;
    store.set("enabled", "false");
    store.set("triggerAngle", "42.5");
    store.set("frostStrength", "0.25");
    store.set("showAngleInMenuBar", "true");
    store.set("useInputEvidence", "false");
    store.set("frostWhenWalkingAway", "false");
    store.set("frostWhenFar", "0");
    store.set("frostOnDisconnect", "1");
    store.set("diagnostics", "true");
    store.set("onboardingDone", "TRUE");
    Preferences p(store);
    EXPECT_FALSE(p.enabled());
    EXPECT_EQ(p.triggerAngle(), 42.5);
    EXPECT_EQ(p.frostStrength(), 0.25);
    EXPECT_TRUE(p.showAngleInMenuBar());
    EXPECT_FALSE(p.useInputEvidence());
    EXPECT_FALSE(p.frostWhenWalkingAway());
    EXPECT_FALSE(p.frostWhenFar());
    EXPECT_TRUE(p.frostOnDisconnect());
    EXPECT_TRUE(p.diagnostics());
    EXPECT_TRUE(p.onboardingDone());
}

double loadedTriggerAngle(const std::string& text) {
    MemoryPreferenceStore store;
    store.set("triggerAngle", text);
    return Preferences(store).triggerAngle();
}

double loadedFrostStrength(const std::string& text) {
    MemoryPreferenceStore store;
    store.set("frostStrength", text);
    return Preferences(store).frostStrength();
}

TEST(Preferences, TriggerAngleIsLimitedWhenRead) {
    EXPECT_EQ(loadedTriggerAngle("20"), 35.0);
    EXPECT_EQ(loadedTriggerAngle("-400"), 35.0);
    EXPECT_EQ(loadedTriggerAngle("35"), 35.0);
    EXPECT_EQ(loadedTriggerAngle("35.5"), 35.5);
    EXPECT_EQ(loadedTriggerAngle("69.9"), 69.9);
    EXPECT_EQ(loadedTriggerAngle("70"), 70.0);
    EXPECT_EQ(loadedTriggerAngle("70.0001"), 70.0);
    EXPECT_EQ(loadedTriggerAngle("80"), 70.0);
    EXPECT_EQ(loadedTriggerAngle("1e300"), 70.0);
}

TEST(Preferences, FrostStrengthIsLimitedWhenRead) {
    EXPECT_EQ(loadedFrostStrength("-0.5"), 0.0);
    EXPECT_EQ(loadedFrostStrength("0"), 0.0);
    EXPECT_EQ(loadedFrostStrength("-0"), 0.0);
    EXPECT_EQ(loadedFrostStrength("0.001"), 0.001);
    EXPECT_EQ(loadedFrostStrength("1"), 1.0);
    EXPECT_EQ(loadedFrostStrength("1.5"), 1.0);
}

TEST(Preferences, LoadingWritesNothingBack) {
    MemoryPreferenceStore store;
    store.set("triggerAngle", "80");
    store.set("enabled", "abc");
    Preferences p(store);
    EXPECT_EQ(p.triggerAngle(), 70.0);
    EXPECT_EQ(store.read("triggerAngle"), "80");
    EXPECT_EQ(store.read("enabled"), "abc");
    EXPECT_EQ(store.writeCount(), 0u);
}

TEST(Preferences, TextUnderABooleanKeyGivesTheDefaultNotFalse) {
    MemoryPreferenceStore store;
    store.set("enabled", "abc");
    store.set("useInputEvidence", "no");
    store.set("frostOnDisconnect", "yes");
    store.set("diagnostics", "50");
    Preferences p(store);
    EXPECT_TRUE(p.enabled());
    EXPECT_TRUE(p.useInputEvidence());
    EXPECT_FALSE(p.frostOnDisconnect());
    EXPECT_FALSE(p.diagnostics());
}

TEST(Preferences, WrongKindsUnderDoubleKeysGiveTheDefault) {
    EXPECT_EQ(loadedTriggerAngle("abc"), 50.0);
    EXPECT_EQ(loadedTriggerAngle("true"), 50.0);
    EXPECT_EQ(loadedTriggerAngle(""), 50.0);
    EXPECT_EQ(loadedTriggerAngle("nan"), 50.0);
    EXPECT_EQ(loadedTriggerAngle("inf"), 50.0);
    EXPECT_EQ(loadedTriggerAngle("60 degrees"), 50.0);
    EXPECT_EQ(loadedFrostStrength("strong"), 0.6);
}

TEST(Preferences, AssignmentHandsSubscribersTheNewValueBeforeTheFieldHoldsIt) {
    MemoryPreferenceStore store;
    Preferences p(store);
    std::vector<std::pair<double, double>> seen; // (handed, field)
    std::vector<std::string> storedDuringNotification;
    auto sub = p.subscribeTriggerAngle([&](double v) {
        seen.emplace_back(v, p.triggerAngle());
        storedDuringNotification.push_back(store.read("triggerAngle").value_or("<none>"));
    });
    p.setTriggerAngle(60);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(50.0, 50.0));   // the current value at once
    EXPECT_EQ(seen[1], std::make_pair(60.0, 50.0));   // before the field holds it
    EXPECT_EQ(storedDuringNotification[1], "<none>"); // and before the write
    EXPECT_EQ(p.triggerAngle(), 60.0);
    EXPECT_EQ(store.read("triggerAngle"), "60");
}

TEST(Preferences, QtNotifySignalComesAfterTheFieldHoldsTheValueAndTheStoreHasIt) {
    MemoryPreferenceStore store;
    Preferences p(store);
    std::vector<std::pair<bool, bool>> seen; // (signal argument, field)
    std::vector<std::string> stored;
    QObject::connect(&p, &Preferences::enabledChanged, [&](bool v) {
        seen.emplace_back(v, p.enabled());
        stored.push_back(store.read("enabled").value_or("<none>"));
    });
    p.setEnabled(false);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(false, false));
    EXPECT_EQ(stored[0], "false");
}

TEST(Preferences, AssigningTheSameValueStillNotifiesAndWrites) {
    MemoryPreferenceStore store;
    Preferences p(store);
    int subscriberCalls = 0;
    auto sub = p.subscribeEnabled([&](bool) { ++subscriberCalls; });
    QSignalSpy spy(&p, &Preferences::enabledChanged);
    p.setEnabled(true);
    p.setEnabled(true);
    EXPECT_EQ(subscriberCalls, 3); // 1 at subscription + 2 assignments
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(store.writeCount(), 2u);
    EXPECT_EQ(store.read("enabled"), "true");
}

TEST(Preferences, AssignmentAppliesNoLimitsButTheNextLoadDoes) {
    MemoryPreferenceStore store;
    {
        Preferences p(store);
        std::vector<double> handed;
        auto sub = p.subscribeTriggerAngle([&](double v) { handed.push_back(v); });
        p.setTriggerAngle(80);
        EXPECT_EQ(handed.back(), 80.0);
        EXPECT_EQ(p.triggerAngle(), 80.0);
        EXPECT_EQ(store.read("triggerAngle"), "80");
        p.setFrostStrength(-1);
        EXPECT_EQ(p.frostStrength(), -1.0);
    }
    Preferences restarted(store);
    EXPECT_EQ(restarted.triggerAngle(), 70.0);
    EXPECT_EQ(restarted.frostStrength(), 0.0);
}

TEST(Preferences, EveryFieldIsWrittenUnderItsOwnKey) {
    MemoryPreferenceStore store;
    Preferences p(store);
    p.setEnabled(false);
    p.setTriggerAngle(45.5);
    p.setFrostStrength(0.75);
    p.setShowAngleInMenuBar(true);
    p.setUseInputEvidence(false);
    p.setFrostWhenWalkingAway(false);
    p.setFrostWhenFar(false);
    p.setFrostOnDisconnect(true);
    p.setDiagnostics(true);
    p.setOnboardingDone(true);
    const std::map<std::string, std::string, std::less<>> expected{
        {"enabled", "false"},          {"triggerAngle", "45.5"},
        {"frostStrength", "0.75"},     {"showAngleInMenuBar", "true"},
        {"useInputEvidence", "false"}, {"frostWhenWalkingAway", "false"},
        {"frostWhenFar", "false"},     {"frostOnDisconnect", "true"},
        {"diagnostics", "true"},       {"onboardingDone", "true"},
    };
    EXPECT_EQ(store.values(), expected);

    Preferences reloaded(store);
    EXPECT_FALSE(reloaded.enabled());
    EXPECT_EQ(reloaded.triggerAngle(), 45.5);
    EXPECT_EQ(reloaded.frostStrength(), 0.75);
    EXPECT_TRUE(reloaded.showAngleInMenuBar());
    EXPECT_FALSE(reloaded.useInputEvidence());
    EXPECT_FALSE(reloaded.frostWhenWalkingAway());
    EXPECT_FALSE(reloaded.frostWhenFar());
    EXPECT_TRUE(reloaded.frostOnDisconnect());
    EXPECT_TRUE(reloaded.diagnostics());
    EXPECT_TRUE(reloaded.onboardingDone());
}

TEST(Preferences, EverySubscriptionDeliversItsCurrentValueAtOnce) {
    MemoryPreferenceStore store;
    store.set("diagnostics", "true");
    store.set("frostStrength", "0.3");
    Preferences p(store);
    std::vector<std::string> got;
    SubscriptionBag bag;
    auto b = [&](const char* name) {
        return [&got, name](bool v) { got.push_back(std::string(name) + "=" + (v ? "1" : "0")); };
    };
    auto d = [&](const char* name) {
        return
            [&got, name](double v) { got.push_back(std::string(name) + "=" + std::to_string(v)); };
    };
    bag.push_back(p.subscribeEnabled(b("enabled")));
    bag.push_back(p.subscribeTriggerAngle(d("triggerAngle")));
    bag.push_back(p.subscribeFrostStrength(d("frostStrength")));
    bag.push_back(p.subscribeShowAngleInMenuBar(b("showAngleInMenuBar")));
    bag.push_back(p.subscribeUseInputEvidence(b("useInputEvidence")));
    bag.push_back(p.subscribeFrostWhenWalkingAway(b("frostWhenWalkingAway")));
    bag.push_back(p.subscribeFrostWhenFar(b("frostWhenFar")));
    bag.push_back(p.subscribeFrostOnDisconnect(b("frostOnDisconnect")));
    bag.push_back(p.subscribeDiagnostics(b("diagnostics")));
    bag.push_back(p.subscribeOnboardingDone(b("onboardingDone")));
    const std::vector<std::string> expected{"enabled=1",
                                            "triggerAngle=50.000000",
                                            "frostStrength=0.300000",
                                            "showAngleInMenuBar=0",
                                            "useInputEvidence=1",
                                            "frostWhenWalkingAway=1",
                                            "frostWhenFar=1",
                                            "frostOnDisconnect=0",
                                            "diagnostics=1",
                                            "onboardingDone=0"};
    EXPECT_EQ(got, expected);

    // Each subscription hears only its own property.
    got.clear();
    p.setFrostWhenFar(false);
    p.setFrostStrength(0.9);
    EXPECT_EQ(got, (std::vector<std::string>{"frostWhenFar=0", "frostStrength=0.900000"}));

    // Ended subscriptions hear nothing.
    bag.clear();
    got.clear();
    p.setOnboardingDone(true);
    EXPECT_TRUE(got.empty());
}

TEST(Preferences, TwelveQtPropertiesWithNotifySignals) {
    MemoryPreferenceStore store;
    Preferences p(store);
    const QMetaObject* meta = p.metaObject();
    const std::vector<std::pair<const char*, QMetaType::Type>> expected{
        {"enabled", QMetaType::Bool},          {"triggerAngle", QMetaType::Double},
        {"frostStrength", QMetaType::Double},  {"showAngleInMenuBar", QMetaType::Bool},
        {"useInputEvidence", QMetaType::Bool}, {"frostWhenWalkingAway", QMetaType::Bool},
        {"frostWhenFar", QMetaType::Bool},     {"frostOnDisconnect", QMetaType::Bool},
        {"diagnostics", QMetaType::Bool},      {"onboardingDone", QMetaType::Bool},
        {"lockWhenAway", QMetaType::Bool},     {"lockAfterMinutes", QMetaType::Double},
    };
    EXPECT_EQ(meta->propertyCount() - meta->propertyOffset(), 12);
    for (const auto& [name, type] : expected) {
        const int index = meta->indexOfProperty(name);
        ASSERT_GE(index, 0) << name;
        const QMetaProperty prop = meta->property(index);
        EXPECT_EQ(prop.typeId(), type) << name;
        EXPECT_TRUE(prop.isWritable()) << name;
        EXPECT_TRUE(prop.hasNotifySignal()) << name;
    }
}

TEST(Preferences, WritingThroughTheQtPropertySystemPublishes) {
    MemoryPreferenceStore store;
    Preferences p(store);
    std::vector<double> handed;
    auto sub = p.subscribeTriggerAngle([&](double v) { handed.push_back(v); });
    QSignalSpy spy(&p, &Preferences::triggerAngleChanged);
    EXPECT_TRUE(p.setProperty("triggerAngle", 65.0));
    EXPECT_EQ(p.property("triggerAngle").toDouble(), 65.0);
    EXPECT_EQ(handed, (std::vector<double>{50.0, 65.0}));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toDouble(), 65.0);
    EXPECT_EQ(store.read("triggerAngle"), "65");
}

TEST(Preferences, ASubscriberThatAssignsAgainLeavesFieldAndStoreInAgreement) {
    MemoryPreferenceStore store;
    Preferences p(store);
    // A subscriber that reacts to the change by assigning another property.
    auto sub = p.subscribeDiagnostics([&](bool v) {
        if (v) {
            p.setShowAngleInMenuBar(true);
        }
    });
    p.setDiagnostics(true);
    EXPECT_TRUE(p.diagnostics());
    EXPECT_TRUE(p.showAngleInMenuBar());
    EXPECT_EQ(store.read("diagnostics"), "true");
    EXPECT_EQ(store.read("showAngleInMenuBar"), "true");
}

} // namespace
} // namespace quelmo
