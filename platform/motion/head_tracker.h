#pragma once

#include <functional>
#include <memory>
#include <string>

namespace quelmo {

class MotionService;
struct DeviceMotion;
enum class MotionAccessStatus;

// The application's only source of head motion. Reduces every sample of the
// motion service to a heading (degrees, positive to the left) and a vertical
// acceleration (g, upward positive), reports connects and disconnects, and
// reports motion errors as text. Every callback runs on the main thread.
class HeadTracker {
  public:
    enum class Authorization { notDetermined, authorized, denied };

    // A tracker over the user's motion service: the sources and the consent
    // record from the environment, and Quelmo's own permission prompt.
    HeadTracker();
    explicit HeadTracker(std::unique_ptr<MotionService> manager);
    ~HeadTracker();
    HeadTracker(const HeadTracker&) = delete;
    HeadTracker& operator=(const HeadTracker&) = delete;

    // Begins receiving samples if motion is available. Idempotent.
    void start();
    // Stops receiving samples; samples already queued are dropped.
    void stop();
    bool isRunning() const { return isRunning_; }

    MotionService& manager() { return *manager_; }

    std::function<void(double heading, double vertical)> onMotion;
    std::function<void(bool connected)> onConnectionChange;
    std::function<void(std::string text)> onError;
    // The name of the source that now feeds head motion, for the user.
    std::function<void(std::string name)> onSourceChange;

    // The user's answer, read afresh from the consent record each time.
    static Authorization currentAuthorization();
    // authorized -> authorized; denied and restricted -> denied; else notDetermined.
    static Authorization authorizationFor(MotionAccessStatus status);

  private:
    void handle(const DeviceMotion* sample, const std::string* error);

    std::unique_ptr<MotionService> manager_;
    bool isRunning_ = false;
};

const char* authorizationName(HeadTracker::Authorization authorization);

} // namespace quelmo
