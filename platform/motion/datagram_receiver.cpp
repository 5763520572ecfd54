// SPDX-License-Identifier: MIT
#include "platform/motion/datagram_receiver.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo {

DatagramReceiver::DatagramReceiver(int fd, Handler handler)
    : fd_(fd), handler_(std::move(handler)),
      notifier_(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { drain(); });
}

DatagramReceiver::~DatagramReceiver() {
    notifier_.reset();
    ::close(fd_);
}

void DatagramReceiver::drain() {
    for (int i = 0; i < kBatch; ++i) {
        // MSG_TRUNC makes recv report the datagram's full length even when it
        // did not fit, so oversized datagrams are recognised, not misread.
        const ssize_t n = ::recv(fd_, buffer_, sizeof buffer_, MSG_TRUNC);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return; // EAGAIN: drained; anything else: try again on the next wake-up
        }
        handler_(buffer_, static_cast<std::size_t>(n));
    }
}

} // namespace quelmo
