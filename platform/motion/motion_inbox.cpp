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
            quiet = band_ && message.kind == wire::Kind::sample &&
                    band_->admits(headingDegrees(message.motion),
                                  verticalAcceleration(message.motion), at);
        }
        // Not quiet, or no room (what waits must go to make room): wake.
        if (!quiet) {
            band_.reset();
            wakeNow = !wakePending_;
            wakePending_ = true;
        }
    }
    if (wakeNow) {
        wake_();
    }
    return kept;
}

void MotionInbox::setBand(const std::optional<QuietBand>& band) {
    std::lock_guard lock(mutex_);
    if (!band || waiting_.empty()) {
        band_ = band;
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
    band_.reset();
    wakePending_ = false;
}

bool MotionInbox::hasBand() const {
    std::lock_guard lock(mutex_);
    return band_.has_value();
}

} // namespace quelmo
