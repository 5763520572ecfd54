// SPDX-License-Identifier: MIT
#include "app/published.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quelmo {
namespace {

TEST(Published, SubscriptionDeliversTheCurrentValueAtOnce) {
    Published<int> p(7);
    std::vector<int> seen;
    auto sub = p.subscribe([&](int v) { seen.push_back(v); });
    EXPECT_EQ(seen, std::vector<int>{7});
}

TEST(Published, SubscribersAreHandedTheNewValueBeforeTheFieldHoldsIt) {
    Published<int> p(1);
    std::vector<std::pair<int, int>> seen; // (handed, held)
    auto sub = p.subscribe([&](int v) { seen.emplace_back(v, p.value()); });
    p.set(2);
    EXPECT_EQ(p.value(), 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], std::make_pair(2, 1));
}

TEST(Published, EveryAssignmentNotifiesEvenTheSameValue) {
    Published<bool> p(true);
    int calls = 0;
    auto sub = p.subscribe([&](bool) { ++calls; });
    p.set(true);
    p.set(true);
    EXPECT_EQ(calls, 3);
}

TEST(Published, SubscribersAreCalledInTheOrderTheySubscribed) {
    Published<int> p(0);
    std::string order;
    auto a = p.subscribe([&](int) { order += 'a'; });
    auto b = p.subscribe([&](int) { order += 'b'; });
    order.clear();
    p.set(1);
    EXPECT_EQ(order, "ab");
}

TEST(Published, CancelledOrDestroyedSubscriptionsAreNotCalled) {
    Published<int> p(0);
    int a = 0;
    int b = 0;
    auto subA = p.subscribe([&](int) { ++a; });
    {
        auto subB = p.subscribe([&](int) { ++b; });
    }
    subA.cancel();
    EXPECT_FALSE(subA.isActive());
    p.set(1);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(p.subscriberCount(), 0u);
}

TEST(Published, ACallbackMayCancelAnotherSubscriptionDuringANotification) {
    Published<int> p(0);
    int second = 0;
    Subscription subB;
    auto subA = p.subscribe([&](int v) {
        if (v == 1) {
            subB.cancel();
        }
    });
    subB = p.subscribe([&](int) { ++second; });
    p.set(1);
    EXPECT_EQ(second, 1); // only the value delivered at subscription
}

TEST(Published, ACallbackMayCancelItself) {
    Published<int> p(0);
    int calls = 0;
    auto sub = std::make_unique<Subscription>();
    *sub = p.subscribe([&](int v) {
        ++calls;
        if (v == 1) {
            sub.reset();
        }
    });
    p.set(1);
    p.set(2);
    EXPECT_EQ(calls, 2);
}

TEST(Published, ASubscriptionMadeDuringANotificationIsNotCalledByIt) {
    Published<int> p(0);
    std::vector<int> late;
    Subscription lateSub;
    auto sub = p.subscribe([&](int v) {
        if (v == 1) {
            lateSub = p.subscribe([&](int w) { late.push_back(w); });
        }
    });
    p.set(1);
    EXPECT_EQ(late, std::vector<int>{0}); // handed the current value when made
    p.set(2);
    EXPECT_EQ(late, (std::vector<int>{0, 2}));
}

TEST(Published, SubscriptionsMayOutliveThePublishedValue) {
    Subscription sub;
    {
        Published<int> p(0);
        sub = p.subscribe([](int) {});
    }
    sub.cancel(); // nothing to do, no crash
    EXPECT_FALSE(sub.isActive());
}

TEST(Published, MovedSubscriptionKeepsItAlive) {
    Published<int> p(0);
    int calls = 0;
    SubscriptionBag bag;
    bag.push_back(p.subscribe([&](int) { ++calls; }));
    bag.push_back(p.subscribe([&](int) { ++calls; }));
    p.set(1);
    EXPECT_EQ(calls, 4);
    bag.clear();
    p.set(2);
    EXPECT_EQ(calls, 4);
}

} // namespace
} // namespace quelmo
