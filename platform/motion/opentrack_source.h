// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/motion_wire.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quelmo {

class DatagramReceiver;

// opentrack's "UDP over network" output, received on 127.0.0.1 only. Each
// pose becomes a sample whose attitude is the yaw about the vertical axis,
// with gravity straight down and no user acceleration (heading = yaw,
// vertical acceleration 0). opentrack sends no connection messages, so the
// first packet after a silence is reported as a connect. Packets are read and
// decoded on a receiving thread (see DatagramReceiver).
class OpentrackSource {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kSilence{1500};

    explicit OpentrackSource(int port);
    ~OpentrackSource();

    bool listen();
    bool isListening() const { return receiver_ != nullptr; }
    int port() const { return port_; }
    const std::string& error() const { return error_; }
    std::uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }

    // As NativeMotionSource::onMessage: called on the receiving thread.
    std::function<bool(const wire::Message&)> onMessage;

  private:
    void handle(const unsigned char* data, std::size_t size);

    int port_;
    std::unique_ptr<DatagramReceiver> receiver_;
    std::optional<Clock::time_point> lastPacket_; // receiving thread only
    std::string error_;
    std::atomic<std::uint64_t> dropped_{0};
};

// The opentrack port configured in Quelmo.conf, group [Motion], key
// opentrackPort; 0 when absent, 0, or not a port number. With no file given
// the user's Quelmo settings are read (organisation and application "Quelmo").
int configuredOpentrackPort(const std::optional<std::string>& settingsFile);

} // namespace quelmo
