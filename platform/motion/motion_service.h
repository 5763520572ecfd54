#pragma once

#include "platform/motion/motion_access.h"
#include "platform/motion/motion_conversion.h"
#include "platform/motion/motion_paths.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QObject;
class QTimer;

namespace quelmo {

class NativeMotionSource;
class OpentrackSource;
namespace wire {
struct Message;
}

// Asks the user whether Quelmo may use head motion. It must not block: it
// calls answer later on the main thread with true (allow), false (don't
// allow) or nothing (closed without an answer).
using MotionAccessPrompter = std::function<void(std::function<void(std::optional<bool>)> answer)>;

struct MotionServiceOptions {
    MotionPaths paths = MotionPaths::fromEnvironment();
    // Quelmo.conf to read [Motion] opentrackPort from; absent: the user's
    // Quelmo settings. opentrackPort, when set, is used instead of either.
    std::optional<std::string> settingsFile;
    std::optional<int> opentrackPort;
    // Shown when updates start while the user has not decided; absent: no
    // prompt, the access stays undecided.
    MotionAccessPrompter prompter;
};

// The headphone motion service: owns the motion sources (the native socket
// and, when configured, opentrack), the consent record and the prompt, and
// hands samples and errors to one handler, all on the main thread.
//
// Samples reach the handler only while updates run and access is authorized.
// Connection changes reach onConnectionChange whether or not updates run.
class MotionService {
  public:
    using SampleHandler = std::function<void(const DeviceMotion* sample, const std::string* error)>;

    // The error text handed over when access is refused.
    static constexpr const char* kAccessRefusedText =
        "Quelmo is not allowed to use head motion. You can change this in Motion Access settings.";
    // How often the consent record is read again while updates run.
    static constexpr std::chrono::milliseconds kAccessPoll{1000};

    explicit MotionService(MotionServiceOptions options = {});
    ~MotionService();
    MotionService(const MotionService&) = delete;
    MotionService& operator=(const MotionService&) = delete;

    // At least one source is listening. A service with no listening source
    // tries again, at most every few seconds, when asked.
    bool isDeviceMotionAvailable();

    void startDeviceMotionUpdates(SampleHandler handler);
    void stopDeviceMotionUpdates();
    bool isDeviceMotionActive() const { return active_; }

    // Reads the consent record afresh.
    MotionAccessStatus authorizationStatus() const;

    // Called on the main thread for every connect (true) and disconnect (false).
    std::function<void(bool)> onConnectionChange;

    // Runs work on the main thread's event loop after everything already
    // queued there; dropped if this service is destroyed first.
    void postToMain(std::function<void()> work);

    const MotionPaths& paths() const { return paths_; }
    std::uint64_t droppedDatagrams() const;
    std::string sourceErrors() const;
    bool isPromptShowing() const { return promptShowing_; }

  private:
    void tryListen();
    void deliver(const wire::Message& message);
    void refreshAccess(bool atStart);
    void askForAccess();
    void postError(std::string text);

    MotionPaths paths_;
    MotionAccessPrompter prompter_;
    std::unique_ptr<QObject> context_;
    std::unique_ptr<QTimer> accessTimer_;
    std::unique_ptr<NativeMotionSource> native_;
    std::unique_ptr<OpentrackSource> opentrack_;
    std::shared_ptr<SampleHandler> handler_;
    std::chrono::steady_clock::time_point lastListenAttempt_;
    std::string reportedListenError_;
    bool active_ = false;
    bool authorized_ = false;
    bool refused_ = false;
    bool promptShowing_ = false;
    std::string promptError_;
};

} // namespace quelmo
