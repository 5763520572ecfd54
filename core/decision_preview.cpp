// SPDX-License-Identifier: MIT
#include "core/decision_preview.h"

namespace quelmo {

bool DecisionPreview::isPossible(const PrivacyGuard& guard) {
    return guard.isLive() && !guard.isAway() && !guard.isFrosted();
}

std::optional<DecisionPreview> DecisionPreview::of(const PrivacyGuard& guard, double until) {
    if (!isPossible(guard)) {
        return std::nullopt;
    }
    return DecisionPreview(guard, until);
}

DecisionPreview::DecisionPreview(const PrivacyGuard& guard, double until)
    : copy_(guard), until_(until) {
    // The copy may run on another thread: it must never call back into the
    // guard's owner.
    copy_.onFrostChange = nullptr;
}

bool DecisionPreview::admits(double heading, double vertical, double at) {
    if (spent_ || !(at < until_)) {
        spent_ = true;
        return false;
    }
    const PrivacyGuard::Decisions before = copy_.decisions(at);
    copy_.motion(heading, vertical, at);
    spent_ = !(copy_.decisions(at) == before);
    return !spent_;
}

} // namespace quelmo
