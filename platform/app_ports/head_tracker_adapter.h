#pragma once

#include "app/head_tracker_port.h"
#include "platform/motion/head_tracker.h"

namespace quelmo {

// The app model's view of the head tracker: forwards the tracker's calls and
// callbacks, and reports the consent record in the platform's numbering
// (0 not determined, 1 restricted, 2 denied, 3 authorized).
class HeadTrackerAdapter final : public HeadTrackerPort {
  public:
    explicit HeadTrackerAdapter(HeadTracker& tracker);
    ~HeadTrackerAdapter() override;

    void start() override { tracker_.start(); }
    void stop() override { tracker_.stop(); }
    bool isRunning() const override { return tracker_.isRunning(); }
    bool isDeviceMotionAvailable() const override;
    int platformAuthorizationStatus() const override;

  private:
    HeadTracker& tracker_;
};

int platformStatusOf(MotionAccessStatus status);

} // namespace quelmo
