// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/datagram_receiver.h"
#include "platform/motion/motion_wire.h"

#include <functional>

namespace quelmo {

// Hands a message to a receiving thread's consumer; while it has no room,
// waits a moment and offers it again, unless the receiver is being stopped.
inline void offer(const DatagramReceiver& receiver,
                  const std::function<bool(const wire::Message&)>& consumer,
                  const wire::Message& message) {
    if (!consumer) {
        return;
    }
    while (!consumer(message) && !receiver.isStopping()) {
        DatagramReceiver::pause();
    }
}

} // namespace quelmo
