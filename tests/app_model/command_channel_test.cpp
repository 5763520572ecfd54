// SPDX-License-Identifier: MIT
#include "app/command_number.h"
#include "fakes.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using Kind = AppStatus::Kind;

using testing::ModelRig;

TEST(CommandChannel, IgnoredWithoutTheDiagnosticsLog) {
    ModelRig rig;
    rig.withTestHooks = true;
    rig.store.set("diagnostics", "false");
    AppModel& model = rig.start();
    rig.commands.send("pause");
    rig.commands.send("turn:45");
    EXPECT_FALSE(model.pausedUntil().has_value());
    EXPECT_EQ(rig.hooks->turnTarget(), 0.0);
    EXPECT_TRUE(rig.log.lines.empty());
}

TEST(CommandChannel, TestSourceAndTurnTarget) {
    ModelRig rig;
    rig.withTestHooks = true;
    rig.start();
    rig.commands.send("fake:on");
    EXPECT_TRUE(rig.hooks->hasFakeSource());
    rig.scheduler.advance(4.0);
    EXPECT_EQ(rig.status(), Kind::watching);
    rig.tracker.deliver(120.0); // real samples are ignored meanwhile
    EXPECT_EQ(rig.status(), Kind::watching);

    rig.commands.send("turn:45");
    for (int i = 1; i <= 9; ++i) {
        rig.scheduler.advance(0.02);
        EXPECT_NEAR(rig.hooks->turnOffset(), 5.0 * i, 1e-9);
    }
    rig.scheduler.advance(0.02);
    EXPECT_EQ(rig.hooks->turnOffset(), 45.0);

    rig.commands.send("turn:90");
    rig.scheduler.advance(1.0);
    EXPECT_EQ(rig.status(), Kind::frosted);

    // "drop" keeps the offset and turns the frost into an away frost.
    rig.commands.send("drop");
    EXPECT_FALSE(rig.hooks->hasFakeSource());
    EXPECT_EQ(rig.hooks->turnTarget(), 90.0);
    EXPECT_EQ(rig.status(), Kind::away);
    EXPECT_TRUE(rig.overlay.frosted);

    rig.commands.send("fake:off");
    EXPECT_EQ(rig.hooks->turnTarget(), 0.0);
    const std::vector<std::string> words = {"command: fake:on", "command: turn:45",
                                            "command: turn:90", "command: drop",
                                            "command: fake:off"};
    EXPECT_EQ(rig.log.matching("command: "), words);
}

TEST(CommandChannel, TurnBeforeTheSourceMovesTwentyFiveDegreesAtOnce) {
    ModelRig rig;
    rig.withTestHooks = true;
    rig.start();
    rig.commands.send("turn:45");
    rig.commands.send("fake:on");
    rig.scheduler.advance(0.02);
    EXPECT_EQ(rig.hooks->turnOffset(), 25.0);
}

TEST(CommandChannel, NumbersAfterTheColon) {
    EXPECT_EQ(parseCommandNumber("45"), 45.0);
    EXPECT_EQ(parseCommandNumber("-12.5"), -12.5);
    EXPECT_EQ(parseCommandNumber("+3"), 3.0);
    EXPECT_EQ(parseCommandNumber(".5"), 0.5);
    EXPECT_EQ(parseCommandNumber("1e1"), 10.0);
    for (const char* bad : {"", "abc", " 45", "45 ", "45deg", "nan", "inf", "4,5"}) {
        EXPECT_FALSE(parseCommandNumber(bad).has_value()) << bad;
    }

    ModelRig rig;
    rig.withTestHooks = true;
    rig.start();
    rig.commands.send("turn:abc");
    rig.commands.send("far:");
    rig.commands.send("far:12");
    rig.commands.send("Recenter"); // case matters: unknown, logged only
    EXPECT_EQ(rig.hooks->turnTarget(), 0.0);
    EXPECT_EQ(rig.hooks->signalDrop(), 12.0);
    EXPECT_EQ(rig.log.matching("command: ").size(), 4u);
    EXPECT_TRUE(rig.log.matching("manual recenter").empty());
}

