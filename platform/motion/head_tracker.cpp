// SPDX-License-Identifier: MIT
#include "platform/motion/head_tracker.h"

#include "platform/motion/motion_service.h"

namespace quelmo {

namespace {

MotionServiceOptions userOptions(MotionAccessPrompter prompter) {
    MotionServiceOptions options;
    options.prompter = std::move(prompter);
    return options;
}

} // namespace

HeadTracker::HeadTracker(MotionAccessPrompter prompter)
    : HeadTracker(std::make_unique<MotionService>(userOptions(std::move(prompter)))) {}

HeadTracker::HeadTracker(std::unique_ptr<MotionService> manager) : manager_(std::move(manager)) {
    // Connection changes always reach the callback through the event loop,
    // after whatever was already queued, as the callback's owner expects.
    manager_->onConnectionChange = [this](bool connected) {
        manager_->postToMain([this, connected] {
            if (handlers_.connectionChange)
                handlers_.connectionChange(connected);
        });
    };
    manager_->onBatchDelivered = [this] {
        if (isRunning_ && handlers_.samplesDelivered)
            handlers_.samplesDelivered();
    };
    // Straight through, so the name is known before the source's first sample.
    manager_->onSourceChange = [this](const std::string& name) {
        if (handlers_.sourceChange)
            handlers_.sourceChange(name);
    };
    manager_->onMeasuresSteps = [this](bool measured) {
        if (handlers_.stepsMeasured)
            handlers_.stepsMeasured(measured);
    };
    manager_->onAccessAnswered = [this] {
        if (handlers_.accessAnswered)
            handlers_.accessAnswered();
    };
    manager_->onProblem = [this](MotionProblem problem, const std::string& device,
                                 const std::string& fix) {
        if (handlers_.problem)
            handlers_.problem(problem, device, fix);
    };
}

HeadTracker::~HeadTracker() = default;

void HeadTracker::start() {
    if (isRunning_)
        return;
    if (!manager_->isDeviceMotionAvailable())
        return;
    isRunning_ = true;
    manager_->startDeviceMotionUpdates(
        [this](const DeviceMotion* sample, double at, const std::string* error) {
            handle(sample, at, error);
        });
}

void HeadTracker::stop() {
    if (!isRunning_)
        return;
    isRunning_ = false;
    manager_->holdQuietSamples(std::nullopt);
    manager_->stopDeviceMotionUpdates();
}

void HeadTracker::holdQuietSamples(const std::optional<DecisionPreview>& preview) {
    // Passed on as it is: a preview carries a copy of the guard, not worth
    // copying once more on the way.
    if (isRunning_)
        manager_->holdQuietSamples(preview);
    else
        manager_->holdQuietSamples(std::nullopt);
}

void HeadTracker::takeHeldSamples() {
    manager_->takeHeld();
}

void HeadTracker::handle(const DeviceMotion* sample, double at, const std::string* error) {
    if (!isRunning_)
        return;
    if (error != nullptr) {
        if (handlers_.error)
            handlers_.error(*error);
        return;
    }
    if (sample == nullptr || !handlers_.motion)
        return;
    handlers_.motion(headingDegrees(*sample), verticalAcceleration(*sample), at);
}

bool HeadTracker::isDeviceMotionAvailable() const {
    return manager_->isDeviceMotionAvailable();
}

MotionAccess HeadTracker::motionAccess() const {
    return manager_->authorizationStatus();
}

} // namespace quelmo
