// SPDX-License-Identifier: MIT
// The tick: while head tracking is live or the screen is frosted the app
// model checks that head data still comes, reads keyboard and mouse activity
// and asks for the Bluetooth signal now and then. The signal's answer and the
// loss of head data are handled here too. SamplePacing sets the tick's pace.
#include "app/app_model.h"

#include "core/number_text.h"

namespace quelmo {

namespace {

constexpr double kDataStoppedAfter = 1.5;
constexpr double kActiveIdle = 1.5;
constexpr double kPollWhileQuiet = 2.0;
constexpr double kPollWhileActive = 10.0;

} // namespace

void AppModel::startTick() {
    if (pacing_.startTick()) {
        ports_.watchdog.beat();
    }
}

void AppModel::runTick() {
    // Held samples first, so the guard sees them before the input reading.
    const GuardChange change(pacing_);
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
    const double idle = ports_.input.secondsSinceLastEvent();
    guardian_.inputActivity(idle, now);

    const bool quiet = ports_.input.secondsSinceLastEvent() > kActiveIdle;
    if (prefs_.frostWhenFar() && guardian_.isLive() &&
        now - lastSignalPoll_ >= (quiet ? kPollWhileQuiet : kPollWhileActive)) {
        lastSignalPoll_ = now;
        ports_.signal.read(
            whileAlive([](AppModel& m, const SignalReadings& r) { m.onSignalReading(r); }));
    }

    if (guardian_.inputOverrides() != overrides) {
        write("cleared by sustained input; forward re-zeroed");
    }
    if (wasAway && !guardian_.isAway()) {
        write("back at the Mac (keyboard or mouse used)");
    }
    refreshStatus();
    if (!guardian_.isLive() && !guardian_.isFrosted()) {
        pacing_.stopTick();
        return;
    }
    pacing_.settle(quiet, now);
}

void AppModel::onSignalReading(const SignalReadings& readings) {
    const GuardChange change(pacing_);
    if (!guardian_.isLive()) {
        return; // head data was lost meanwhile
    }
    if (pacing_.isStill()) {
        // The last reading of keyboard and mouse may be most of a second old;
        // whether the user is at the desk is judged with a fresh one.
        guardian_.inputActivity(ports_.input.secondsSinceLastEvent(), uptime());
    }
    lastSignal_ = readings;
    const bool wasAway = guardian_.isAway();
    if (!readings.empty()) {
        guardian_.proximity(readings, uptime());
    }
    if (!wasAway && guardian_.isAway()) {
        write("left: signal " + fixed(guardian_.signalDrop().value_or(0.0), 0) +
              " dB weaker than at the desk");
    }
    refreshStatus();
}

void AppModel::signalLost() {
    const GuardChange change(pacing_);
    guardian_.signalLost(uptime());
    publishLiveAngle(0.0);
    refreshStatus();
    if (!guardian_.isFrosted()) {
        pacing_.stopTick();
    }
}

} // namespace quelmo
