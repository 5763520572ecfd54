// SPDX-License-Identifier: MIT
#include "tools/sim/seqpacket_listener.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quelmo::sim {

int listenSeqpacket(const std::string& path, bool nonBlocking, std::string& error) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        error = "socket path empty or too long: " + path;
        return -1;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd =
        ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    if (fd < 0) {
        error = std::string("cannot make a socket: ") + std::strerror(errno);
        return -1;
    }
    struct stat st {};
    // A socket file left by an earlier run is replaced.
    if (::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
        ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 1) != 0) {
        error = "cannot listen at " + path + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    ::chmod(path.c_str(), 0600);
    return fd;
}

bool receiveWaiting(int fd, const std::function<bool(const unsigned char*, std::size_t)>& handle) {
    unsigned char buf[4096];
    for (;;) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        if (!handle(buf, static_cast<std::size_t>(n)))
            return true;
    }
}

void stopListening(int fd, const std::string& path) {
    if (fd < 0)
        return;
    ::close(fd);
    ::unlink(path.c_str());
}

} // namespace quelmo::sim
