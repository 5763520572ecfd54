// SPDX-License-Identifier: MIT
#pragma once

#include "app/head_tracker_port.h"
#include "platform/motion/motion_access.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quelmo {

class MotionService;
struct DeviceMotion;

// The application's only source of head motion. Reduces every sample of the
// motion service to a heading (degrees, positive to the left) and a vertical
// acceleration (g, upward positive) with its arrival time, reports connects and
// disconnects, and reports motion errors as text. Every callback runs on the
// main thread.
// It is the app model's head tracker port.
class HeadTracker final : public HeadTrackerPort {
  public:
    // A tracker over the user's motion service: the sources and the consent
    // record from the environment, and `prompter` (Quelmo's own permission
    // prompt, which the interface provides) to ask the user.
    explicit HeadTracker(MotionAccessPrompter prompter);
    explicit HeadTracker(std::unique_ptr<MotionService> manager);
    ~HeadTracker() override;
    HeadTracker(const HeadTracker&) = delete;
    HeadTracker& operator=(const HeadTracker&) = delete;

    void observe(HeadTrackerHandlers handlers) override { handlers_ = std::move(handlers); }
    // Begins receiving samples if motion is available. Idempotent.
    void start() override;
    // Stops receiving samples; samples already queued are dropped.
    void stop() override;
    bool isRunning() const override { return isRunning_; }
    bool isDeviceMotionAvailable() const override;
    void holdQuietSamples(const std::optional<DecisionPreview>& preview) override;
    void takeHeldSamples() override;
    MotionAccess motionAccess() const override;

    MotionService& manager() { return *manager_; }

  private:
    void handle(const DeviceMotion* sample, double at, const std::string* error);

    std::unique_ptr<MotionService> manager_;
    HeadTrackerHandlers handlers_;
    bool isRunning_ = false;
};

} // namespace quelmo
