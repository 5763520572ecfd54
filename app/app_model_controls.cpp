// SPDX-License-Identifier: MIT
// The app model's controls: pause and resume, and the motion-permission
// request.
#include "app/app_model.h"

#include <chrono>

namespace quelmo {

namespace {
constexpr double kPermissionPoll = 0.5;
constexpr int kPermissionPollLimit = 240;
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
    ports_.tracker.start();
    write("motion access requested");
    refreshStatus();

    // Drop the handles of polls that have ended; each request polls on its own.
    std::erase_if(permissionPolls_, [](const TimerHandle& t) { return !t || !t->isActive(); });
    std::weak_ptr<AppModel*> weak = self_;
    auto polls = std::make_shared<int>(0);
    auto timer = std::make_shared<Timer*>(nullptr);
    permissionPolls_.push_back(
        ports_.scheduler.scheduleRepeating(kPermissionPoll, 0.0, [weak, polls, timer] {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            AppModel& model = **self;
            *polls += 1;
            const auto status = model.ports_.tracker.platformAuthorizationStatus();
            const Authorization mapped = HeadTrackerPort::mapAuthorization(status);
            if (mapped != model.authorization_) {
                model.publishAuthorization(mapped);
            }
            if (HeadTrackerPort::isDecided(status) || *polls > kPermissionPollLimit) {
                (*timer)->cancel();
                model.evaluate();
            }
        }));
    *timer = permissionPolls_.back().get();
}

void AppModel::openPrivacySettings() {
    ports_.privacySettings.openPrivacySettings();
}

void AppModel::previewFrost() {
    ports_.overlay.preview(kPreviewSeconds);
}

} // namespace quelmo
