// SPDX-License-Identifier: MIT
#pragma once

// Helpers shared by the motion tests: temporary folders, an event loop to
// wait in, and a client that sends datagrams to the motion socket.

#include "platform/motion/motion_paths.h"
#include "platform/motion/motion_wire.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstring>
#include <functional>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quelmo::test {

// Runs the event loop until done() or the time is up; returns done().
inline bool waitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

// Lets the event loop run for a while, for checks that nothing happens.
inline void settle(int ms = 150) {
    waitFor([] { return false; }, ms);
}

struct TempPaths {
    QTemporaryDir dir;
    MotionPaths paths;
    TempPaths() {
        paths.runtimeDir = dir.path().toStdString() + "/run";
        paths.configDir = dir.path().toStdString() + "/config";
        paths.stateDir = dir.path().toStdString() + "/state";
        ::mkdir(paths.runtimeDir.c_str(), 0700);
        ::mkdir(paths.configDir.c_str(), 0700);
    }
};

inline bool sendUnix(const std::string& path, const void* data, std::size_t size) {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    const ssize_t n =
        ::sendto(fd, data, size, 0, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    ::close(fd);
    return n == static_cast<ssize_t>(size);
}

inline bool sendSample(const MotionPaths& paths, const DeviceMotion& m) {
    unsigned char buf[wire::kMaxMessageSize];
    const std::size_t n = wire::encodeSample(m, buf);
    return sendUnix(paths.socketPath(), buf, n);
}

inline bool sendConnection(const MotionPaths& paths, bool connected) {
    unsigned char buf[wire::kMaxMessageSize];
    const std::size_t n = wire::encodeConnection(connected, buf);
    return sendUnix(paths.socketPath(), buf, n);
}

inline bool sendUdp(int port, const void* data, std::size_t size) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const ssize_t n =
        ::sendto(fd, data, size, 0, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    ::close(fd);
    return n == static_cast<ssize_t>(size);
}

// A UDP port on 127.0.0.1 that was free a moment ago.
inline int freeUdpPort() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// A yaw of `degrees` about the vertical axis, upright, at rest.
inline DeviceMotion facing(double degrees, double upward = 0.0) {
    const double half = degrees * 3.141592653589793 / 360.0;
    return DeviceMotion{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, upward};
}

} // namespace quelmo::test
