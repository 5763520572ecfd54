// SPDX-License-Identifier: MIT
#include "app/launch_options.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using Kind = LaunchRequest::Kind;

LaunchRequest parse(std::vector<std::string> args) {
    args.insert(args.begin(), "/usr/bin/quelmo");
    return parseLaunchOptions(args);
}

TEST(LaunchOptions, PrecedenceOfTheOneShotSwitches) {
    EXPECT_EQ(parse({}).kind, Kind::run);
    EXPECT_EQ(parse({"--add-login-item", "--remove-login-item"}).kind, Kind::removeLoginItem);
    EXPECT_EQ(parse({"--send", "pause", "--add-login-item"}).kind, Kind::addLoginItem);
    const LaunchRequest send = parse({"--send", "turn:45", "extra"});
    EXPECT_EQ(send.kind, Kind::send);
    EXPECT_EQ(send.word, "turn:45");
    // The word is passed on whatever it looks like.
    EXPECT_EQ(parse({"--send", "--help"}).word, "--help");
    // A lone "--send" starts the app.
    EXPECT_EQ(parse({"--send"}).kind, Kind::run);
    EXPECT_EQ(parse({"--help"}).kind, Kind::help);
    EXPECT_EQ(parse({"--recenter", "--help"}).kind, Kind::recenter);
    EXPECT_EQ(parse({"--recenter", "--send", "pause"}).kind, Kind::send);
    EXPECT_EQ(parse({"--recenter", "--add-login-item"}).kind, Kind::addLoginItem);
    EXPECT_EQ(parse({"--version"}).kind, Kind::version);
    // Only whole arguments count.
    EXPECT_EQ(parse({"--add-login-item=1", "---send"}).kind, Kind::run);
    // The probe: its seconds within 1 to 3600, else 10; anything odd is 10.
    const LaunchRequest probe = parse({"--probe-headphones", "--seconds", "30", "--capture", "c"});
    EXPECT_EQ(probe.kind, Kind::probe);
    EXPECT_EQ(probe.seconds, 30);
    EXPECT_EQ(probe.capture, "c");
    for (const char* odd : {"0", "-5", "3601", "1e3", "99999999999", "", "ten"})
        EXPECT_EQ(parse({"--probe-headphones", "--seconds", odd}).seconds, 10) << odd;
    EXPECT_EQ(parse({"--probe-headphones", "--seconds"}).seconds, 10);
    // The program path itself is looked at too.
    EXPECT_EQ(parseLaunchOptions({"--remove-login-item"}).kind, Kind::removeLoginItem);
}

} // namespace
} // namespace quelmo
