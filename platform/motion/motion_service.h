// SPDX-License-Identifier: MIT
#pragma once

#include "app/motion_problem.h"
#include "core/decision_preview.h"
#include "platform/motion/motion_access.h"
#include "platform/motion/motion_conversion.h"
#include "platform/motion/motion_inbox.h"
#include "platform/motion/motion_paths.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QObject;
class QTimer;

namespace quelmo {

class EarbudsDiscovery;
class EarbudsSource;
class HidTrackerSource;
class NativeMotionSource;
class OpentrackSource;
namespace wire {
struct Message;
}

struct MotionServiceOptions {
    MotionPaths paths = MotionPaths::fromEnvironment();
    // Quelmo.conf to read [Motion] opentrackPort from; absent: the user's
    // Quelmo settings. opentrackPort, when set, is used instead of either.
    std::optional<std::string> settingsFile;
    std::optional<int> opentrackPort;
    // The earbuds' test door: a Unix socket speaking the earbuds' frames,
    // used instead of Bluetooth. Absent: $QUELMO_EARBUDS_SOCKET, if set.
    std::optional<std::string> earbudsSocket;
    // Earbuds over Bluetooth, found through BlueZ on the system bus (or by
    // earbudsDiscovery when given).
    bool bluetoothEarbuds = true;
    std::function<std::unique_ptr<EarbudsDiscovery>()> earbudsDiscovery;
    // Head trackers on the open HID standard, found in sysfs. The test door:
    // a Unix socket speaking the tracker's four operations (see
    // hid::Transport), used instead; absent: $QUELMO_HID_TRACKER, if set.
    bool hidTrackers = true;
    std::optional<std::string> hidTrackerSocket;
    // Shown when updates start while the user has not decided; absent: no
    // prompt, the access stays undecided.
    MotionAccessPrompter prompter;
};

// The headphone motion service: owns the motion sources (the native socket,
// earbuds and, when configured, opentrack), the consent record and the
// prompt, and hands samples and errors to one handler, all on the main thread.
// The native socket and opentrack are read on receiving threads; what they
// receive waits in an inbox until the main thread is woken for it, except
// samples the published preview admits (holdQuietSamples), which wait until the main
// thread takes them (takeHeld) or something else arrives. Every sample keeps
// the time it arrived, on the scheduler's uptime clock.
//
// Samples reach the handler only while updates run and access is authorized.
// Connection changes reach onConnectionChange whether or not updates run.
// When several sources send, the first to send a sample keeps the stream
// until it has been quiet for kSourceQuiet or reports a disconnect; the
// others are ignored meanwhile. The earbuds' channel is open only while
// updates run.
class MotionService {
  public:
    // A sample with the time it arrived, or an error (sample null, at 0).
    using SampleHandler =
        std::function<void(const DeviceMotion* sample, double at, const std::string* error)>;

    // The error text handed over when access is refused.
    static constexpr const char* kAccessRefusedText =
        "Quelmo is not allowed to use head motion. You can change this in Motion Access settings.";
    // How often the consent record is read again while updates run.
    static constexpr std::chrono::milliseconds kAccessPoll{1000};
    static constexpr std::chrono::milliseconds kSourceQuiet{1500};
    enum class Source { native, opentrack, earbuds, hidTracker };

    explicit MotionService(MotionServiceOptions options = {});
    ~MotionService();
    MotionService(const MotionService&) = delete;
    MotionService& operator=(const MotionService&) = delete;

    // At least one source is listening. A service with no listening source
    // tries again, at most every few seconds, when asked.
    bool isDeviceMotionAvailable();

    void startDeviceMotionUpdates(SampleHandler handler);
    void stopDeviceMotionUpdates();

    // Reads the consent record afresh.
    MotionAccess authorizationStatus() const;

    // Called on the main thread for every connect (true) and disconnect (false).
    std::function<void(bool)> onConnectionChange;
    // Called on the main thread with the source's name for the user ("the
    // motion socket", "opentrack", "AirPods Pro 2 (Bluetooth)") when a
    // source takes the stream, before its first sample is handed over.
    std::function<void(const std::string&)> onSourceChange;
    // Right after onSourceChange: whether the new source measures
    // acceleration, so steps can be felt (a HID head tracker does not).
    std::function<void(bool)> onMeasuresSteps;
    // Called on the main thread when the earbuds can tell why head motion
    // does or does not come from them.
    std::function<void(MotionProblem, const std::string& device, const std::string& fix)> onProblem;

    // Called on the main thread after the messages of one wake-up have been
    // handed over (not after takeHeld).
    std::function<void()> onBatchDelivered;
    // Called on the main thread once the prompt has been answered (and the
    // answer recorded) or closed without an answer, after the error a
    // refusal reports.
    std::function<void()> onAccessAnswered;

    // Samples of the source that has the stream which `preview` admits may
    // be held from now on (std::nullopt: none). A preview is ignored while
    // messages wait to be handed over: it was made before they were seen.
    void holdQuietSamples(const std::optional<DecisionPreview>& preview);
    // Hands over every message waiting, held samples included, in order, now.
    // No sample is held again until holdQuietSamples is called again.
    void takeHeld();

    // Runs work on the main thread's event loop after everything already
    // queued there; dropped if this service is destroyed first.
    void postToMain(std::function<void()> work);

    const MotionPaths& paths() const { return paths_; }
    std::uint64_t droppedDatagrams() const;
    std::string sourceErrors() const;

  private:
    void tryListen();
    void wakeUp();
    void deliverWaiting();
    void deliver(Source source, const wire::Message& message, double at);
    bool admit(Source source, const wire::Message& message, double at);
    std::string nameOf(Source source) const;
    void refreshAccess(bool atStart);
    void askForAccess();
    void postError(std::string text);

    MotionPaths paths_;
    MotionAccessPrompter prompter_;
    std::unique_ptr<QObject> context_;
    std::unique_ptr<QTimer> accessTimer_;
    // Before the sources: their receiving threads put into it until they end.
    std::unique_ptr<MotionInbox> inbox_;
    std::vector<ArrivedMessage> taken_;
    std::unique_ptr<NativeMotionSource> native_;
    std::unique_ptr<OpentrackSource> opentrack_;
    std::unique_ptr<EarbudsSource> earbuds_;
    std::unique_ptr<HidTrackerSource> hidTracker_;
    std::optional<Source> owner_;
    double ownerLastSample_ = 0.0; // arrival time, s
    std::string announced_;
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
