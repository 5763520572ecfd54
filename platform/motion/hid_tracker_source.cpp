// SPDX-License-Identifier: MIT
#include "platform/motion/hid_tracker_source.h"

#include "platform/scheduler/qt_scheduler.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <linux/netlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo {

std::vector<std::string> hidrawNodes(const std::string& sysfsRoot) {
    std::vector<std::string> nodes;
    DIR* dir = ::opendir(sysfsRoot.c_str());
    if (dir == nullptr)
        return nodes;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.rfind("hidraw", 0) == 0)
            nodes.push_back(name);
    }
    ::closedir(dir);
    std::sort(nodes.begin(), nodes.end());
    return nodes;
}

std::vector<unsigned char> hidDescriptorOf(const std::string& sysfsRoot, const std::string& node) {
    std::ifstream in(sysfsRoot + "/" + node + "/device/report_descriptor", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> findHeadTrackerNodes(const std::string& sysfsRoot) {
    std::vector<std::string> trackers;
    for (const std::string& node : hidrawNodes(sysfsRoot)) {
        const auto bytes = hidDescriptorOf(sysfsRoot, node);
        std::string why;
        if (hid::headTrackerIn(bytes.data(), bytes.size(), why))
            trackers.push_back(node);
    }
    return trackers;
}

std::string trackerPermissionCommand() {
    // Beside the running program: installed (PREFIX/bin and PREFIX/lib/udev)
    // or in the build tree (program/ and tools/hid-probe/).
    char exe[4096];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return {};
    std::string dir(exe, static_cast<std::size_t>(n));
    dir = dir.substr(0, dir.rfind('/'));
    const std::string top = dir.substr(0, dir.rfind('/'));
    if (top == "/usr")
        return {}; // installed with the package: the rule is in force
    std::string probe = top + "/lib/udev/quelmo-hid-probe";
    std::string rule = top + "/lib/udev/rules.d/70-quelmo-head-tracker.rules";
    if (::access(probe.c_str(), X_OK) != 0) {
        probe = top + "/tools/hid-probe/quelmo-hid-probe";
        rule = top + "/tools/hid-probe/70-quelmo-head-tracker.rules";
    }
    return "sudo install -m 0755 " + probe + " /usr/lib/udev/ && sudo install -m 0644 " + rule +
           " /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger "
           "--subsystem-match=hidraw";
}

std::string hidDeviceName(const std::string& sysfsRoot, const std::string& node) {
    std::ifstream in(sysfsRoot + "/" + node + "/device/uevent");
    std::string line, name, bus;
    while (std::getline(in, line)) {
        if (line.rfind("HID_NAME=", 0) == 0)
            name = line.substr(9);
        else if (line.rfind("HID_ID=", 0) == 0)
            bus = line.substr(7, 4);
    }
    if (name.empty())
        return "head tracker " + node;
    return bus == "0005" ? name + " (Bluetooth)" : name;
}

HidTrackerSource::HidTrackerSource(std::optional<std::string> door, std::string sysfsRoot)
    : door_(std::move(door)), sysfsRoot_(std::move(sysfsRoot)),
      retryTimer_(std::make_unique<QTimer>()) {
    retryTimer_->setSingleShot(true);
    QObject::connect(retryTimer_.get(), &QTimer::timeout, retryTimer_.get(), [this] { open(); });
}

HidTrackerSource::~HidTrackerSource() {
    stop();
}

std::string HidTrackerSource::name() const {
    return name_.empty() ? std::string("the head tracker") : name_;
}

void HidTrackerSource::start() {
    if (started_)
        return;
    started_ = true;
    retry_ = kFirstRetry;
    if (!door_)
        watchDevices();
    open();
}

void HidTrackerSource::stop() {
    if (!started_)
        return;
    started_ = false;
    close(false);
    uevents_.reset();
    if (ueventFd_ >= 0)
        ::close(ueventFd_);
    ueventFd_ = -1;
}

void HidTrackerSource::fail(const std::string& why) {
    error_ = why;
    if (why != lastPrinted_) {
        std::fprintf(stderr, "quelmo: head tracker: %s\n", why.c_str());
        lastPrinted_ = why;
    }
}

void HidTrackerSource::watchDevices() {
    ueventFd_ =
        ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT);
    sockaddr_nl addr{};
    addr.nl_family = AF_NETLINK;
    addr.nl_groups = 1; // the kernel's own events
    if (ueventFd_ < 0 ||
        ::bind(ueventFd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        if (ueventFd_ >= 0)
            ::close(ueventFd_);
        ueventFd_ = -1;
        return; // trackers are still looked for at each start
    }
    uevents_ = std::make_unique<QSocketNotifier>(ueventFd_, QSocketNotifier::Read);
    QObject::connect(uevents_.get(), &QSocketNotifier::activated, uevents_.get(),
                     [this] { onUevent(); });
}

void HidTrackerSource::onUevent() {
    char buf[4096];
    bool hidraw = false;
    for (;;) {
        const ssize_t n = ::recv(ueventFd_, buf, sizeof buf - 1, MSG_DONTWAIT);
        if (n <= 0)
            break;
        buf[n] = '\0';
        // "add@/devices/...\0ACTION=add\0SUBSYSTEM=hidraw\0..."
        for (ssize_t i = 0; i < n; i += static_cast<ssize_t>(std::strlen(buf + i)) + 1)
            hidraw = hidraw || std::strcmp(buf + i, "SUBSYSTEM=hidraw") == 0;
    }
    if (!hidraw || !started_)
        return;
    if (transport_ && ::access(("/dev/" + node_).c_str(), F_OK) != 0) {
        fail(name() + " is gone");
        close(true);
    } else if (!transport_) {
        // udev sets the node's permissions a moment after the kernel's event.
        retry_ = kFirstRetry;
        retryTimer_->start(500);
    }
}

void HidTrackerSource::open() {
    if (!started_ || transport_)
        return;
    std::string why;
    if (door_) {
        name_ = "the head tracker on the test socket";
        if (auto transport = hid::openHidSocket(*door_, why)) {
            if (openTarget("test socket", std::move(transport)))
                return;
        } else {
            fail(why);
        }
        close(true);
        return;
    }
    const std::string wasUnreadable = unreadable_;
    unreadable_.clear();
    const std::vector<std::string> nodes = findHeadTrackerNodes(sysfsRoot_);
    struct Tell {
        HidTrackerSource& self;
        const std::string& before;
        ~Tell() {
            if (self.unreadable_ != before && self.onUnreadable)
                self.onUnreadable();
        }
    } tell{*this, wasUnreadable};
    for (const std::string& node : nodes) {
        name_ = hidDeviceName(sysfsRoot_, node);
        auto transport = hid::openHidraw("/dev/" + node, why);
        if (!transport) {
            if (errno == EACCES)
                unreadable_ = "/dev/" + node;
            fail(why);
            continue;
        }
        if (openTarget(node, std::move(transport)))
            return;
    }
    if (!nodes.empty())
        close(true); // a tracker that would not open: again later
}

bool HidTrackerSource::openTarget(const std::string& node, std::unique_ptr<hid::Transport> t) {
    std::string why;
    std::vector<unsigned char> bytes;
    if (!t->descriptor(bytes, why)) {
        fail(why);
        return false;
    }
    const auto parsed = hid::parseDescriptor(bytes.data(), bytes.size(), why);
    const auto layout = parsed ? hid::findHeadTracker(*parsed, why) : std::nullopt;
    if (!layout) {
        fail(name() + " is no head tracker: " + why);
        return false;
    }
    std::vector<unsigned char> info(
        parsed->reportBytes(hid::ReportKind::feature, layout->description.reportId));
    info[0] = layout->description.reportId;
    const bool described = t->getFeature(info, why);
    const std::string text =
        described ? hid::readDescription(*layout, info.data(), info.size()) : "";
    if (!hid::isTrackerDescription(text)) {
        fail(name() + " describes itself as \"" + text + "\", not as a head tracker");
        return false;
    }
    stateReport_.assign(
        parsed->reportBytes(hid::ReportKind::feature, layout->reportingState.reportId), 0);
    stateReport_[0] = layout->reportingState.reportId;
    if (!t->getFeature(stateReport_, why) ||
        !hid::setTrackerOn(*layout, true, stateReport_.data(), stateReport_.size()) ||
        !t->setFeature(stateReport_, why)) {
        fail("cannot switch " + name() + " on: " + why);
        return false;
    }
    transport_ = std::move(t);
    layout_ = layout;
    node_ = node;
    carry_.reset();
    if (::pipe2(wake_, O_CLOEXEC) != 0) {
        fail("cannot make a pipe");
        close(true);
        return true;
    }
    tell(wire::Kind::connected);
    stopping_ = false;
    reader_ = std::thread([this] { read(); });
    return true;
}

void HidTrackerSource::close(bool retry) {
    retryTimer_->stop();
    if (reader_.joinable()) {
        stopping_ = true;
        const char byte = 0;
        (void)!::write(wake_[1], &byte, 1);
        reader_.join();
    }
    for (int& fd : wake_) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    if (transport_) {
        std::string why;
        // Off again: no events, power off. A tracker already gone cannot hear it.
        if (layout_ && hid::setTrackerOn(*layout_, false, stateReport_.data(), stateReport_.size()))
            transport_->setFeature(stateReport_, why);
        transport_.reset();
        tell(wire::Kind::disconnected);
    }
    if (retry && started_) {
        retryTimer_->start(retry_);
        retry_ = std::min(retry_ * 2, kLastRetry);
    }
}

void HidTrackerSource::tell(wire::Kind kind) {
    wire::Message m;
    m.kind = kind;
    if (onMessage)
        onMessage(m, systemUptime());
}

// The reading thread.
void HidTrackerSource::read() {
    unsigned char buf[4096];
    const int fd = transport_->inputFd();
    const std::size_t framing = transport_->inputFraming();
    while (!stopping_) {
        pollfd p[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(p, 2, -1) < 0 && errno != EINTR)
            break;
        if (stopping_ || (p[1].revents & POLLIN) != 0)
            return;
        if ((p[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
            continue;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0) {
            // Unplugged, out of range, or the door closed: the main thread
            // closes and looks again.
            QMetaObject::invokeMethod(retryTimer_.get(), [this] {
                fail(name() + " is gone");
                close(true);
            });
            return;
        }
        if (static_cast<std::size_t>(n) > framing && (framing == 0 || buf[0] == 'I'))
            handleReport(buf + framing, static_cast<std::size_t>(n) - framing);
    }
}

void HidTrackerSource::handleReport(const unsigned char* data, std::size_t size) {
    const auto report = hid::decodeTrackerReport(*layout_, data, size);
    if (!report)
        return;
    reports_.fetch_add(1, std::memory_order_relaxed);
    wire::Message sample;
    sample.motion = carry_.apply(hid::motionOfRotation(report->rotation), report->resetCounter);
    while (onThreadSample && !onThreadSample(sample, systemUptime()) && !stopping_)
        ::usleep(5000); // no room: offered again a moment later
}

} // namespace quelmo
