// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/datagram_receiver.h"
#include "platform/motion/earbuds_wire.h"
#include "platform/motion/motion_wire.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;
class QTimer;

namespace quelmo {

// Where the earbuds are: a Bluetooth address, or the path of a Unix socket
// that speaks the same frames (the test door, QUELMO_EARBUDS_SOCKET).
struct EarbudsTarget {
    std::string name; // for the user: "AirPods Pro 2 (Bluetooth)"
    std::string address;
    bool unixSocket = false;
    bool operator==(const EarbudsTarget&) const = default;
};

// Follows which earbuds are connected; reports the one to use, or none.
class EarbudsDiscovery {
  public:
    virtual ~EarbudsDiscovery() = default;
    virtual void start() = 0;
    std::function<void(const std::optional<EarbudsTarget>&)> onTarget;
};

// Head motion from earbuds: while started and earbuds are known, keeps one
// channel open to them, greets them (connect frame, notification request,
// head tracking on), turns their sensor frames into samples and their ear
// detection into connects and disconnects. Stopping sends the stop frame.
// A lost channel is opened again after 1 s, then 2, 4 ... up to 30 s.
// Everything runs on the main thread's event loop and nothing there blocks,
// except this: once the earbuds stream and are worn, with onThreadSample set,
// the channel is read on a thread of its own, which hands sensor samples to
// onThreadSample (whose receiver may hold quiet ones without waking anyone)
// and everything else to the main thread, in arrival order.
class EarbudsSource {
  public:
    static constexpr std::chrono::milliseconds kFirstRetry{1000};
    static constexpr std::chrono::milliseconds kLastRetry{30000};
    // How long to wait for the answer to the connect frame before going on.
    static constexpr std::chrono::milliseconds kAnswerWait{2000};

    // Earbuds at a fixed target, or found by discovery.
    explicit EarbudsSource(EarbudsTarget target);
    explicit EarbudsSource(std::unique_ptr<EarbudsDiscovery> discovery);
    ~EarbudsSource();
    EarbudsSource(const EarbudsSource&) = delete;
    EarbudsSource& operator=(const EarbudsSource&) = delete;

    void start();
    void stop();
    bool isStarted() const { return started_; }
    // Greeted and head tracking asked for.
    bool isStreaming() const { return state_ == State::streaming; }
    // The target's name, "earbuds" when none is known.
    std::string name() const;
    std::chrono::milliseconds nextRetry() const { return retry_; }
    std::uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }
    const std::string& error() const { return error_; }

    std::function<void(const wire::Message&)> onMessage;
    // Called on the reading thread; false when it has no room (offered again
    // a moment later).
    std::function<bool(const wire::Message&)> onThreadSample;

  private:
    enum class State { idle, connecting, greeting, streaming };

    void setTarget(const std::optional<EarbudsTarget>& target);
    void open();
    void close(bool retry);
    void onWritable();
    void drain();
    // Reading on a thread of its own, once streaming.
    void startReader();
    void readOnThread(std::uint64_t session, const unsigned char* data, std::size_t size);
    // Hands a frame (or, with `ended` 0 or an errno, the channel's end) from
    // the reading thread to the main thread.
    void passToMain(std::uint64_t session, std::string frame, int ended);
    void handleFromReader(std::uint64_t session, const std::string& frame, int ended);
    // The channel closed (0) or failed (an errno): said once, opened again later.
    void endChannel(int error);
    void updateThreadSamples();
    void handle(const unsigned char* data, std::size_t size);
    void greet();
    void send(const unsigned char* data, std::size_t size);
    void setWorn(bool worn);
    void emitConnection(bool connected);
    void fail(const std::string& why);

    std::optional<EarbudsTarget> target_;
    std::unique_ptr<EarbudsDiscovery> discovery_;
    std::unique_ptr<QTimer> retryTimer_;
    std::unique_ptr<QTimer> answerTimer_;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    std::unique_ptr<unsigned char[]> buffer_;
    int fd_ = -1;
    State state_ = State::idle;
    bool started_ = false;
    std::optional<bool> worn_;
    bool connected_ = false;
    std::chrono::milliseconds retry_ = kFirstRetry;
    std::atomic<std::uint64_t> dropped_{0};
    std::unique_ptr<DatagramReceiver> reader_;
    std::uint64_t session_ = 0;
    // Whether the reading thread may hand samples on itself: streaming, worn
    // and announced, and no frame it passed to the main thread still waiting
    // there (a sample must not overtake one).
    std::atomic<bool> samplesOnThread_{false};
    std::atomic<int> framesForMain_{0};
    std::string error_;
    std::string lastPrinted_;
};

} // namespace quelmo
