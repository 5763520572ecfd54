// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>

namespace quelmo {

// Reads datagrams from a socket on a thread of its own, into one fixed buffer
// (no allocation per datagram), so that the main thread wakes only when
// something the app must see arrives. The thread blocks in recv: one system
// call per datagram, the cheapest way to wait. The handler runs on that
// thread and gets each datagram's real size; a size above kBufferSize means
// it was cut short and only kBufferSize bytes are in data.
class DatagramReceiver {
  public:
    static constexpr std::size_t kBufferSize = 1024;

    using Handler = std::function<void(const unsigned char* data, std::size_t size)>;
    // For a connected socket: told once that it ended (0: the peer closed it,
    // else the errno of the failed read), after which the thread stops. An
    // empty message on a connected sequenced-packet socket is not an end: it
    // reaches the handler with size 0.
    using Ended = std::function<void(int error)>;

    // Takes ownership of fd (made blocking here); reading begins with start().
    // Without `ended`, read errors are waited out and empty datagrams handed
    // over, as suits an unconnected datagram socket.
    DatagramReceiver(int fd, Handler handler, Ended ended = {});
    // Stops the thread (shutting the socket for reading wakes a blocked
    // recv at once) and closes the socket.
    ~DatagramReceiver();
    DatagramReceiver(const DatagramReceiver&) = delete;
    DatagramReceiver& operator=(const DatagramReceiver&) = delete;

    // Starts the receiving thread (once).
    void start();
    // Ends the receiving thread and waits for it (the socket stays open
    // until destruction); the handler is not called after this returns.
    void stop();
    int fd() const { return fd_; }
    // For a handler that has to wait: true once the receiver is being
    // destroyed. pause() sleeps a few milliseconds.
    bool isStopping() const { return stopping_.load(std::memory_order_relaxed); }
    static void pause();

  private:
    void run();

    int fd_;
    Handler handler_;
    Ended ended_;
    std::atomic<bool> stopping_{false};
    alignas(8) unsigned char buffer_[kBufferSize];
    std::thread thread_;
};

// After a read of 0 bytes from a connected socket: whether the peer shut it
// down (rather than sending an empty message, which sequenced-packet sockets
// carry).
bool peerHasHungUp(int fd);

} // namespace quelmo
