// SPDX-License-Identifier: MIT
#pragma once

#include "core/decision_preview.h"
#include "platform/motion/motion_wire.h"

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quelmo {

// A motion message as it arrived: which source sent it, when (seconds on the
// scheduler's uptime clock, steady_clock), and its content; text only for
// errors (copied, as the datagram's buffer is reused).
struct ArrivedMessage {
    int source = 0;
    wire::Kind kind = wire::Kind::sample;
    DeviceMotion motion;
    std::string text;
    double at = 0.0;
};

// Where the receiving threads leave motion messages for the main thread.
// A sample of the holding source that the preview the main thread published
// admits is held without waking anyone; anything else wakes the main thread
// (once, until it takes the messages) and ends the holding, since what it
// brings may decide something or change the state the preview was made from.
// The main thread takes everything, held messages included, in arrival
// order. Thread-safe.
class MotionInbox {
  public:
    // At most this many messages wait; a receiving thread that finds the
    // inbox full waits for room, and the socket's own buffer takes the rest.
    static constexpr std::size_t kCapacity = 1024;

    // `wake` runs on a receiving thread and must hand the work to the main
    // thread (it is called with no lock held).
    explicit MotionInbox(std::function<void()> wake);

    // Receiving threads: stamps the message with its arrival time and keeps
    // it. False when the inbox is full (nothing was kept; try again later).
    bool put(int source, const wire::Message& message);
    bool put(int source, const wire::Message& message, double at);

    // Main thread: hold the samples of `source` that `preview` admits. The
    // preview applies only when no message is waiting (else the state it
    // was made from is already out of date, and the waiting messages'
    // wake-up will bring a new one); std::nullopt always applies.
    void setHold(const std::optional<DecisionPreview>& preview, int source);
    // Moves every waiting message into `out` (emptied first) and ends the
    // holding: whoever takes is about to change the state it came from.
    void take(std::vector<ArrivedMessage>& out);
    bool isHolding() const;

  private:
    std::function<void()> wake_;
    mutable std::mutex mutex_;
    std::vector<ArrivedMessage> waiting_;
    std::optional<DecisionPreview> hold_;
    int holdSource_ = -1;
    bool wakePending_ = false;
};

} // namespace quelmo
