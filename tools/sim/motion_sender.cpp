// SPDX-License-Identifier: MIT
#include "tools/sim/motion_sender.h"

#include "platform/motion/motion_wire.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quelmo::sim {

MotionSender::MotionSender(std::string socketPath)
    : path_(std::move(socketPath)),
      fd_(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {}

MotionSender::~MotionSender() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool MotionSender::send(const unsigned char* data, std::size_t size) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (fd_ < 0 || path_.size() >= sizeof addr.sun_path)
        return reachable_ = false;
    std::memcpy(addr.sun_path, path_.c_str(), path_.size() + 1);
    const ssize_t n = ::sendto(fd_, data, size, MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    reachable_ = n == static_cast<ssize_t>(size);
    return reachable_;
}

bool MotionSender::sendSample(const DeviceMotion& motion) {
    unsigned char buf[wire::kMaxMessageSize];
    return send(buf, wire::encodeSample(motion, buf));
}

bool MotionSender::sendConnection(bool connected) {
    unsigned char buf[wire::kMaxMessageSize];
    return send(buf, wire::encodeConnection(connected, buf));
}

} // namespace quelmo::sim
