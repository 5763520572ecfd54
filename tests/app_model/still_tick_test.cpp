// SPDX-License-Identifier: MIT
// While the head is still and nobody types, the tick runs once a second: no
// decision may come later or differently for it.
#include "fakes.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using Kind = AppStatus::Kind;
using testing::ModelRig;

// A rig counting how often the tick reads keyboard and mouse.
struct StillRig : ModelRig {
    int inputReads = 0;
    explicit StillRig(bool diagnostics = false) {
        store.set("diagnostics", diagnostics ? "true" : "false");
        input.onRead = [this] { ++inputReads; };
    }
    // The virtual time at which the screen frosts, within `seconds` of samples at `heading`.
    double frostTime(double heading, double seconds) {
        for (int i = 0; i < static_cast<int>(seconds / 0.02 + 0.5); ++i) {
            if (overlay.frosted) {
                return scheduler.uptime();
            }
            samples(heading, 0.02);
        }
        return -1.0;
    }
};

TEST(StillTick, QuietWatchingTicksOnceASecondAndATurnFrostsJustAsSoon) {
    StillRig still;
    StillRig full; // a gauge shows the angle: five ticks a second throughout
    for (StillRig* rig : {&still, &full}) {
        AppModel& model = rig->start();
        if (rig == &full) {
            model.setLiveDisplays(1);
        }
        rig->samples(0.0, 6.0);
        ASSERT_EQ(rig->status(), Kind::watching);
        rig->inputReads = 0;
        rig->samples(0.0, 3.0);
    }
    // Each tick reads them twice.
    EXPECT_LE(still.inputReads, 8);
    EXPECT_GE(full.inputReads, 28);

    // The sample that frosts is handed over as it comes, whatever the tick's
    // pace; the samples before it decide nothing and may wait. The turn
    // starts just after a still tick.
    const int reads = still.inputReads;
    while (still.inputReads == reads) {
        still.samples(0.0, 0.02);
        full.samples(0.0, 0.02);
    }
    for (StillRig* rig : {&still, &full}) {
        rig->turn(0.0, 80.0);
    }
    const double stillFrost = still.frostTime(80.0, 3.0);
    const double fullFrost = full.frostTime(80.0, 3.0);
    ASSERT_GT(stillFrost, 0.0);
    EXPECT_DOUBLE_EQ(stillFrost, fullFrost);
    // Frosted, the tick is back at full pace (the frost clears on input).
    still.inputReads = 0;
    still.samples(80.0, 1.0);
    EXPECT_GE(still.inputReads, 10);

    // Looking back clears it; the quiet watching after it slows the tick again.
    still.turn(80.0, 0.0);
    still.samples(0.0, 3.0);
    EXPECT_FALSE(still.overlay.frosted);
    still.inputReads = 0;
    still.samples(0.0, 3.0);
    EXPECT_LE(still.inputReads, 8);
}

TEST(StillTick, AStopIsNoticedAsSoonAndTypingCountsAtOnce) {
    StillRig rig;
    AppModel& model = rig.start();
    ASSERT_TRUE(rig.learnDeskSignal(-60.0));
    rig.samples(0.0, 4.0);
    ASSERT_EQ(rig.signal.pending.size(), 1u);
    rig.signal.answer({{"AA", -85.0}});
    rig.samples(0.0, 2.0);
    ASSERT_EQ(rig.signal.pending.size(), 1u);
    // Typing since the last tick: a weak signal now is someone at the desk
    // whose headphones fade, not someone who left.
    rig.input.touch();
    rig.signal.answer({{"AA", -86.0}});
    EXPECT_EQ(rig.status(), Kind::watching);
    EXPECT_TRUE(rig.log.matching("left: signal").empty());

    // Samples stop just after a still tick: they are still noticed within a
    // fast tick of 1.5 s, not a still one.
    rig.samples(0.0, 4.0);
    ASSERT_TRUE(model.guardian().isLive());
    const int reads = rig.inputReads;
    while (rig.inputReads == reads) {
        rig.samples(0.0, 0.02);
    }
    const double lastSample = rig.scheduler.uptime() - 0.02;
    double noticed = -1.0;
    for (int i = 0; i < 300 && noticed < 0.0; ++i) {
        rig.scheduler.advance(0.01);
        if (!model.guardian().isLive()) {
            noticed = rig.scheduler.uptime();
        }
    }
    ASSERT_GT(noticed, 0.0);
    EXPECT_GT(noticed - lastSample, 1.5);
    EXPECT_LE(noticed - lastSample, 1.75);
    EXPECT_EQ(model.liveAngle(), 0.0);
}

} // namespace
} // namespace quelmo
