// SPDX-License-Identifier: MIT
// The tick: while head tracking is live or the screen is frosted, five times a
// second the app model checks that head data still comes, reads keyboard and
// mouse activity and asks for the Bluetooth signal now and then. The signal's
// answer and the loss of head data are handled here too.
//
// While nothing is being decided (the head's samples held until the tick,
// because a preview of the guard says they decide nothing, however the head
// moves; keyboard and mouse idle; no frost, no away) the tick runs once a
// second instead: every wake-up of the main thread costs far more than the
// work of a tick. A sample that decides something is handed over at once
// whatever the tick's pace. The tick is back at five a second as soon as
// nothing may be held, keyboard or mouse are used, or the samples seem to
// stop, so a stop is still noticed as quickly. The diagnostics log changes
// none of this: its lines are written as the held samples are handed over,
// stamped with their time.
#include "app/app_model.h"

#include "core/number_text.h"

namespace quelmo {

namespace {

constexpr double kTickPeriod = 0.2;
constexpr double kTickTolerance = 0.05;
constexpr double kStillTickPeriod = 1.0;
constexpr double kStillTickTolerance = 0.25;
// Samples come every 40 ms or less; none for this long and they may be
// stopping, which the fast tick notices in time.
constexpr double kStillSamplesWithin = 0.25;
constexpr double kDataStoppedAfter = 1.5;
constexpr double kActiveIdle = 1.5;
constexpr double kPollWhileQuiet = 2.0;
constexpr double kPollWhileActive = 10.0;
// Idle time reported while keyboard and mouse are ignored (a test command).
constexpr double kIgnoredIdle = 999.0;

} // namespace

void AppModel::startTick() {
    if (tick_) {
        return;
    }
    stillTick_ = false;
    scheduleTick();
    ports_.watchdog.beat();
}

void AppModel::scheduleTick() {
    if (tick_) {
        tick_->cancel();
    }
    std::weak_ptr<AppModel*> weak = self_;
    tick_ = ports_.scheduler.scheduleRepeating(
        tickPeriod(), stillTick_ ? kStillTickTolerance : kTickTolerance, [weak] {
            if (auto self = weak.lock()) {
                (*self)->runTick();
            }
        });
}

void AppModel::setStillTick(bool still) {
    if (!tick_ || still == stillTick_) {
        return;
    }
    stillTick_ = still;
    scheduleTick();
}

double AppModel::tickPeriod() const {
    return stillTick_ ? kStillTickPeriod : kTickPeriod;
}

void AppModel::stopTick() {
    if (tick_) {
        tick_->cancel();
        tick_.reset();
    }
    stillTick_ = false;
}

void AppModel::runTick() {
    // Held samples first, so the guard sees them before the input reading.
    const GuardChange change(*this);
    const double now = uptime();
    if (sampleRate_.update(now)) {
        emit motionSourceChanged();
    }
    ports_.watchdog.beat();

    // The stream is judged only when Quelmo has been running to receive it. A
    // tick that comes late (the process was stopped or starved of a CPU) may
    // run before the samples that arrived meanwhile are read: the next one,
    // a moment later, judges.
    const bool wasRunning = lastTickAt_ && now - *lastTickAt_ < kDataStoppedAfter;
    lastTickAt_ = now;
    if (guardian_.isLive() && wasRunning) {
        const auto age = guardian_.motionAge(now);
        if (age && *age > kDataStoppedAfter) {
            write("head data stopped");
            signalLost();
        }
    }

    const std::int64_t overrides = guardian_.inputOverrides();
    const bool wasAway = guardian_.isAway();
    const double idle = ignoreInput_ ? kIgnoredIdle : ports_.input.secondsSinceLastEvent();
    guardian_.inputActivity(idle, now);

    const bool quiet = ignoreInput_ || ports_.input.secondsSinceLastEvent() > kActiveIdle;
    if (prefs_.frostWhenFar() && guardian_.isLive() &&
        now - lastSignalPoll_ >= (quiet ? kPollWhileQuiet : kPollWhileActive)) {
        lastSignalPoll_ = now;
        std::weak_ptr<AppModel*> weak = self_;
        ports_.signal.read([weak](const SignalReadings& readings) {
            if (auto self = weak.lock()) {
                (*self)->onSignalReading(readings);
            }
        });
    }

    if (guardian_.inputOverrides() != overrides) {
        write("cleared by sustained input; forward re-zeroed");
    }
    if (wasAway && !guardian_.isAway()) {
        write("back at the Mac (keyboard or mouse used)");
    }
    refreshStatus();
    if (!guardian_.isLive() && !guardian_.isFrosted()) {
        stopTick();
        return;
    }
    const auto age = guardian_.motionAge(now);
    setStillTick(quiet && mayHoldSamples() && DecisionPreview::isPossible(guardian_) && age &&
                 *age < kStillSamplesWithin);
}

void AppModel::onSignalReading(const SignalReadings& readings) {
    const GuardChange change(*this);
    if (!guardian_.isLive()) {
        return; // head data was lost meanwhile
    }
    if (stillTick_ && !ignoreInput_) {
        // The last reading of keyboard and mouse may be most of a second old;
        // whether the user is at the desk is judged with a fresh one.
        guardian_.inputActivity(ports_.input.secondsSinceLastEvent(), uptime());
    }
    SignalReadings adjusted;
    for (const auto& [device, dbm] : readings) {
        adjusted.emplace(device, dbm - injectedSignalDrop_);
    }
    lastSignal_ = adjusted;
    const bool wasAway = guardian_.isAway();
    if (!adjusted.empty()) {
        guardian_.proximity(adjusted, uptime());
    }
    if (!wasAway && guardian_.isAway()) {
        write("left: signal " + fixed(guardian_.signalDrop().value_or(0.0), 0) +
              " dB weaker than at the desk");
    }
    refreshStatus();
}

void AppModel::signalLost() {
    const GuardChange change(*this);
    guardian_.signalLost(uptime());
    publishLiveAngle(0.0);
    refreshStatus();
    if (!guardian_.isFrosted()) {
        stopTick();
    }
}

} // namespace quelmo
