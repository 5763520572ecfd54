// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/hid_head_tracker.h"
#include "platform/motion/hid_transport.h"
#include "platform/motion/motion_wire.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

class QSocketNotifier;
class QTimer;

namespace quelmo {

// Head motion from a head tracker on the open HID standard (Sony WH/WF-1000XM5
// and XM6, ULT WEAR, and others). Finds trackers by their report descriptor,
// readable by anyone in sysfs, and follows hidraw nodes coming and going
// through the kernel's uevents (a netlink socket on Qt's event loop: no
// library needed, and the kernel's own events are all this needs). While
// started, it opens the first tracker whose description is the standard's,
// switches it on (full power, all events, 40 ms), reads its input reports on
// a thread of its own and hands each on as a sample; stopping (or quitting)
// switches it off. A change of the tracker's reset counter is a re-centre:
// the heading goes on from where it was instead of jumping. These trackers
// measure no acceleration, so their samples carry none.
// With `door` set (QUELMO_HID_TRACKER), the tracker is the test door's socket.
class HidTrackerSource {
  public:
    static constexpr std::chrono::milliseconds kFirstRetry{1000};
    static constexpr std::chrono::milliseconds kLastRetry{30000};

    explicit HidTrackerSource(std::optional<std::string> door,
                              std::string sysfsRoot = "/sys/class/hidraw");
    ~HidTrackerSource();
    HidTrackerSource(const HidTrackerSource&) = delete;
    HidTrackerSource& operator=(const HidTrackerSource&) = delete;

    void start();
    void stop();
    bool isOpen() const { return transport_ != nullptr; }
    // "WH-1000XM5 (Bluetooth)", or "the head tracker" before one is known.
    std::string name() const;
    const std::string& error() const { return error_; }
    // A tracker is there but its node may not be opened (the udev rule is
    // missing): the node's path, else empty.
    const std::string& unreadableNode() const { return unreadable_; }
    std::uint64_t reports() const { return reports_.load(std::memory_order_relaxed); }
    // Called on the main thread when unreadableNode() changes.
    std::function<void()> onUnreadable;

    // Connects and disconnects, on the main thread.
    std::function<void(const wire::Message&, double at)> onMessage;
    // Samples, on the reading thread; false when there is no room.
    std::function<bool(const wire::Message&, double at)> onThreadSample;

  private:
    void open();
    bool openTarget(const std::string& node, std::unique_ptr<hid::Transport> transport);
    void close(bool retry);
    void read();
    void handleReport(const unsigned char* data, std::size_t size);
    void watchDevices();
    void onUevent();
    void tell(wire::Kind kind);
    void fail(const std::string& why);

    std::optional<std::string> door_;
    std::string sysfsRoot_;
    std::unique_ptr<QTimer> retryTimer_;
    std::unique_ptr<QSocketNotifier> uevents_;
    int ueventFd_ = -1;
    std::unique_ptr<hid::Transport> transport_;
    std::optional<hid::TrackerLayout> layout_;
    std::vector<unsigned char> stateReport_;
    std::string node_;
    std::string name_;
    std::string error_;
    std::string lastPrinted_;
    std::string unreadable_;
    bool started_ = false;
    std::chrono::milliseconds retry_ = kFirstRetry;
    // The reading thread and how to wake it.
    std::thread reader_;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> reports_{0};
    // Reading thread only: the heading carried across resets.
    hid::ResetCarry carry_;
};

// The hidraw nodes under sysfsRoot ("hidraw3", ...), in order.
std::vector<std::string> hidrawNodes(const std::string& sysfsRoot);
// A node's report descriptor, as sysfs gives it to anyone (empty if unreadable).
std::vector<unsigned char> hidDescriptorOf(const std::string& sysfsRoot, const std::string& node);
// The hidraw nodes whose descriptor is a head tracker's.
std::vector<std::string> findHeadTrackerNodes(const std::string& sysfsRoot);
// The name a hidraw node's HID device gives (HID_NAME), with the bus.
std::string hidDeviceName(const std::string& sysfsRoot, const std::string& node);
// The one command that lets the seated user read head trackers (installs
// Quelmo's udev rule); empty where the rule is installed with Quelmo itself.
std::string trackerPermissionCommand();

} // namespace quelmo
