// SPDX-License-Identifier: MIT
#pragma once

#include "core/privacy_guard.h"
#include "platform/signal/hci_rssi.h"

#include <QDBusConnection>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quelmo {

// What the link reader asks of the system; tests stand in their own.
struct LinkSignalPorts {
    // Every Bluetooth link the kernel holds now.
    std::function<std::vector<bluetooth::HciLink>()> links;
    // Whether the device is headphones or a headset; nothing when that
    // cannot be told now (BlueZ not running, the device not known yet).
    std::function<std::optional<bool>(int adapterIndex, const std::string& address)> isHeadphones;
    // The raw RSSI by HCI Read RSSI on the link.
    std::function<std::optional<int>(const bluetooth::HciLink& link)> readRssi;
    // The raw RSSI by `btmgmt conn-info` (needs CAP_NET_ADMIN), for links
    // the controller will not answer Read RSSI on. cancelFd as for
    // runReportCommand.
    std::function<std::optional<int>(const bluetooth::HciLink& link, int cancelFd)> readConnInfo;

    // The real ones: the kernel's lists and Read RSSI, BlueZ on `bus`.
    static LinkSignalPorts system(QDBusConnection bus);
};

// The signal strength of every connected pair of headphones, read inside
// Quelmo: the kernel's list of links, BlueZ's word on which of them are
// headphones (asked once per connection and remembered), and Read RSSI per
// link. Nothing is started and nothing crosses the bus while that works; a
// link the controller will not answer on gets one try with btmgmt per
// connection, and keeps it only while btmgmt answers. The readings are keyed
// by device address and given in approximate dBm, as the report command's
// are. One thread at a time.
class LinkSignal {
  public:
    // Reads after which a device BlueZ could not tell about is asked again.
    static constexpr int kAskAgainAfter = 15;

    explicit LinkSignal(LinkSignalPorts ports);

    SignalReadings read(int cancelFd);

  private:
    struct Device {
        std::optional<bool> headphones;
        int readsUntilAsking = 0;
        bool connInfoWorks = true;
    };

    LinkSignalPorts ports_;
    std::map<std::string, Device> devices_; // the linked ones, by address
};

} // namespace quelmo