TEST(CommandChannel, FarAndIgnoredInputMakeAnAwayFrostThatInputCannotClear) {
    ModelRig rig;
    rig.withTestHooks = true;
    rig.start();
    rig.samples(0.0, 3.0);
    rig.input.touch();
    rig.samples(0.0, 0.5);
    rig.signal.answer({{"AA", -60.0}}); // learned at the desk
    rig.commands.send("input:ignore");
    rig.commands.send("far:30");
    for (int i = 0; i < 3; ++i) {
        rig.samples(0.0, 2.0);
        rig.signal.answer({{"AA", -60.0}});
    }
    EXPECT_EQ(rig.status(), Kind::away);
    rig.input.touch();
    rig.samples(0.0, 0.4);
    EXPECT_EQ(rig.status(), Kind::away); // input is ignored
    rig.commands.send("input:real");
    rig.input.touch();
    rig.samples(0.0, 0.4);
    EXPECT_EQ(rig.status(), Kind::watching);
    EXPECT_FALSE(rig.hooks->ignoresInput());
}

TEST(CommandChannel, WalkingGaitMakesTheUserAway) {
    ModelRig rig;
    rig.withTestHooks = true;
    rig.start();
    rig.samples(0.0, 4.0);
    rig.commands.send("walk:on");
    EXPECT_TRUE(rig.hooks->walking());
    rig.samples(0.0, 5.0);
    EXPECT_EQ(rig.status(), Kind::away);
    rig.commands.send("walk:off");
    EXPECT_FALSE(rig.hooks->walking());
}

TEST(CommandChannel, TestWordsAreOnlyLoggedUnlessTheTestHooksWereChosen) {
    ModelRig rig; // started without the test hooks, as Quelmo is by default
    rig.start();
    rig.samples(0.0, 3.5);
    ASSERT_EQ(rig.status(), Kind::watching);
    ASSERT_TRUE(rig.tracker.preview);
    const std::size_t statusLines = rig.log.matching("status: ").size();
    const std::vector<std::string> words = {"fake:on", "turn:90",      "walk:on", "far:40",
                                            "drop",    "input:ignore", "fake:off"};
    for (const std::string& word : words) {
        rig.commands.send(word);
        rig.samples(0.0, 1.0);
        EXPECT_EQ(rig.status(), Kind::watching) << word;
        EXPECT_TRUE(rig.tracker.preview) << word << ": quiet samples are still held";
    }
    EXPECT_FALSE(rig.overlay.frosted);
    EXPECT_EQ(rig.log.matching("command: ").size(), words.size());
    EXPECT_EQ(rig.log.matching("status: ").size(), statusLines);
}

TEST(CommandChannel, ControlWords) {
    ModelRig rig;
    rig.withTestHooks = true;
    AppModel& model = rig.start();
    rig.commands.send("preview");
    EXPECT_EQ(rig.overlay.previews, 1);
    rig.commands.send("settings");
    rig.commands.send("onboarding");
    EXPECT_EQ(rig.windows.settings, 1);
    EXPECT_EQ(rig.windows.onboarding, 1);
    rig.commands.send("pause");
    EXPECT_EQ(rig.status(), Kind::paused);
    rig.commands.send("resume");
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    rig.commands.send("off");
    EXPECT_FALSE(rig.prefs->enabled());
    EXPECT_EQ(rig.status(), Kind::off);
    rig.commands.send("on");
    EXPECT_EQ(rig.status(), Kind::waitingForAirPods);
    rig.commands.send("recenter");
    EXPECT_EQ(rig.log.matching("manual recenter").size(), 1u);
    EXPECT_EQ(model.frostCount(), 0);
}

TEST(CommandChannel, HostileWordsAreIgnoredAndCannotForgeOrFloodTheLog) {
    ModelRig rig;
    rig.withTestHooks = true;
    AppModel& model = rig.start();
    rig.commands.send("pause\n2026-01-01 00:00:00.000 FROST at 90.0");
    rig.commands.send(std::string(1 << 20, 'a'));
    rig.commands.send("\xff\xfe\x01");
    rig.commands.send(std::string(199, 'b') + "\xc3\xa9"); // é across the cut
    EXPECT_FALSE(model.pausedUntil().has_value());
    const auto lines = rig.log.matching("command: ");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "command: pause\\x0a2026-01-01 00:00:00.000 FROST at 90.0");
    EXPECT_EQ(lines[1], "command: " + std::string(200, 'a') + "... (1048576 bytes)");
    EXPECT_EQ(lines[2], "command: \xff\xfe\\x01");
    EXPECT_EQ(lines[3], "command: " + std::string(199, 'b') + "... (201 bytes)");
    EXPECT_EQ(model.frostCount(), 0);
}

} // namespace
} // namespace quelmo
