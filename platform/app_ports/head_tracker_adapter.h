#pragma once

#include "app/head_tracker_port.h"
#include "platform/motion/head_tracker.h"

namespace quelmo {

// The app model's view of the head tracker: forwards the tracker's calls and
// callbacks, and reports the consent record.
class HeadTrackerAdapter final : public HeadTrackerPort {
  public:
    explicit HeadTrackerAdapter(HeadTracker& tracker);
    ~HeadTrackerAdapter() override;

    void observe(HeadTrackerHandlers handlers) override { handlers_ = std::move(handlers); }
    void start() override { tracker_.start(); }
    void stop() override { tracker_.stop(); }
    bool isRunning() const override { return tracker_.isRunning(); }
    bool isDeviceMotionAvailable() const override;
    PlatformAuthorization platformAuthorizationStatus() const override;

  private:
    HeadTracker& tracker_;
    HeadTrackerHandlers handlers_;
};

HeadTrackerPort::PlatformAuthorization platformStatusOf(MotionAccessStatus status);

} // namespace quelmo
