// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_request.h"

#include <algorithm>
#include <cmath>

namespace quelmo {

FrostRequest::FrostRequest(std::function<void()> previewEnded) {
    previewTimer_.setSingleShot(true);
    // Coarse timers may fire a little early; a preview lasts at least its period.
    previewTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&previewTimer_, &QTimer::timeout, &previewTimer_, std::move(previewEnded));
}

bool FrostRequest::setFrost(bool frosted, bool away) {
    frosted_ = frosted;
    if (!frosted || away == away_) {
        return false;
    }
    away_ = away;
    return true;
}

void FrostRequest::preview(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) {
        seconds = 0;
    }
    seconds = std::min(seconds, kLongestPreview);
    previewTimer_.stop();
    previewTimer_.setInterval(static_cast<int>(std::lround(seconds * 1000)));
    previewTimer_.start();
}

bool FrostRequest::setStrength(double strength) {
    if (!std::isfinite(strength)) {
        return false;
    }
    strength = std::clamp(strength, 0.0, 1.0);
    if (strength == strength_) {
        return false;
    }
    strength_ = strength;
    return true;
}

} // namespace quelmo
