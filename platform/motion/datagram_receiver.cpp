// SPDX-License-Identifier: MIT
#include "platform/motion/datagram_receiver.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo {

DatagramReceiver::DatagramReceiver(int fd, Handler handler, Ended ended)
    : fd_(fd), handler_(std::move(handler)), ended_(std::move(ended)) {
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    }
}

void DatagramReceiver::start() {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { run(); });
    }
}

DatagramReceiver::~DatagramReceiver() {
    stop();
    ::close(fd_);
}

void DatagramReceiver::stop() {
    stopping_.store(true, std::memory_order_relaxed);
    // Wakes a recv blocked on this socket, which then returns 0; Linux does
    // so for unconnected datagram sockets too (and then reports ENOTCONN).
    ::shutdown(fd_, SHUT_RD);
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool peerHasHungUp(int fd) {
    pollfd p{fd, POLLIN | POLLRDHUP, 0};
    if (::poll(&p, 1, 0) < 0)
        return true;
    return (p.revents & (POLLHUP | POLLRDHUP | POLLERR)) != 0;
}

void DatagramReceiver::pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void DatagramReceiver::run() {
    while (!isStopping()) {
        // MSG_TRUNC makes recv report the datagram's full length even when it
        // did not fit, so oversized datagrams are recognised, not misread.
        const ssize_t n = ::recv(fd_, buffer_, sizeof buffer_, MSG_TRUNC);
        if (isStopping()) {
            return;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (ended_ && n == 0 && !peerHasHungUp(fd_)) {
            handler_(buffer_, 0);
            continue;
        }
        if (ended_ && n <= 0) {
            ended_(n == 0 ? 0 : errno);
            return;
        }
        if (n < 0) {
            pause(); // a socket error that stays would otherwise spin
            continue;
        }
        handler_(buffer_, static_cast<std::size_t>(n));
    }
}

} // namespace quelmo
