// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/datagram_receiver.h"
#include "platform/motion/earbuds_handshake.h"
#include "platform/motion/earbuds_wire.h"
#include "platform/motion/motion_wire.h"
#include "platform/motion/plausible_motion.h"
#include "platform/motion/wear_debounce.h"

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
    // Whether a powered Bluetooth adapter is there, told when that changes.
    std::function<void(bool)> onBluetooth;
};

// What the earbuds' channel has seen, by kind of frame.
struct EarbudsCounts {
    std::uint64_t samples = 0; // sensor samples, all-zero ones included
    std::uint64_t odd = 0;     // samples no head produces (ignored)
    std::uint64_t earDetection = 0;
    std::uint64_t battery = 0;
    std::uint64_t otherSensor = 0; // other messages on the sensor opcode (ignored)
    std::uint64_t other = 0;       // every other frame
    std::uint64_t empty = 0;       // empty messages
};

// Why the earbuds give head motion or not, for the user.
enum class EarbudsCondition {
    unknown,      // nothing to say yet
    noBluetooth,  // no powered Bluetooth adapter
    notConnected, // Bluetooth is there, no earbuds connected
    notSharing,   // the earbuds answer but neither start frame brings samples
    inCase,       // both buds in their case
    live,         // samples flow
};

// Head motion from earbuds: while started and earbuds are known, keeps one
// channel open to them, holds the conversation with them (see
// earbuds::Handshake), turns their sensor frames into samples (only those
// with a sample's structure, and only samples a head can produce) and their
// ear detection, held for 0.3 s, into connects and disconnects. Stopping
// sends the stop frame. A lost channel is opened again after 1 s, then 2,
// 4 ... up to 30 s; the wait starts over only once the earbuds have streamed
// for a while, so earbuds that answer and then hang up are not hammered.
// Everything runs on the main thread's event loop and nothing there blocks,
// except this: once the earbuds stream and are worn, with onThreadSample set
// and no onFrame observer, the channel is read on a thread of its own, which
// hands sensor samples to onThreadSample (whose receiver may hold quiet ones
// without waking anyone) and everything else to the main thread, in arrival
// order.
class EarbudsSource {
  public:
    static constexpr std::chrono::milliseconds kFirstRetry{1000};
    static constexpr std::chrono::milliseconds kLastRetry{30000};

    // Earbuds at a fixed target, or found by discovery.
    explicit EarbudsSource(EarbudsTarget target);
    explicit EarbudsSource(std::unique_ptr<EarbudsDiscovery> discovery);
    ~EarbudsSource();
    EarbudsSource(const EarbudsSource&) = delete;
    EarbudsSource& operator=(const EarbudsSource&) = delete;

    // Where to remember which start frame streamed (see earbuds::ServiceMemory).
    void setMemoryPath(std::string path) { memoryPath_ = std::move(path); }
    void start();
    void stop();
    bool isStarted() const { return started_; }
    // Head tracking asked for, or streaming.
    bool isStreaming() const { return state_ == State::open && handshake_.service() != 0; }
    // The target's name, "earbuds" when none is known.
    std::string name() const;
    const std::optional<EarbudsTarget>& target() const { return target_; }
    std::chrono::milliseconds nextRetry() const { return retry_; }
    std::uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }
    EarbudsCounts counts() const;
    const std::string& error() const { return error_; }
    EarbudsCondition condition() const { return condition_; }
    const earbuds::Handshake& handshake() const { return handshake_; }

    // Samples with the time they arrived (seconds on the steady clock, as
    // systemUptime()); connects and disconnects with the time now.
    std::function<void(const wire::Message&, double at)> onMessage;
    // Called on the reading thread; false when it has no room (offered again
    // a moment later).
    std::function<bool(const wire::Message&, double at)> onThreadSample;
    // Told on the main thread when condition() changes.
    std::function<void(EarbudsCondition)> onCondition;
    // For the probe: every frame sent (true) and received (false), and every
    // step of the conversation, on the main thread. Setting onFrame keeps the
    // reading on the main thread.
    std::function<void(bool sent, const unsigned char* data, std::size_t size)> onFrame;
    std::function<void(const std::string& line)> onNote;

  private:
    enum class State { idle, connecting, open };

    void setTarget(const std::optional<EarbudsTarget>& target);
    void open();
    void close(bool retry);
    void onWritable();
    void drain();
    void wireHandshake();
    // Reading on a thread of its own, once streaming.
    void startReader();
    void readOnThread(std::uint64_t session, const unsigned char* data, std::size_t size);
    // Hands a frame (or, with `ended` 0 or an errno, the channel's end) from
    // the reading thread to the main thread.
    void passToMain(std::uint64_t session, std::string frame, int ended);
    void handleFromReader(std::uint64_t session, const std::string& frame, int ended);
    // The channel closed (0) or failed (an errno): said once, opened again later.
    void endChannel(int error);
    void onEnded(earbuds::Handshake::Ending ending);
    void updateThreadSamples();
    void handle(const unsigned char* data, std::size_t size);
    void handleSensor(const unsigned char* data, std::size_t size);
    void handleEarDetection(const unsigned char* data, std::size_t size);
    // Decodes and screens a sensor frame, counting it; writes the samples to
    // pass on into `passed` and returns how many.
    std::size_t screenSensor(const unsigned char* data, std::size_t size,
                             PlausibleMotion::Timed passed[2]);
    void onTimer();
    void armTimer();
    void send(const unsigned char* data, std::size_t size);
    void setWorn(bool worn);
    void emitConnection(bool connected);
    void setCondition(EarbudsCondition condition);
    void fail(const std::string& why);
    static double now();

    std::optional<EarbudsTarget> target_;
    std::unique_ptr<EarbudsDiscovery> discovery_;
    std::unique_ptr<QTimer> retryTimer_;
    std::unique_ptr<QTimer> stepTimer_;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::string memoryPath_;
    earbuds::Handshake handshake_;
    WearDebounce wearing_;
    // Used by one thread at a time: the reading thread while it hands samples
    // on, the main thread otherwise (see framesForMain_).
    PlausibleMotion screen_;
    int fd_ = -1;
    State state_ = State::idle;
    bool started_ = false;
    std::optional<bool> worn_;
    bool connected_ = false;
    bool budsInCase_ = false;
    std::optional<bool> bluetooth_;
    EarbudsCondition condition_ = EarbudsCondition::unknown;
    std::chrono::milliseconds retry_ = kFirstRetry;
    std::atomic<std::uint64_t> dropped_{0};
    struct Counters {
        std::atomic<std::uint64_t> samples{0}, odd{0}, earDetection{0}, battery{0}, otherSensor{0},
            other{0}, empty{0};
    } counters_;
    // The newest sample's time (now()), whichever thread read it.
    std::atomic<double> lastSampleAt_{-1};
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

// The notifier may be the one whose signal is running: lets the event loop
// delete it after the signal returns.
void retire(std::unique_ptr<QSocketNotifier>& notifier);
wire::Message sampleMessage(const DeviceMotion& motion);

} // namespace quelmo
