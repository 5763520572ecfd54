// SPDX-License-Identifier: MIT
#include "platform/tray/tray_host_watch.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(TrayHostWatch, WhenToMakeTheIcon) {
    const TrayHosts nothing;
    const TrayHosts dbusHost{true, true, false};
    const TrayHosts watcherOnly{true, false, false};
    const TrayHosts xembed{false, false, true};
    const TrayHosts xembedWhileWatcherWaits{true, false, true};
    EXPECT_FALSE(TrayHostWatch::hostReady(nothing, seconds(600)));
    EXPECT_TRUE(TrayHostWatch::hostReady(dbusHost, seconds(0)));
    EXPECT_FALSE(TrayHostWatch::hostReady(watcherOnly, seconds(600)));
    EXPECT_TRUE(TrayHostWatch::hostReady(xembed, seconds(0)));
    // A D-Bus watcher with no host yet: give its host a moment before
    // settling for the XEmbed tray, since Qt chooses only once.
    EXPECT_FALSE(TrayHostWatch::hostReady(xembedWhileWatcherWaits, seconds(2)));
    EXPECT_TRUE(TrayHostWatch::hostReady(xembedWhileWatcherWaits, seconds(10)));
}

TEST(TrayHostWatch, RetriesQuicklyForAMinuteThenEveryHalfMinute) {
    EXPECT_EQ(TrayHostWatch::retryDelay(1), seconds(2));
    EXPECT_EQ(TrayHostWatch::retryDelay(29), seconds(2));
    EXPECT_EQ(TrayHostWatch::retryDelay(30), seconds(30));
    EXPECT_EQ(TrayHostWatch::retryDelay(1000), seconds(30));
}

TEST(TrayHostWatch, MakesTheIconOnceAndKeepsLookingWhileItCannot) {
    TrayHosts hosts;
    int made = 0;
    bool makeWorks = false;
    TrayHostWatch watch([&] { return hosts; },
                        [&] {
                            ++made;
                            return makeWorks;
                        });
    watch.start();
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(watch.isWaiting());

    hosts.xembedTray = true;
    watch.start(); // looks at once
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(watch.isWaiting()); // making it failed: look again later

    makeWorks = true;
    watch.start();
    EXPECT_EQ(made, 2);
    EXPECT_FALSE(watch.isWaiting());
    EXPECT_EQ(watch.attempts(), 3);
}

} // namespace
} // namespace quelmo
