// SPDX-License-Identifier: MIT
#include "app/sample_pacing.h"

#include "core/decision_preview.h"

#include <optional>
#include <utility>

namespace quelmo {

namespace {

constexpr double kTickPeriod = 0.2;
constexpr double kTickTolerance = 0.05;
constexpr double kStillTickPeriod = 1.0;
constexpr double kStillTickTolerance = 0.25;
// Samples come every 40 ms or less; none for this long and they may be
// stopping, which the fast tick notices in time.
constexpr double kStillSamplesWithin = 0.25;
// The tick takes held samples every tick; should it ever not, none waits
// longer than this beyond the tick's period.
constexpr double kHoldBeyondTick = 0.8;

} // namespace

SamplePacing::SamplePacing(Scheduler& scheduler, HeadTrackerPort& tracker,
                           const PrivacyGuard& guard, std::function<void()> tick,
                           std::function<bool()> everySampleWanted)
    : scheduler_(scheduler), tracker_(tracker), guard_(guard), tickAction_(std::move(tick)),
      everySampleWanted_(std::move(everySampleWanted)) {}

bool SamplePacing::startTick() {
    if (tick_) {
        return false;
    }
    still_ = false;
    schedule();
    return true;
}

void SamplePacing::stopTick() {
    if (tick_) {
        tick_->cancel();
        tick_.reset();
    }
    still_ = false;
}

void SamplePacing::schedule() {
    if (tick_) {
        tick_->cancel();
    }
    // The timer is this object's own: destroying it (with this) cancels it.
    tick_ = scheduler_.scheduleRepeating(period(), still_ ? kStillTickTolerance : kTickTolerance,
                                         [this] { tickAction_(); });
}

void SamplePacing::setStill(bool still) {
    if (!tick_ || still == still_) {
        return;
    }
    still_ = still;
    schedule();
}

double SamplePacing::period() const {
    return still_ ? kStillTickPeriod : kTickPeriod;
}

void SamplePacing::publishPreview() {
    if (changes_ > 0) {
        return; // the outermost change publishes
    }
    std::optional<DecisionPreview> preview;
    if (mayHoldSamples()) {
        preview = DecisionPreview::of(guard_, scheduler_.uptime() + period() + kHoldBeyondTick);
    }
    if (!preview) {
        // A decision may be under way: the tick is wanted at its full pace.
        setStill(false);
    }
    tracker_.holdQuietSamples(preview);
}

// Holding quiet samples back is only for plain watching, with the tick
// running to take them.
bool SamplePacing::mayHoldSamples() const {
    return tick_ && !everySampleWanted_();
}

void SamplePacing::settle(bool inputQuiet, double now) {
    const auto age = guard_.motionAge(now);
    setStill(inputQuiet && mayHoldSamples() && DecisionPreview::isPossible(guard_) && age &&
             *age < kStillSamplesWithin);
}

} // namespace quelmo
