// SPDX-License-Identifier: MIT
#include "platform/signal/hci_rssi.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo::bluetooth {

namespace {

// The kernel's HCI socket interface (include/net/bluetooth/hci_sock.h,
// hci.h), stated here so the build needs no Bluetooth development package.
constexpr int kAfBluetooth = 31;
constexpr int kBtProtoHci = 1;
constexpr int kSolHci = 0;
constexpr int kHciFilter = 2;
constexpr unsigned char kCommandPacket = 0x01;
constexpr unsigned char kEventPacket = 0x04;
constexpr unsigned char kCommandComplete = 0x0E;
constexpr unsigned char kCommandStatus = 0x0F;
constexpr std::uint8_t kAclLink = 0x01;
constexpr unsigned long kHciGetDevList = 0x800448D2;  // _IOR('H', 210, int)
constexpr unsigned long kHciGetConnList = 0x800448D4; // _IOR('H', 212, int)
constexpr unsigned long kHciGetConnInfo = 0x800448D5; // _IOR('H', 213, int)
constexpr std::uint16_t kMaxAdapters = 16;
constexpr std::uint16_t kMaxLinks = 20;

struct SockaddrHci {
    sa_family_t family;
    unsigned short dev;
    unsigned short channel; // 0: raw
};

struct HciFilter {
    std::uint32_t typeMask;
    std::uint32_t eventMask[2];
    std::uint16_t opcode;
};

struct ConnInfo {
    std::uint16_t handle;
    std::uint8_t bdaddr[6];
    std::uint8_t type;
    std::uint8_t out;
    std::uint16_t state;
    std::uint32_t linkMode;
};

struct ConnInfoRequest {
    std::uint8_t bdaddr[6];
    std::uint8_t type;
    ConnInfo info;
};

struct DevRequest {
    std::uint16_t devId;
    std::uint32_t devOpt;
};

struct DevListRequest {
    std::uint16_t count;
    DevRequest devices[kMaxAdapters];
};

struct ConnListRequest {
    std::uint16_t devId;
    std::uint16_t count;
    ConnInfo links[kMaxLinks];
};

// The kernel's layouts, as include/net/bluetooth/hci_sock.h has them.
static_assert(sizeof(ConnInfo) == 16 && offsetof(ConnInfo, bdaddr) == 2 &&
              offsetof(ConnInfo, type) == 8 && offsetof(ConnInfo, linkMode) == 12);
static_assert(sizeof(DevRequest) == 8 && offsetof(DevListRequest, devices) == 4);
static_assert(offsetof(ConnListRequest, links) == 4);

std::uint16_t readU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

} // namespace

