// SPDX-License-Identifier: MIT
// The app model's controls: stopping, recentering, pause and resume, and the
// motion permission: its request (the answer comes back through the tracker's
// accessAnswered) and its settings window.
#include "app/app_model.h"

#include <chrono>

namespace quelmo {

namespace {
constexpr double kPreviewSeconds = 2.0;
} // namespace

void AppModel::hardStop() {
    const GuardChange change(pacing_);
    pacing_.stopTick();
    guardian_.stop();
    ports_.overlay.setFrost(false, false);
    ports_.watchdog.setFrosted(false);
    publishLiveAngle(0.0);
}

void AppModel::recenterManually() {
    const GuardChange change(pacing_);
    write("manual recenter");
    guardian_.recenter();
    refreshStatus();
}

void AppModel::pause(double seconds) {
    const auto span = std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::duration<double>(seconds));
    pausedUntil_ = ports_.scheduler.now() + span;
    pauseTimer_ =
        ports_.scheduler.scheduleOnce(seconds, whileAlive([](AppModel& m) { m.resume(); }));
    evaluate();
}

void AppModel::resume() {
    pausedUntil_.reset();
    pauseTimer_.reset();
    evaluate();
}

void AppModel::requestMotionAccess() {
    // Starting the tracker while the user has not decided shows the prompt.
    ports_.tracker.start();
    write("motion access requested");
    refreshStatus();
}

void AppModel::openPrivacySettings() {
    // While head tracking runs the motion service reads the record again
    // itself (and reports a refusal as an error); stopped, nothing else would
    // notice that motion was allowed.
    ports_.privacySettings.openPrivacySettings(whileAlive([](AppModel& m) {
        if (!m.ports_.tracker.isRunning()) {
            m.evaluate();
        }
    }));
}

void AppModel::previewFrost() {
    ports_.overlay.preview(kPreviewSeconds);
}

} // namespace quelmo
