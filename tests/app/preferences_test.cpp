// SPDX-License-Identifier: MIT
#include "app/preferences.h"

#include <QMetaProperty>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <map>
#include <memory>
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
    QSignalSpy spy(&p, &Preferences::enabledChanged);
    p.setEnabled(true);
    p.setEnabled(true);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(store.writeCount(), 2u);
    EXPECT_EQ(store.read("enabled"), "true");
}

TEST(Preferences, AssignmentAppliesNoLimitsButTheNextLoadDoes) {
    MemoryPreferenceStore store;
    {
        Preferences p(store);
        p.setTriggerAngle(80);
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

// A setter that emitted a neighbour's signal would leave a window or the
// model looking at a stale value.
TEST(Preferences, EachAssignmentEmitsItsOwnSignalOnceAndNoOther) {
    MemoryPreferenceStore store;
    Preferences p(store);
    const QMetaObject* meta = p.metaObject();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        spies.push_back(std::make_unique<QSignalSpy>(&p, meta->property(i).notifySignal()));
    }
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        const QVariant now = prop.read(&p);
        const QVariant next = prop.typeId() == QMetaType::Bool ? QVariant(!now.toBool())
                                                               : QVariant(now.toDouble() + 1.0);
        ASSERT_TRUE(prop.write(&p, next)) << prop.name();
        for (int j = 0; j < static_cast<int>(spies.size()); ++j) {
            const int own = j == i - meta->propertyOffset() ? 1 : 0;
            EXPECT_EQ(spies[j]->count(), own) << prop.name() << " signal " << j;
            spies[j]->clear();
        }
    }
}

TEST(Preferences, WritingThroughTheQtPropertySystemPublishes) {
    MemoryPreferenceStore store;
    Preferences p(store);
    QSignalSpy spy(&p, &Preferences::triggerAngleChanged);
    EXPECT_TRUE(p.setProperty("triggerAngle", 65.0));
    EXPECT_EQ(p.property("triggerAngle").toDouble(), 65.0);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toDouble(), 65.0);
    EXPECT_EQ(store.read("triggerAngle"), "65");
}

TEST(Preferences, AReceiverThatAssignsAgainLeavesFieldAndStoreInAgreement) {
    MemoryPreferenceStore store;
    Preferences p(store);
    // A receiver that reacts to the change by assigning another property.
    QObject::connect(&p, &Preferences::diagnosticsChanged, &p, [&](bool v) {
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
