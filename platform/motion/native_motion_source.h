// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/motion_paths.h"
#include "platform/motion/motion_wire.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quelmo {

class DatagramReceiver;

// The native source: datagrams of the motion protocol on a Unix socket in a
// folder only this user can enter ($XDG_RUNTIME_DIR/quelmo/motion.sock).
// Bad datagrams are counted and dropped. Datagrams are read and decoded on a
// receiving thread (see DatagramReceiver).
class NativeMotionSource {
  public:
    explicit NativeMotionSource(MotionPaths paths);
    ~NativeMotionSource();

    // Binds the socket unless already listening. A stale socket file left by
    // a crashed run is replaced; a live one (another instance) is left alone.
    bool listen();
    bool isListening() const { return receiver_ != nullptr; }
    const std::string& error() const { return error_; }
    std::uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }

    // Called on the receiving thread with each decoded message; set before
    // listen(). Returning false means "no room now": the same message is
    // offered again a moment later, and reading waits meanwhile.
    std::function<bool(const wire::Message&)> onMessage;

  private:
    void handle(const unsigned char* data, std::size_t size);

    MotionPaths paths_;
    std::unique_ptr<DatagramReceiver> receiver_;
    std::string boundPath_;
    std::uint64_t boundInode_ = 0;
    std::string error_;
    std::atomic<std::uint64_t> dropped_{0};
};

} // namespace quelmo
