// SPDX-License-Identifier: MIT
#include "platform/motion/native_motion_source.h"

#include "platform/motion/datagram_receiver.h"
#include "platform/motion/message_offer.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quelmo {

namespace {

bool fillAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// True when some process is bound to the socket at path.
bool someoneListens(const sockaddr_un& addr) {
    const int probe = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    const bool live = ::connect(probe, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(probe);
    return live;
}

} // namespace

NativeMotionSource::NativeMotionSource(MotionPaths paths) : paths_(std::move(paths)) {}

NativeMotionSource::~NativeMotionSource() {
    if (!receiver_)
        return;
    receiver_.reset();
    // Remove the socket file only if it is still ours: a later instance may
    // have replaced it.
    struct stat st {};
    if (::lstat(boundPath_.c_str(), &st) == 0 && st.st_ino == boundInode_) {
        ::unlink(boundPath_.c_str());
    }
}

bool NativeMotionSource::listen() {
    if (receiver_)
        return true;
    std::string why;
    if (!ensurePrivateFolder(paths_.runtimeDir, why) ||
        !ensurePrivateFolder(paths_.socketFolder(), why)) {
        error_ = why;
        return false;
    }
    const std::string path = paths_.socketPath();
    sockaddr_un addr{};
    if (!fillAddress(path, addr)) {
        error_ = "socket path too long: " + path;
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error_ = std::string("cannot make a socket: ") + std::strerror(errno);
        return false;
    }
    auto bindIt = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    };
    bool bound = bindIt();
    if (!bound && errno == EADDRINUSE) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && !someoneListens(addr)) {
            ::unlink(path.c_str());
            bound = bindIt();
        } else {
            errno = EADDRINUSE;
        }
    }
    if (!bound) {
        error_ = errno == EADDRINUSE ? "another program is receiving motion at " + path
                                     : "cannot listen at " + path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    ::chmod(path.c_str(), 0600);
    struct stat st {};
    boundInode_ = ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    boundPath_ = path;
    error_.clear();
    receiver_ = std::make_unique<DatagramReceiver>(
        fd, [this](const unsigned char* data, std::size_t size) { handle(data, size); });
    receiver_->start();
    return true;
}

void NativeMotionSource::handle(const unsigned char* data, std::size_t size) {
    wire::Message message;
    const wire::DecodeStatus status = size > DatagramReceiver::kBufferSize
                                          ? wire::DecodeStatus::tooLong
                                          : wire::decode(data, size, message);
    if (status != wire::DecodeStatus::ok) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    offer(*receiver_, onMessage, message);
}

} // namespace quelmo
