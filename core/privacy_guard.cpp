// SPDX-License-Identifier: MIT
#include "core/privacy_guard.h"

#include "core/time_step.h"
#include "core/usable_number.h"

#include <cmath>

namespace quelmo {

const char* statusName(PrivacyGuard::Status status) {
    switch (status) {
    case PrivacyGuard::Status::noSignal:
        return "noSignal";
    case PrivacyGuard::Status::calibrating:
        return "calibrating";
    case PrivacyGuard::Status::watching:
        return "watching";
    case PrivacyGuard::Status::frosted:
        return "frosted";
    case PrivacyGuard::Status::away:
        return "away";
    }
    return "noSignal";
}

void PrivacyGuard::sync() {
    bool wanted = false;
    if (isAway_) {
        wanted = true;
    } else if (isLive_) {
        wanted = detector_.isTurnedAway();
    }
    if (wanted == isFrosted_) {
        return;
    }
    isFrosted_ = wanted;
    if (onFrostChange) {
        onFrostChange(wanted);
    }
}

// No input event at all never counts as infinitely old: it counts as old.
bool PrivacyGuard::lastInputOlderThanVeto(double t) const {
    return !lastInputEventAt_ || t - *lastInputEventAt_ > away.inputVeto;
}

PrivacyGuard::Status PrivacyGuard::status(double at) const {
    if (isAway_) {
        return Status::away;
    }
    if (!isLive_) {
        return Status::noSignal;
    }
    if (isFrosted_) {
        return Status::frosted;
    }
    if (detector_.isWarmingUp(at)) {
        return Status::calibrating;
    }
    return Status::watching;
}

PrivacyGuard::Decisions PrivacyGuard::decisions(double at) const {
    return {isLive_,
            isFrosted_,
            isAway_,
            detector_.isTurnedAway(),
            walker_.isWalking(),
            status(at),
            walker_.stepsInRhythm(),
            walker_.softSteps(),
            detector_.jumpsCancelled()};
}

std::optional<double> PrivacyGuard::motionAge(double at) const {
    if (!lastMotionTime_) {
        return std::nullopt;
    }
    return at - *lastMotionTime_;
}

void PrivacyGuard::motion(double h, double v, double t) {
    if (!isUsable(h) || !isUsable(v) || !isUsable(t)) {
        return;
    }
    isLive_ = true;
    lastMotionTime_ = t;
    detector_.update(h, t);
    walker_.update(v, t);
    if (walker_.stepsInRhythm() > 1 || walker_.softSteps() > 2) {
        lastStepHintAt_ = t;
    }
    if (walker_.isWalking()) {
        lastWalkedAt_ = t;
        if (away.frostWhenWalkingAway && !isAway_ && lastInputOlderThanVeto(t)) {
            isAway_ = true;
            awayStartedAt_ = t;
        }
    }
    sync();
}

void PrivacyGuard::inputActivity(double idle, double t) {
    if (!isUsable(idle) || !isUsable(t)) {
        return;
    }
    double dt = 0.2;
    if (lastInputPoll_) {
        dt = sampleStep(t - *lastInputPoll_);
    }
    lastInputPoll_ = t;
    lastInputEventAt_ = t - idle;
    isWorking_ = idle <= input.workingWindow;

    if (isAway_) {
        // A keyboard or mouse event after the away state began ends it.
        if (awayStartedAt_ < *lastInputEventAt_) {
            isAway_ = false;
            walker_.reset();
            if (isLive_) {
                detector_.recenter();
            }
        }
        sync();
        return;
    }

    if (!input.enabled || !isLive_) {
        frostedWorkingSince_.reset();
        return;
    }

    if (!detector_.isTurnedAway()) {
        // Typing while facing the screen slowly pulls forward onto the heading.
        frostedWorkingSince_.reset();
        if (isWorking_ && std::fabs(detector_.angle()) <= input.recenterBand &&
            !detector_.isWarmingUp(t)) {
            detector_.nudgeForward(1.0 - std::exp(-dt / input.recenterTimeConstant));
        }
        sync();
        return;
    }

    // Turned away: working long enough under the frost overrides it; short pauses
    // in typing do not restart the run.
    if (isWorking_) {
        if (!frostedWorkingSince_) {
            frostedWorkingSince_ = t;
        }
        if (t - *frostedWorkingSince_ >= input.overrideAfter) {
            detector_.recenter();
            inputOverrides_ += 1;
            frostedWorkingSince_.reset();
        }
    } else if (idle > input.resetGap) {
        frostedWorkingSince_.reset();
    }
    sync();
}

void PrivacyGuard::signalLost(double t) {
    if (!isUsable(t)) {
        return;
    }
    const bool wasLive = isLive_;
    const bool wasTurnedAway = detector_.isTurnedAway();
    const bool recentlyWalked = lastWalkedAt_ && t - *lastWalkedAt_ <= away.walkMemory;
    const bool dropped = away.frostWhenFar && away.lostDrop <= latestDrop(t).value_or(0.0);

    isLive_ = false;
    lastMotionTime_.reset();
    frostedWorkingSince_.reset();
    detector_.reset();
    walker_.reset();

    if (wasLive && !isAway_) {
        bool becomesAway = false;
        if (wasTurnedAway) {
            becomesAway = true; // the frost that was on stays, now as an away frost
        } else if (lastInputOlderThanVeto(t)) {
            becomesAway =
                dropped || (recentlyWalked && away.frostWhenWalkingAway) || away.frostOnDisconnect;
        }
        if (becomesAway) {
            isAway_ = true;
            awayStartedAt_ = t;
        }
    }
    sync();
}

void PrivacyGuard::stop() {
    isLive_ = false;
    isAway_ = false;
    lastMotionTime_.reset();
    lastWalkedAt_.reset();
    lastStepHintAt_.reset();
    frostedWorkingSince_.reset();
    detector_.reset();
    walker_.reset();
    sync();
}

void PrivacyGuard::recenter() {
    isAway_ = false;
    detector_.recenter();
    walker_.reset();
    frostedWorkingSince_.reset();
    sync();
}

} // namespace quelmo
