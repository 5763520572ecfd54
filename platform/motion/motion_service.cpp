// SPDX-License-Identifier: MIT
#include "platform/motion/motion_service.h"

#include "platform/motion/bluez_discovery.h"
#include "platform/motion/earbuds_source.h"
#include "platform/motion/hid_tracker_source.h"
#include "platform/motion/native_motion_source.h"
#include "platform/motion/opentrack_source.h"
#include "platform/scheduler/qt_scheduler.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace quelmo {

namespace {
constexpr std::chrono::seconds kListenRetry{3};

std::unique_ptr<EarbudsSource> makeEarbuds(MotionServiceOptions& options) {
    std::optional<std::string> door = options.earbudsSocket;
    if (!door) {
        const char* path = std::getenv("QUELMO_EARBUDS_SOCKET");
        if (path != nullptr && *path != '\0')
            door = path;
    }
    std::unique_ptr<EarbudsSource> source;
    if (door)
        source = std::make_unique<EarbudsSource>(
            EarbudsTarget{"earbuds on the test socket", *door, true});
    else if (!options.bluetoothEarbuds)
        return nullptr;
    else if (options.earbudsDiscovery)
        source = std::make_unique<EarbudsSource>(options.earbudsDiscovery());
    else
        source = std::make_unique<EarbudsSource>(std::make_unique<BluezDiscovery>());
    return source;
}

std::unique_ptr<HidTrackerSource> makeHidTracker(const MotionServiceOptions& options) {
    std::optional<std::string> door = options.hidTrackerSocket;
    if (!door) {
        const char* path = std::getenv("QUELMO_HID_TRACKER");
        if (path != nullptr && *path != '\0')
            door = path;
    }
    if (!door && !options.hidTrackers)
        return nullptr;
    return std::make_unique<HidTrackerSource>(door);
}

MotionProblem problemOf(EarbudsCondition condition) {
    switch (condition) {
    case EarbudsCondition::noBluetooth:
        return MotionProblem::noBluetooth;
    case EarbudsCondition::notConnected:
        return MotionProblem::notConnected;
    case EarbudsCondition::notSharing:
        return MotionProblem::notSharing;
    case EarbudsCondition::inCase:
        return MotionProblem::inCase;
    case EarbudsCondition::unknown:
    case EarbudsCondition::live:
        break;
    }
    return MotionProblem::none;
}
} // namespace

MotionService::MotionService(MotionServiceOptions options)
    : paths_(std::move(options.paths)), prompter_(std::move(options.prompter)),
      context_(std::make_unique<QObject>()), accessTimer_(std::make_unique<QTimer>()),
      inbox_(std::make_unique<MotionInbox>([this] { wakeUp(); })),
      native_(std::make_unique<NativeMotionSource>(paths_)) {
    taken_.reserve(MotionInbox::kCapacity);
    const int port = options.opentrackPort ? *options.opentrackPort
                                           : configuredOpentrackPort(options.settingsFile);
    if (port > 0)
        opentrack_ = std::make_unique<OpentrackSource>(port);
    earbuds_ = makeEarbuds(options);
    if (earbuds_)
        earbuds_->setMemoryPath(paths_.earbudsMemoryPath());
    // Receiving threads: into the inbox.
    native_->onMessage = [this](const wire::Message& m) {
        return inbox_->put(static_cast<int>(Source::native), m);
    };
    if (opentrack_)
        opentrack_->onMessage = [this](const wire::Message& m) {
            return inbox_->put(static_cast<int>(Source::opentrack), m);
        };
    if (earbuds_)
        earbuds_->onThreadSample = [this](const wire::Message& m, double at) {
            return inbox_->put(static_cast<int>(Source::earbuds), m, at);
        };
    // What the earbuds' source hands over on the main thread comes after
    // whatever waits in the inbox, so every message is handed over in the
    // order it arrived.
    if (earbuds_)
        earbuds_->onMessage = [this](const wire::Message& m, double at) {
            deliverWaiting();
            deliver(Source::earbuds, m, at);
            if (onBatchDelivered)
                onBatchDelivered();
        };
    hidTracker_ = makeHidTracker(options);
    if (hidTracker_) {
        hidTracker_->onThreadSample = [this](const wire::Message& m, double at) {
            return inbox_->put(static_cast<int>(Source::hidTracker), m, at);
        };
        hidTracker_->onMessage = [this](const wire::Message& m, double at) {
            deliverWaiting();
            deliver(Source::hidTracker, m, at);
        };
        hidTracker_->onUnreadable = [this] {
            if (onProblem) {
                const bool unreadable = !hidTracker_->unreadableNode().empty();
                onProblem(unreadable ? MotionProblem::trackerUnreadable : MotionProblem::none,
                          hidTracker_->name(), unreadable ? trackerPermissionCommand() : "");
            }
        };
    }
    if (earbuds_)
        earbuds_->onCondition = [this](EarbudsCondition condition) {
            if (onProblem)
                onProblem(problemOf(condition), earbuds_->name(), {});
        };
    accessTimer_->setInterval(kAccessPoll);
    QObject::connect(accessTimer_.get(), &QTimer::timeout, context_.get(),
                     [this] { refreshAccess(false); });
    tryListen();
}

