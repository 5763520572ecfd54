// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/motion_conversion.h"

#include <string>

namespace quelmo::sim {

// Sends native-protocol datagrams to Quelmo's motion socket. Sending never
// blocks; when nobody listens the datagram is simply lost.
class MotionSender {
  public:
    explicit MotionSender(std::string socketPath);
    ~MotionSender();
    MotionSender(const MotionSender&) = delete;
    MotionSender& operator=(const MotionSender&) = delete;

    bool sendSample(const DeviceMotion& motion);
    bool sendConnection(bool connected);
    // Whether the last datagram reached a listening socket.
    bool reachable() const { return reachable_; }
    const std::string& path() const { return path_; }

  private:
    bool send(const unsigned char* data, std::size_t size);

    std::string path_;
    int fd_;
    bool reachable_ = false;
};

} // namespace quelmo::sim
