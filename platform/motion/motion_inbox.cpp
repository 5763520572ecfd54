// SPDX-License-Identifier: MIT
#include "platform/motion/motion_inbox.h"

#include "platform/scheduler/qt_scheduler.h"

namespace quelmo {

MotionInbox::MotionInbox(std::function<void()> wake) : wake_(std::move(wake)) {
    waiting_.reserve(kCapacity);
}

bool MotionInbox::put(int source, const wire::Message& message) {
    return put(source, message, systemUptime());
}

bool MotionInbox::put(int source, const wire::Message& message, double at) {
    bool kept = false;
    bool wakeNow = false;
    {
        std::lock_guard lock(mutex_);
        bool quiet = false;
        if (waiting_.size() < kCapacity) {
            ArrivedMessage& m = waiting_.emplace_back();
            m.source = source;
            m.kind = message.kind;
            m.motion = message.motion;
            m.text.assign(message.kind == wire::Kind::error ? message.text : std::string_view());
            m.at = at;
            kept = true;
            quiet = hold_ && message.kind == wire::Kind::sample && source == holdSource_ &&
                    hold_->admits(headingDegrees(message.motion),
                                  verticalAcceleration(message.motion), at);
        }
        // Not quiet, or no room (what waits must go to make room): wake.
        if (!quiet) {
            hold_.reset();
            wakeNow = !wakePending_;
            wakePending_ = true;
        }
    }
    if (wakeNow) {
        wake_();
    }
    return kept;
}

void MotionInbox::setHold(const std::optional<DecisionPreview>& preview, int source) {
    std::lock_guard lock(mutex_);
    if (!preview || waiting_.empty()) {
        hold_ = preview;
        holdSource_ = source;
    }
}

void MotionInbox::take(std::vector<ArrivedMessage>& out) {
    out.clear();
    std::lock_guard lock(mutex_);
    // Swapping keeps both buffers' capacity: no allocation in steady state.
    out.swap(waiting_);
    if (waiting_.capacity() < kCapacity) {
        waiting_.reserve(kCapacity);
    }
    hold_.reset();
    wakePending_ = false;
}

bool MotionInbox::isHolding() const {
    std::lock_guard lock(mutex_);
    return hold_.has_value();
}

} // namespace quelmo
