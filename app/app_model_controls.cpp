// SPDX-License-Identifier: MIT
// The app model's controls: pause and resume, and the motion permission:
// its request (the answer comes back through the tracker's accessAnswered)
// and its settings window.
#include "app/app_model.h"

#include <chrono>

namespace quelmo {

namespace {
constexpr double kPreviewSeconds = 2.0;
} // namespace

void AppModel::pause(double seconds) {
    const auto span = std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::duration<double>(seconds));
    pausedUntil_ = ports_.scheduler.now() + span;
    std::weak_ptr<AppModel*> weak = self_;
    pauseTimer_ = ports_.scheduler.scheduleOnce(seconds, [weak] {
        if (auto self = weak.lock()) {
            (*self)->resume();
        }
    });
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
    std::weak_ptr<AppModel*> weak = self_;
    ports_.privacySettings.openPrivacySettings([weak] {
        auto self = weak.lock();
        // While head tracking runs the motion service reads the record again
        // itself (and reports a refusal as an error); stopped, nothing else
        // would notice that motion was allowed.
        if (self && !(*self)->ports_.tracker.isRunning()) {
            (*self)->evaluate();
        }
    });
}

void AppModel::previewFrost() {
    ports_.overlay.preview(kPreviewSeconds);
}

} // namespace quelmo
