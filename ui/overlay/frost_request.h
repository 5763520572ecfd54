// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>

#include <functional>

namespace quelmo {

// What the app asks of a frost, whichever way the frost is drawn: on or off,
// the wording (turned away or stepped away), the strength of the tint, and a
// preview that shows the frost for a while. Bad numbers are tamed here, once
// for every overlay.
class FrostRequest {
  public:
    // The longest preview honoured, so the timer's millisecond count cannot overflow.
    static constexpr double kLongestPreview = 24 * 3600.0;

    // `previewEnded` runs when a preview's period is over.
    explicit FrostRequest(std::function<void()> previewEnded);

    // Records the wish. Returns true when the wording changed: only a frost
    // being turned on changes it, so a frost fading out keeps its words.
    bool setFrost(bool frosted, bool away);
    // Shows the frost for `seconds` from now (a running preview starts over);
    // a negative or non-finite period is none, a longer one than
    // kLongestPreview is cut to it.
    void preview(double seconds);
    // Takes a strength between 0 and 1 (outside is clamped; not finite is
    // ignored). Returns true when it changed.
    bool setStrength(double strength);

    bool isFrostRequested() const { return frosted_; }
    bool isPreviewRunning() const { return previewTimer_.isActive(); }
    // The frost should be on screen: asked for, or a preview runs.
    bool wantsFrost() const { return frosted_ || isPreviewRunning(); }
    bool saysAway() const { return away_; }
    double strength() const { return strength_; }

  private:
    // Running exactly while a preview is; its timeout ends the preview.
    QTimer previewTimer_;
    bool frosted_ = false;
    bool away_ = false;
    double strength_ = 0.6;
};

} // namespace quelmo
