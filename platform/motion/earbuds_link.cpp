// SPDX-License-Identifier: MIT
#include "platform/motion/earbuds_link.h"

#include "platform/motion/earbuds_wire.h"
#include "platform/signal/hci_rssi.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <endian.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quelmo::earbuds {

namespace {

// The kernel's Bluetooth socket interface (include/net/bluetooth), stated
// here so the build needs no Bluetooth development package.
constexpr int kAfBluetooth = 31;
constexpr int kBtProtoL2cap = 0;
constexpr int kSolBluetooth = 274;
constexpr int kBtSecurity = 4;
constexpr std::uint8_t kBtSecurityMedium = 2;
constexpr std::uint8_t kBdAddrBrEdr = 0;

struct BtSecurity {
    std::uint8_t level;
    std::uint8_t keySize;
};

struct SockaddrL2 {
    sa_family_t family;
    std::uint16_t psm;      // little-endian
    std::uint8_t bdaddr[6]; // least significant byte first
    std::uint16_t cid;
    std::uint8_t bdaddrType;
};

bool connectStarted(int fd, const sockaddr* addr, socklen_t len) {
    return ::connect(fd, addr, len) == 0 || errno == EINPROGRESS;
}

} // namespace

int openUnixLink(const std::string& path, std::string& why) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        why = "earbuds socket path empty or too long: " + path;
        return -1;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        why = std::string("cannot make a socket: ") + std::strerror(errno);
        return -1;
    }
    if (!connectStarted(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr)) {
        why = "cannot connect to " + path + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

int openBluetoothLink(const std::string& address, std::string& why) {
    SockaddrL2 addr{};
    addr.family = kAfBluetooth;
    addr.psm = htole16(kPsm);
    addr.bdaddrType = kBdAddrBrEdr;
    if (!bluetooth::parseAddress(address, addr.bdaddr)) {
        why = "not a Bluetooth address: " + address;
        return -1;
    }
    const int fd =
        ::socket(kAfBluetooth, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, kBtProtoL2cap);
    if (fd < 0) {
        why = std::string("no Bluetooth: ") + std::strerror(errno);
        return -1;
    }
    // Some earbuds accept commands at the default (low) level but send no
    // notifications; medium asks for an encrypted link.
    const BtSecurity security{kBtSecurityMedium, 0};
    ::setsockopt(fd, kSolBluetooth, kBtSecurity, &security, sizeof security);
    if (!connectStarted(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr)) {
        why = "cannot reach " + address + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

int linkError(int fd) {
    int error = 0;
    socklen_t len = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0)
        return errno;
    return error;
}

} // namespace quelmo::earbuds
