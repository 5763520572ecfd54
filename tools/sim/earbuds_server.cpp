// SPDX-License-Identifier: MIT
#include "tools/sim/earbuds_server.h"

#include "platform/motion/earbuds_wire.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quelmo::sim {

namespace {

bool same(const unsigned char* data, std::size_t size, const unsigned char* frame, std::size_t n) {
    return size == n && std::memcmp(data, frame, n) == 0;
}

// What real earbuds answer to the connect frame.
constexpr unsigned char kConnectResponse[] = {0x01, 0x00, 0x04, 0x00, 0x00,
                                              0x00, 0x01, 0x00, 0x02, 0x00};

} // namespace

EarbudsServer::EarbudsServer(std::string path) : path_(std::move(path)) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path_.empty() || path_.size() >= sizeof addr.sun_path) {
        error_ = "socket path empty or too long: " + path_;
        return;
    }
    std::memcpy(addr.sun_path, path_.c_str(), path_.size() + 1);
    listener_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        error_ = std::string("cannot make a socket: ") + std::strerror(errno);
        return;
    }
    struct stat st {};
    // A socket file left by an earlier run is replaced.
    if (::lstat(path_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
        ::unlink(path_.c_str());
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listener_, 1) != 0) {
        error_ = "cannot listen at " + path_ + ": " + std::strerror(errno);
        ::close(listener_);
        listener_ = -1;
        return;
    }
    ::chmod(path_.c_str(), 0600);
}

EarbudsServer::~EarbudsServer() {
    if (client_ >= 0)
        ::close(client_);
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(path_.c_str());
    }
}

void EarbudsServer::dropClient(const char* why) {
    if (client_ < 0)
        return;
    std::fprintf(stderr, "quelmo-sim: earbuds: %s\n", why);
    ::close(client_);
    client_ = -1;
    greeted_ = notified_ = streaming_ = false;
}

void EarbudsServer::accept() {
    if (client_ >= 0 || listener_ < 0)
        return;
    client_ = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client_ >= 0)
        std::fprintf(stderr, "quelmo-sim: earbuds: Quelmo connected\n");
}

void EarbudsServer::send(const unsigned char* data, std::size_t size) {
    if (client_ >= 0 && ::send(client_, data, size, MSG_DONTWAIT | MSG_NOSIGNAL) < 0 &&
        errno != EAGAIN) {
        dropClient("Quelmo went away");
    }
}

void EarbudsServer::sendEarState(bool worn) {
    unsigned char frame[earbuds::kEarDetectionSize];
    const auto state = worn ? earbuds::BudState::inEar : earbuds::BudState::outOfEar;
    send(frame, earbuds::encodeEarDetection(state, state, frame));
}

void EarbudsServer::handle(const unsigned char* data, std::size_t size,
                           const VirtualHeadphones& phones) {
    using namespace earbuds;
    if (same(data, size, kConnectFrame, sizeof kConnectFrame)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: connect frame\n");
        greeted_ = true;
        send(kConnectResponse, sizeof kConnectResponse);
    } else if (same(data, size, kNotifyRequest, sizeof kNotifyRequest)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: notification request%s\n",
                     greeted_ ? "" : " (before the connect frame)");
        notified_ = true;
    } else if (same(data, size, kStartFrame, sizeof kStartFrame)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: head tracking on%s\n",
                     greeted_ && notified_ ? "" : " (before the greeting)");
        streaming_ = true;
        zeroFrames_ = 2;
        lastFrame_ = -1;
        sendEarState(phones.connected);
    } else if (same(data, size, kStopFrame, sizeof kStopFrame)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: head tracking off\n");
        streaming_ = false;
    } else {
        std::fprintf(stderr, "quelmo-sim: earbuds: unknown frame of %zu bytes\n", size);
    }
}

void EarbudsServer::receive(const VirtualHeadphones& phones) {
    unsigned char buf[earbuds::kReceiveBuffer];
    while (client_ >= 0) {
        const ssize_t n = ::recv(client_, buf, sizeof buf, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            dropClient("Quelmo closed the channel");
            return;
        }
        handle(buf, static_cast<std::size_t>(n), phones);
    }
}

void EarbudsServer::tick(const VirtualHeadphones& phones, bool connectionChanged, double t) {
    accept();
    receive(phones);
    if (!streaming_)
        return;
    if (connectionChanged)
        sendEarState(phones.connected);
    if (lastFrame_ >= 0 && t - lastFrame_ < kPeriod - 0.005)
        return;
    lastFrame_ = t;
    // Like real earbuds, the stream runs on whether or not they are worn.
    earbuds::SensorFrame frame;
    if (zeroFrames_ > 0)
        --zeroFrames_;
    else
        frame = earbuds::fromDeviceMotion(phones.sample(t), static_cast<std::uint64_t>(t * 1e9));
    unsigned char buf[earbuds::kMaxSensorFrame];
    const auto envelope = sequence_ % 2 == 0 ? earbuds::Envelope::v1 : earbuds::Envelope::v4;
    send(buf, earbuds::encodeSensor(frame, sequence_++, envelope, buf));
}

void EarbudsServer::finish(const VirtualHeadphones&) {
    unsigned char bye[sizeof earbuds::kDisconnectFrame];
    std::memcpy(bye, earbuds::kDisconnectFrame, sizeof bye);
    send(bye, sizeof bye);
    dropClient("finished");
}

} // namespace quelmo::sim