MotionService::~MotionService() {
    // The earbuds hear the stop frame; nothing reaches this half-destroyed service.
    if (earbuds_) {
        earbuds_->onMessage = nullptr;
        earbuds_->onCondition = nullptr;
        earbuds_->stop();
    }
    // The tracker is switched off; its reading thread ends before the inbox.
    if (hidTracker_) {
        hidTracker_->onMessage = nullptr;
        hidTracker_.reset();
    }
    // The receiving threads end before the inbox they put into.
    native_.reset();
    opentrack_.reset();
}

void MotionService::wakeUp() {
    // Called on a receiving thread; the context lives on the main thread,
    // and a call queued to it is dropped if the service is gone by then.
    QMetaObject::invokeMethod(
        context_.get(),
        [this] {
            deliverWaiting();
            if (onBatchDelivered)
                onBatchDelivered();
        },
        Qt::QueuedConnection);
}

void MotionService::deliverWaiting() {
    // The batch is taken out of the member so that a handler that takes
    // again (from inside a callback) gets the rest, not this batch.
    std::vector<ArrivedMessage> batch;
    batch.swap(taken_);
    inbox_->take(batch);
    for (const ArrivedMessage& arrived : batch) {
        wire::Message message;
        message.kind = arrived.kind;
        message.motion = arrived.motion;
        message.text = arrived.text;
        deliver(static_cast<Source>(arrived.source), message, arrived.at);
    }
    batch.clear();
    if (batch.capacity() > taken_.capacity())
        taken_.swap(batch); // keep the larger buffer: no allocation next time
}

void MotionService::holdQuietSamples(const std::optional<DecisionPreview>& preview) {
    // Only the owner's samples reach the guard; another source's would be
    // dropped there, so the preview must not see them either.
    if (owner_)
        inbox_->setHold(preview, static_cast<int>(*owner_));
    else
        inbox_->setHold(std::nullopt, -1);
}

void MotionService::takeHeld() {
    deliverWaiting();
}

void MotionService::tryListen() {
    lastListenAttempt_ = std::chrono::steady_clock::now();
    native_->listen();
    if (opentrack_)
        opentrack_->listen();
    // Without a source the app only says head tracking is not available;
    // the reason (a runtime folder that cannot be made or is another
    // user's, a port in use) goes to standard error, once per reason.
    std::string reason = native_->isListening() ? std::string() : native_->error();
    if (opentrack_ && !opentrack_->isListening())
        reason += (reason.empty() ? "" : "; ") + opentrack_->error();
    if (!reason.empty() && reason != reportedListenError_)
        std::fprintf(stderr, "quelmo: head motion cannot be received: %s\n", reason.c_str());
    reportedListenError_ = reason;
}

bool MotionService::isDeviceMotionAvailable() {
    const auto listening = [this] {
        return native_->isListening() || (opentrack_ && opentrack_->isListening());
    };
    if (!listening() && std::chrono::steady_clock::now() - lastListenAttempt_ >= kListenRetry) {
        tryListen();
    }
    return listening();
}

void MotionService::startDeviceMotionUpdates(SampleHandler handler) {
    handler_ = std::make_shared<SampleHandler>(std::move(handler));
    active_ = true;
    accessTimer_->start();
    refreshAccess(true);
    if (earbuds_)
        earbuds_->start();
    if (hidTracker_)
        hidTracker_->start();
}

void MotionService::stopDeviceMotionUpdates() {
    // The handler is kept: this may be called from inside it.
    active_ = false;
    accessTimer_->stop();
    if (earbuds_)
        earbuds_->stop();
    if (hidTracker_)
        hidTracker_->stop();
}

