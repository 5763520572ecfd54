// SPDX-License-Identifier: MIT
// Sends what a hostile or broken peer would: malformed and flooding motion
// datagrams to a motion socket, and odd command words on the session bus.
// A helper of the whole-app scripts in this folder.
//
//   hostile-sender datagram SOCKET truncated|big|magic|nan|denormal|turn:DEGREES
//   hostile-sender flood SOCKET PER_SECOND SECONDS DEGREES
//   hostile-sender word BYTES          a word of BYTES letters
//   hostile-sender burst COUNT         COUNT harmless words at once

#include "platform/motion/motion_wire.h"
#include "platform/system/dbus_command_channel.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace quelmo;

std::vector<unsigned char> sampleFacing(double degrees) {
    DeviceMotion m;
    const double half = degrees * 3.141592653589793 / 360.0;
    m.qz = std::sin(half);
    m.qw = std::cos(half);
    std::vector<unsigned char> out(wire::kMaxMessageSize);
    out.resize(wire::encodeSample(m, out.data()));
    return out;
}

std::vector<unsigned char> datagram(const std::string& kind) {
    auto bytes = sampleFacing(0.0);
    if (kind == "truncated") {
        bytes.resize(bytes.size() / 2);
    } else if (kind == "big") {
        bytes.resize(65536, 0x41);
    } else if (kind == "magic") {
        bytes[0] = 'X';
    } else if (kind == "nan" || kind == "denormal") {
        const double v = kind == "nan" ? std::numeric_limits<double>::quiet_NaN()
                                       : std::numeric_limits<double>::denorm_min();
        for (std::size_t at = wire::kHeaderSize; at + 8 <= bytes.size(); at += 8)
            wire::writeDoubleLE(v, bytes.data() + at);
    } else if (kind.rfind("turn:", 0) == 0) {
        bytes = sampleFacing(std::stod(kind.substr(5)));
    } else {
        std::fprintf(stderr, "unknown datagram kind %s\n", kind.c_str());
        std::exit(2);
    }
    return bytes;
}

int openTo(const char* path, sockaddr_un& addr) {
    addr = {};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path, sizeof addr.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    // A big send buffer, so a 64 KiB datagram fits.
    const int size = 1 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    return fd;
}

int sendDatagram(const char* path, const std::vector<unsigned char>& bytes) {
    sockaddr_un addr;
    const int fd = openTo(path, addr);
    const ssize_t n = ::sendto(fd, bytes.data(), bytes.size(), 0,
                               reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    if (n < 0)
        std::perror("sendto");
    ::close(fd);
    return n < 0 ? 1 : 0;
}

// Paces in steps of 1 ms; a full receiver queue drops datagrams (counted).
int flood(const char* path, double perSecond, double seconds, double degrees) {
    sockaddr_un addr;
    const int fd = openTo(path, addr);
    const auto bytes = sampleFacing(degrees);
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    long sent = 0, refused = 0;
    for (;;) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (elapsed >= seconds)
            break;
        const long due = static_cast<long>(elapsed * perSecond);
        while (sent + refused < due) {
            if (::sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT,
                         reinterpret_cast<const sockaddr*>(&addr), sizeof addr) < 0)
                ++refused;
            else
                ++sent;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::close(fd);
    std::printf("sent %ld, refused (queue full) %ld\n", sent, refused);
    return 0;
}

void flushBus() {
    QDeadlineTimer deadline(500);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "datagram" && argc == 4)
        return sendDatagram(argv[2], datagram(argv[3]));
    if (what == "flood" && argc == 6)
        return flood(argv[2], std::stod(argv[3]), std::stod(argv[4]), std::stod(argv[5]));
    if ((what == "word" || what == "burst") && argc == 3) {
        QCoreApplication app(argc, argv);
        const int n = std::stoi(argv[2]);
        if (what == "word") {
            DbusCommandChannel::send(QString(n, QLatin1Char('a')));
        } else {
            const char* words[] = {"walk:off", "turn:0", "resume", "on"};
            for (int i = 0; i < n; ++i)
                DbusCommandChannel::send(QString::fromLatin1(words[i % 4]));
        }
        flushBus();
        return 0;
    }
    std::fprintf(stderr, "usage: see the top of hostile_sender.cpp\n");
    return 2;
}
