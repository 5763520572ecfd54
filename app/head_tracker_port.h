// SPDX-License-Identifier: MIT
#pragma once

#include "app/motion_access_state.h"
#include "app/motion_problem.h"
#include "core/decision_preview.h"

#include <functional>
#include <optional>
#include <string>

namespace quelmo {

// The head tracker's callbacks; an empty one is not called.
struct HeadTrackerHandlers {
    // A sample and the time it arrived (seconds on the scheduler's uptime
    // clock): a held sample comes later than that, with its own time.
    std::function<void(double heading, double vertical, double at)> motion;
    // After the samples of one arrival have reached `motion` (not after
    // takeHeldSamples): the time to publish a new preview.
    std::function<void()> samplesDelivered;
    std::function<void(bool connected)> connectionChange;
    std::function<void(const std::string& text)> error;
    // The source now feeding head motion, named for the user; called before
    // its first sample.
    std::function<void(const std::string& name)> sourceChange;
    // Why head motion does or does not come (MotionProblem::none once it
    // does), with the headphones' name when known and what the user can do
    // about it (a command), if anything.
    std::function<void(MotionProblem problem, const std::string& device, const std::string& fix)>
        problem;
    // Right after sourceChange: whether that source measures acceleration,
    // so that steps can be felt at all.
    std::function<void(bool measured)> stepsMeasured;
    // The user answered the permission prompt, or closed it without an
    // answer (the access then stays undecided): the access is worth reading
    // again.
    std::function<void()> accessAnswered;
};

// What the app model needs of head motion: the tracker that turns headphone
// motion into headings, and the motion service behind it.
class HeadTrackerPort {
  public:
    virtual ~HeadTrackerPort() = default;

    // Replaces the callbacks; observe({}) stops them. They run on the main
    // thread.
    virtual void observe(HeadTrackerHandlers handlers) = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // Samples the preview admits (see DecisionPreview) may be held back from
    // now on instead of waking the main thread; std::nullopt holds none. The
    // first sample it refuses is handed over at once, with everything held
    // before it, and ends the holding.
    virtual void holdQuietSamples(const std::optional<DecisionPreview>& preview) = 0;
    // Hands every held sample to `motion` now, in order, and holds no more
    // until holdQuietSamples is called again.
    virtual void takeHeldSamples() = 0;
    // Whether motion can work at all on this computer.
    virtual bool isDeviceMotionAvailable() const = 0;
    // The user's motion permission, read afresh each time.
    virtual MotionAccess motionAccess() const = 0;
};

} // namespace quelmo