MotionAccess MotionService::authorizationStatus() const {
    return readMotionAccess(paths_.accessRecordPath());
}

void MotionService::refreshAccess(bool atStart) {
    const MotionAccess status = authorizationStatus();
    authorized_ = status == MotionAccess::authorized;
    const bool refused = status == MotionAccess::denied;
    // Report a refusal once when updates start refused, and once each time
    // access is withdrawn while they run.
    if (active_ && refused && (atStart || !refused_))
        postError(kAccessRefusedText);
    refused_ = refused;
    if (active_ && atStart && status == MotionAccess::notDetermined)
        askForAccess();
}

void MotionService::askForAccess() {
    if (promptShowing_ || !prompter_)
        return;
    promptShowing_ = true;
    QPointer<QObject> alive(context_.get());
    prompter_([this, alive](std::optional<bool> allowed) {
        if (!alive)
            return;
        promptShowing_ = false;
        if (allowed) {
            std::string error;
            const auto answer = *allowed ? MotionAccess::authorized : MotionAccess::denied;
            if (!writeMotionAccess(paths_.accessRecordPath(), answer, error))
                promptError_ = error;
        }
        refreshAccess(false);
        // Queued like the refusal's error, so that is heard first.
        postToMain([this] {
            if (onAccessAnswered)
                onAccessAnswered();
        });
    });
}

void MotionService::postToMain(std::function<void()> work) {
    QMetaObject::invokeMethod(context_.get(), std::move(work), Qt::QueuedConnection);
}

void MotionService::postError(std::string text) {
    postToMain([this, text = std::move(text)] {
        if (!active_ || !handler_)
            return;
        const auto handler = handler_;
        (*handler)(nullptr, 0.0, &text);
    });
}

std::string MotionService::nameOf(Source source) const {
    switch (source) {
    case Source::native:
        return "the motion socket";
    case Source::opentrack:
        return "opentrack";
    case Source::earbuds:
        return earbuds_ ? earbuds_->name() : std::string("earbuds");
    case Source::hidTracker:
        return hidTracker_ ? hidTracker_->name() : std::string("the head tracker");
    }
    return "?";
}

bool MotionService::admit(Source source, const wire::Message& message, double now) {
    const bool ownerQuiet =
        !owner_ || now - ownerLastSample_ >= std::chrono::duration<double>(kSourceQuiet).count();
    if (owner_ && *owner_ != source && !ownerQuiet)
        return false;
    if (message.kind == wire::Kind::disconnected && owner_ == source) {
        owner_.reset();
    } else if (message.kind == wire::Kind::sample) {
        if (owner_ != source) {
            owner_ = source;
            // Earbuds taken out and put back are the same source again.
            const std::string name = nameOf(source);
            if (name != announced_) {
                announced_ = name;
                if (onSourceChange)
                    onSourceChange(name);
                if (onMeasuresSteps)
                    onMeasuresSteps(source != Source::hidTracker);
            }
        }
        ownerLastSample_ = now;
    }
    return true;
}

void MotionService::deliver(Source source, const wire::Message& message, double at) {
    if (!admit(source, message, at))
        return;
    switch (message.kind) {
    case wire::Kind::connected:
    case wire::Kind::disconnected:
        if (onConnectionChange)
            onConnectionChange(message.kind == wire::Kind::connected);
        return;
    case wire::Kind::error:
        if (active_ && handler_) {
            const auto handler = handler_;
            const std::string text(message.text);
            (*handler)(nullptr, 0.0, &text);
        }
        return;
    case wire::Kind::sample:
        if (active_ && authorized_ && handler_) {
            // Copy the pointer so a handler that restarts updates cannot
            // destroy itself while it runs.
            const auto handler = handler_;
            (*handler)(&message.motion, at, nullptr);
        }
        return;
    }
}

std::uint64_t MotionService::droppedDatagrams() const {
    return native_->dropped() + (opentrack_ ? opentrack_->dropped() : 0) +
           (earbuds_ ? earbuds_->dropped() : 0);
}

std::string MotionService::sourceErrors() const {
    std::string out = native_->isListening() ? std::string() : native_->error();
    if (opentrack_ && !opentrack_->isListening()) {
        if (!out.empty())
            out += "; ";
        out += opentrack_->error();
    }
    if (!promptError_.empty()) {
        if (!out.empty())
            out += "; ";
        out += promptError_;
    }
    return out;
}

} // namespace quelmo