namespace {

std::optional<int> readOn(int fd, std::uint16_t handle, int timeoutMs, std::string& why);

// A raw HCI socket bound to adapter hciN, or -1 with why set.
int openAdapter(int adapterIndex, std::string& why) {
    const int fd = ::socket(kAfBluetooth, SOCK_RAW | SOCK_CLOEXEC, kBtProtoHci);
    if (fd < 0) {
        why = std::string("no Bluetooth: ") + std::strerror(errno);
        return -1;
    }
    SockaddrHci addr{};
    addr.family = kAfBluetooth;
    addr.dev = static_cast<unsigned short>(adapterIndex);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        why = "no adapter hci" + std::to_string(adapterIndex) + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void encodeReadRssi(std::uint16_t handle, unsigned char out[kReadRssiCommandSize]) {
    out[0] = kCommandPacket;
    out[1] = static_cast<unsigned char>(kReadRssiOpcode & 0xff);
    out[2] = static_cast<unsigned char>(kReadRssiOpcode >> 8);
    out[3] = 2;
    out[4] = static_cast<unsigned char>(handle & 0xff);
    out[5] = static_cast<unsigned char>((handle >> 8) & 0x0f); // 12-bit handle
}

RssiReply parseRssiEvent(const unsigned char* data, std::size_t size, std::uint16_t handle) {
    RssiReply reply;
    if (size < 3 || data[0] != kEventPacket || static_cast<std::size_t>(data[2]) + 3 > size)
        return reply;
    const unsigned char* p = data + 3;
    const std::size_t length = data[2];
    if (data[1] == kCommandComplete) {
        // Packets allowed, opcode, then Read RSSI's status, handle and RSSI.
        if (length < 3 || readU16(p + 1) != kReadRssiOpcode)
            return reply;
        if (length >= 4 && p[3] != 0) {
            reply.answersUs = length < 6 || (readU16(p + 4) & 0x0fff) == (handle & 0x0fff);
            return reply;
        }
        if (length < 7 || (readU16(p + 4) & 0x0fff) != (handle & 0x0fff))
            return reply;
        reply.answersUs = true;
        reply.rssi = static_cast<std::int8_t>(p[6]);
        return reply;
    }
    if (data[1] == kCommandStatus) {
        // Status, packets allowed, opcode: a refusal before any completion.
        if (length >= 4 && readU16(p + 2) == kReadRssiOpcode && p[0] != 0)
            reply.answersUs = true;
    }
    return reply;
}

std::optional<int> readHciRssi(int adapterIndex, const std::string& address, int timeoutMs,
                               std::string& why) {
    ConnInfoRequest request{};
    if (!parseAddress(address, request.bdaddr)) {
        why = "not a Bluetooth address: " + address;
        return std::nullopt;
    }
    Fd fd(openAdapter(adapterIndex, why));
    if (fd.get() < 0)
        return std::nullopt;
    request.type = kAclLink;
    if (::ioctl(fd.get(), kHciGetConnInfo, &request) != 0) {
        why = "no connection to " + address + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return readOn(fd.get(), request.info.handle, timeoutMs, why);
}

std::optional<int> readHciRssiOnHandle(int adapterIndex, std::uint16_t handle, int timeoutMs,
                                       std::string& why) {
    Fd fd(openAdapter(adapterIndex, why));
    if (fd.get() < 0)
        return std::nullopt;
    return readOn(fd.get(), handle, timeoutMs, why);
}

std::vector<HciLink> listHciLinks(std::string& why) {
    std::vector<HciLink> links;
    Fd fd(::socket(kAfBluetooth, SOCK_RAW | SOCK_CLOEXEC, kBtProtoHci));
    if (fd.get() < 0) {
        why = std::string("no Bluetooth: ") + std::strerror(errno);
        return links;
    }
    DevListRequest adapters{};
    adapters.count = kMaxAdapters;
    if (::ioctl(fd.get(), kHciGetDevList, &adapters) != 0) {
        why = std::string("no adapter list: ") + std::strerror(errno);
        return links;
    }
    for (std::uint16_t a = 0; a < std::min(adapters.count, kMaxAdapters); ++a) {
        ConnListRequest list{};
        list.devId = adapters.devices[a].devId;
        list.count = kMaxLinks;
        if (::ioctl(fd.get(), kHciGetConnList, &list) != 0)
            continue; // an adapter that is down has no links
        for (std::uint16_t i = 0; i < std::min(list.count, kMaxLinks); ++i) {
            const ConnInfo& info = list.links[i];
            links.push_back(HciLink{adapters.devices[a].devId, formatAddress(info.bdaddr),
                                    info.handle, info.type == kAclLink});
        }
    }
    return links;
}

bool parseAddress(const std::string& text, std::uint8_t out[6]) {
    unsigned b[6];
    char tail = 0;
    if (text.size() != 17 || std::sscanf(text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x%c", &b[0], &b[1],
                                         &b[2], &b[3], &b[4], &b[5], &tail) != 6) {
        return false;
    }
    for (int i = 0; i < 6; ++i)
        out[i] = static_cast<std::uint8_t>(b[5 - i]);
    return true;
}

std::string formatAddress(const std::uint8_t bdaddr[6]) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", bdaddr[5], bdaddr[4],
                  bdaddr[3], bdaddr[2], bdaddr[1], bdaddr[0]);
    return text;
}

namespace {

std::optional<int> readOn(int fd, std::uint16_t handle, int timeoutMs, std::string& why) {
    // Only the two events that can answer the command, for this opcode.
    HciFilter filter{};
    filter.typeMask = 1u << kEventPacket;
    filter.eventMask[0] = (1u << kCommandComplete) | (1u << kCommandStatus);
    filter.opcode = kReadRssiOpcode;
    ::setsockopt(fd, kSolHci, kHciFilter, &filter, sizeof filter);

    unsigned char command[kReadRssiCommandSize];
    encodeReadRssi(handle, command);
    if (::write(fd, command, sizeof command) != static_cast<ssize_t>(sizeof command)) {
        why = std::string("cannot send Read RSSI: ") + std::strerror(errno);
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    unsigned char event[260];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            why = "no answer to Read RSSI";
            return std::nullopt;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        const ssize_t n = ::read(fd, event, sizeof event);
        if (n <= 0)
            continue;
        const RssiReply reply = parseRssiEvent(event, static_cast<std::size_t>(n), handle);
        if (!reply.answersUs)
            continue;
        if (!reply.rssi)
            why = "the controller refused Read RSSI";
        return reply.rssi;
    }
}

} // namespace

} // namespace quelmo::bluetooth
