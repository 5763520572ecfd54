// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace quelmo {

// Reads datagrams from a non-blocking socket on the main thread's event loop
// into one fixed buffer (no allocation per datagram). The handler gets each
// datagram's real size; a size above kBufferSize means it was cut short and
// only kBufferSize bytes are in data.
class DatagramReceiver {
  public:
    static constexpr std::size_t kBufferSize = 1024;
    // At most this many datagrams per wake-up, so a flood cannot starve the
    // event loop; the rest are read on the next turn.
    static constexpr int kBatch = 256;

    using Handler = std::function<void(const unsigned char* data, std::size_t size)>;

    // Takes ownership of fd.
    DatagramReceiver(int fd, Handler handler);
    ~DatagramReceiver();
    DatagramReceiver(const DatagramReceiver&) = delete;
    DatagramReceiver& operator=(const DatagramReceiver&) = delete;

    int fd() const { return fd_; }

  private:
    void drain();

    int fd_;
    Handler handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
    alignas(8) unsigned char buffer_[kBufferSize];
};

} // namespace quelmo
