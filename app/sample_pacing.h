// SPDX-License-Identifier: MIT
#pragma once

#include "app/head_tracker_port.h"
#include "app/scheduler.h"
#include "core/privacy_guard.h"

#include <functional>

namespace quelmo {

// The pace of the app model's tick and of the head's samples.
//
// While head tracking is live or the screen is frosted the tick runs five
// times a second. While nothing is being decided (the head's samples held
// until the tick, because a preview of the guard says they decide nothing,
// however the head moves; keyboard and mouse idle; no frost, no away) it runs
// once a second instead: every wake-up of the main thread costs far more than
// the work of a tick. A sample that decides something is handed over at once
// whatever the tick's pace. The tick is back at five a second as soon as
// nothing may be held, keyboard or mouse are used, or the samples seem to
// stop, so a stop is still noticed as quickly. The diagnostics log changes
// none of this: its lines are written as the held samples are handed over,
// stamped with their time.
//
// After every change of the guard a new preview of its decisions goes to the
// tracker (see DecisionPreview): changes are wrapped in a GuardChange.
class SamplePacing {
  public:
    class GuardChange;

    // `tick` is what runs at each tick. `everySampleWanted` says whether
    // something wants every sample handled as it comes (a gauge, the angle in
    // the menu bar, altered test samples, the warm-up); it is asked afresh
    // each time.
    SamplePacing(Scheduler& scheduler, HeadTrackerPort& tracker, const PrivacyGuard& guard,
                 std::function<void()> tick, std::function<bool()> everySampleWanted);

    // Starts the tick at its full pace; false when it was running already.
    bool startTick();
    void stopTick();
    bool isTicking() const { return tick_ != nullptr; }
    // Whether the tick runs at its slow, once-a-second pace.
    bool isStill() const { return still_; }

    // Publishes a new preview of the guard's decisions to the tracker, unless
    // inside a GuardChange (the outermost one publishes as it ends).
    void publishPreview();
    // At the end of a tick: the slow pace when keyboard and mouse are quiet,
    // samples may be held, the guard allows a preview and samples still come.
    void settle(bool inputQuiet, double now);

  private:
    bool mayHoldSamples() const;
    void setStill(bool still);
    double period() const;
    void schedule();

    Scheduler& scheduler_;
    HeadTrackerPort& tracker_;
    const PrivacyGuard& guard_;
    std::function<void()> tickAction_;
    std::function<bool()> everySampleWanted_;
    TimerHandle tick_;
    bool still_ = false;
    int changes_ = 0;
};

// Around every change of the guard other than a sample: the held samples
// first (so the guard sees everything in the order it happened), a new
// preview of the guard's decisions after. Nested scopes publish once, at the
// outermost end.
class SamplePacing::GuardChange {
  public:
    explicit GuardChange(SamplePacing& pacing) : pacing_(pacing) {
        pacing_.changes_ += 1;
        pacing_.tracker_.takeHeldSamples();
    }
    ~GuardChange() {
        pacing_.changes_ -= 1;
        pacing_.publishPreview();
    }
    GuardChange(const GuardChange&) = delete;
    GuardChange& operator=(const GuardChange&) = delete;

  private:
    SamplePacing& pacing_;
};

} // namespace quelmo
