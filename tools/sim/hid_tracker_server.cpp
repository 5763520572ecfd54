// SPDX-License-Identifier: MIT
#include "tools/sim/hid_tracker_server.h"

#include "tools/sim/seqpacket_listener.h"

#include "tools/sim/hid_tracker_descriptors.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo::sim {

namespace {

// The head's attitude as a rotation vector (axis times angle).
void rotationOf(const DeviceMotion& m, double out[3]) {
    double w = std::clamp(m.qw, -1.0, 1.0);
    double x = m.qx, y = m.qy, z = m.qz;
    if (w < 0) {
        w = -w;
        x = -x;
        y = -y;
        z = -z;
    }
    const double angle = 2 * std::acos(w);
    const double s = std::sqrt(std::max(0.0, 1 - w * w));
    const double k = s < 1e-9 ? 2.0 : angle / s;
    out[0] = x * k;
    out[1] = y * k;
    out[2] = z * k;
}

} // namespace

HidTrackerServer::HidTrackerServer(std::string path, bool variant, double resetAt)
    : path_(std::move(path)),
      descriptorBytes_(variant ? variantTrackerDescriptor() : standardTrackerDescriptor()),
      features_(256), resetAt_(resetAt) {
    std::string why;
    descriptor_ = *hid::parseDescriptor(descriptorBytes_.data(), descriptorBytes_.size(), why);
    layout_ = *hid::findHeadTracker(descriptor_, why);
    // The description, as the standard's trackers give it.
    auto& info = featureReport(layout_.description.reportId);
    const std::string text = "#AndroidHeadTracker#1.0";
    for (std::size_t i = 0; i < text.size(); ++i)
        hid::writeField(layout_.description, i, text[i], info.data(), info.size(), true);
    hid::setTrackerOn(layout_, false, featureReport(layout_.reportingState.reportId).data(),
                      featureReport(layout_.reportingState.reportId).size());

    listener_ = listenSeqpacket(path_, true, error_);
}

HidTrackerServer::~HidTrackerServer() {
    if (client_ >= 0)
        ::close(client_);
    stopListening(listener_, path_);
}

std::vector<unsigned char>& HidTrackerServer::featureReport(std::uint8_t id) {
    auto& report = features_[id];
    if (report.empty()) {
        report.assign(descriptor_.reportBytes(hid::ReportKind::feature, id), 0);
        if (!report.empty())
            report[0] = id;
    }
    return report;
}

void HidTrackerServer::dropClient(const char* why) {
    if (client_ < 0)
        return;
    std::fprintf(stderr, "quelmo-sim: head tracker: %s\n", why);
    ::close(client_);
    client_ = -1;
}

void HidTrackerServer::reply(unsigned char kind, const std::vector<unsigned char>& body) {
    std::vector<unsigned char> message{kind};
    message.insert(message.end(), body.begin(), body.end());
    if (client_ >= 0 &&
        ::send(client_, message.data(), message.size(), MSG_DONTWAIT | MSG_NOSIGNAL) < 0 &&
        errno != EAGAIN)
        dropClient("Quelmo went away");
}

void HidTrackerServer::handle(const unsigned char* data, std::size_t size) {
    if (size == 0)
        return;
    switch (data[0]) {
    case 'D':
        std::fprintf(stderr, "quelmo-sim: head tracker: descriptor asked for\n");
        reply('D', descriptorBytes_);
        return;
    case 'G':
        if (size >= 2 && !descriptor_.fields.empty() &&
            descriptor_.reportBytes(hid::ReportKind::feature, data[1]) > 1)
            reply('G', featureReport(data[1]));
        else
            reply('G', {});
        return;
    case 'S': {
        if (size < 2 || descriptor_.reportBytes(hid::ReportKind::feature, data[1]) != size - 1) {
            reply('S', {1});
            return;
        }
        featureReport(data[1]).assign(data + 1, data + size);
        reply('S', {0});
        const auto& state = featureReport(layout_.reportingState.reportId);
        const bool on = hid::isTrackerOn(layout_, state.data(), state.size());
        if (on != on_)
            std::fprintf(stderr, "quelmo-sim: head tracker: switched %s\n", on ? "on" : "off");
        on_ = on;
        lastReport_ = -1;
        return;
    }
    default:
        std::fprintf(stderr, "quelmo-sim: head tracker: unknown message of %zu bytes\n", size);
    }
}

void HidTrackerServer::receive() {
    if (client_ >= 0 &&
        !receiveWaiting(client_, [this](const unsigned char* data, std::size_t size) {
            handle(data, size);
            return client_ >= 0;
        })) {
        dropClient("Quelmo closed the channel");
        on_ = false;
    }
}

void HidTrackerServer::tick(const VirtualHeadphones& phones, bool connectionChanged, double t) {
    if (connectionChanged && !phones.connected) {
        dropClient("taken away");
        on_ = false;
    }
    if (client_ < 0 && listener_ >= 0 && phones.connected) {
        client_ = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client_ >= 0)
            std::fprintf(stderr, "quelmo-sim: head tracker: Quelmo connected\n");
    }
    receive();
    if (!on_ || client_ < 0 || (lastReport_ >= 0 && t - lastReport_ < kPeriod - 0.005))
        return;
    lastReport_ = t;
    if (resetAt_ >= 0 && t >= resetAt_) {
        resetAt_ = -1;
        referenceJump_ += 90;
        ++resetCounter_;
        std::fprintf(stderr, "quelmo-sim: head tracker: reference reset (counter %u)\n",
                     resetCounter_);
    }
    DeviceMotion head = phones.sample(t);
    // The reference turned: the same head reads 90 degrees off.
    turnAboutVertical(head, referenceJump_);
    hid::TrackerReport report;
    rotationOf(head, report.rotation);
    report.resetCounter = resetCounter_;
    unsigned char bytes[64];
    const std::size_t n = hid::encodeTrackerReport(layout_, descriptor_, report, bytes);
    reply('I', std::vector<unsigned char>(bytes, bytes + n));
}

void HidTrackerServer::finish(const VirtualHeadphones&) {
    dropClient("finished");
}

} // namespace quelmo::sim
