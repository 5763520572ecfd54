// SPDX-License-Identifier: MIT
#include "tools/sim/earbuds_server.h"

#include "tools/sim/seqpacket_listener.h"

#include "platform/motion/earbuds_wire.h"
#include "tools/sim/hostile_frames.h"

#include <algorithm>
#include <cstdlib>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo::sim {

namespace {

bool same(const unsigned char* data, std::size_t size, const unsigned char* frame, std::size_t n) {
    return size == n && std::memcmp(data, frame, n) == 0;
}

// What real earbuds answer to the connect frame, the feature frame and (among
// the notifications it turns on) the notification request.
constexpr unsigned char kConnectResponse[] = {0x01, 0x00, 0x04, 0x00, 0x00,
                                              0x00, 0x01, 0x00, 0x02, 0x00};
constexpr unsigned char kFeaturesAnswer[] = {0x04, 0x00, 0x04, 0x00, 0x2B, 0x00, 0x01, 0x00};
constexpr unsigned char kBattery[] = {0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x02, 0x02, 0x01,
                                      0x50, 0x02, 0x01, 0x04, 0x01, 0x4B, 0x02, 0x01};

} // namespace

const char* const kQuirkHelp =
    "silent (never answer), no-stream (answer, never stream), only16 (stream only for the\n"
    "service-16 start frame), busy (answer, then end the session), plist (a pose-shaped\n"
    "property list on the sensor opcode every second), empty (an empty message every 2 s),\n"
    "flap (ear detection flapping at 10 Hz), random (random bodies behind the sensor prefix),\n"
    "stall=S (fall silent S seconds into a stream), hang-up=S (close S seconds into a stream)";

bool parseQuirks(const std::string& list, EarbudsQuirks& quirks, std::string& error) {
    std::size_t at = 0;
    while (at <= list.size()) {
        const std::size_t comma = std::min(list.find(',', at), list.size());
        const std::string word = list.substr(at, comma - at);
        at = comma + 1;
        const auto seconds = [&](const char* name, double& into) {
            const std::string prefix = std::string(name) + "=";
            if (word.rfind(prefix, 0) != 0)
                return false;
            char* end = nullptr;
            into = std::strtod(word.c_str() + prefix.size(), &end);
            return end != nullptr && *end == '\0' && into >= 0 && into < 1e6;
        };
        if (word == "silent")
            quirks.silent = true;
        else if (word == "no-stream")
            quirks.noStream = true;
        else if (word == "only16")
            quirks.only16 = true;
        else if (word == "busy")
            quirks.busy = true;
        else if (word == "plist")
            quirks.propertyLists = true;
        else if (word == "empty")
            quirks.empty = true;
        else if (word == "flap")
            quirks.flap = true;
        else if (word == "random")
            quirks.random = true;
        else if (!seconds("stall", quirks.stallAfter) && !seconds("hang-up", quirks.hangUpAfter)) {
            error = "unknown quirk \"" + word + "\"";
            return false;
        }
    }
    return true;
}

EarbudsServer::EarbudsServer(std::string path, EarbudsQuirks quirks)
    : path_(std::move(path)), quirks_(quirks) {
    listener_ = listenSeqpacket(path_, true, error_);
}

EarbudsServer::~EarbudsServer() {
    if (client_ >= 0)
        ::close(client_);
    stopListening(listener_, path_);
}

void EarbudsServer::dropClient(const char* why) {
    if (client_ < 0)
        return;
    std::fprintf(stderr, "quelmo-sim: earbuds: %s\n", why);
    ::close(client_);
    client_ = -1;
    greeted_ = notified_ = streaming_ = false;
    streamStart_ = -1; // a stall lasts as long as the channel
}

void EarbudsServer::accept() {
    if (client_ >= 0 || listener_ < 0)
        return;
    client_ = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client_ >= 0)
        std::fprintf(stderr, "quelmo-sim: earbuds: Quelmo connected\n");
}

void EarbudsServer::send(const unsigned char* data, std::size_t size) {
    static const unsigned char nothing = 0;
    if (client_ >= 0 &&
        ::send(client_, data != nullptr ? data : &nothing, size, MSG_DONTWAIT | MSG_NOSIGNAL) < 0 &&
        errno != EAGAIN) {
        dropClient("Quelmo went away");
    }
}

void EarbudsServer::sendEarState(bool worn) {
    unsigned char frame[earbuds::kEarDetectionSize];
    const auto state = worn ? earbuds::BudState::inEar : earbuds::BudState::outOfEar;
    send(frame, earbuds::encodeEarDetection(state, state, frame));
}

void EarbudsServer::startStream(int service, const VirtualHeadphones& phones) {
    const bool streams = !quirks_.noStream && !(quirks_.only16 && service != 16);
    std::fprintf(stderr, "quelmo-sim: earbuds: head tracking on (service %d)%s%s\n", service,
                 greeted_ && notified_ ? "" : " (before the greeting)", streams ? "" : ": ignored");
    if (!streams)
        return;
    streaming_ = true;
    zeroFrames_ = 2;
    lastFrame_ = -1;
    sendEarState(phones.connected);
}

void EarbudsServer::handle(const unsigned char* data, std::size_t size,
                           const VirtualHeadphones& phones) {
    using namespace earbuds;
    if (quirks_.silent) {
        std::fprintf(stderr, "quelmo-sim: earbuds: a frame of %zu bytes, not answered\n", size);
        return;
    }
    if (same(data, size, kConnectFrame, sizeof kConnectFrame)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: connect frame\n");
        greeted_ = true;
        send(kConnectResponse, sizeof kConnectResponse);
        if (quirks_.busy) {
            send(kDisconnectFrame, sizeof kDisconnectFrame);
            dropClient("busy with another device: session ended");
        }
    } else if (same(data, size, kFeaturesFrame, sizeof kFeaturesFrame)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: feature frame\n");
        send(kFeaturesAnswer, sizeof kFeaturesAnswer);
    } else if (same(data, size, kNotifyRequest, sizeof kNotifyRequest)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: notification request%s\n",
                     greeted_ ? "" : " (before the connect frame)");
        notified_ = true;
        send(kBattery, sizeof kBattery);
        sendEarState(phones.connected);
    } else if (same(data, size, kStartFrame, sizeof kStartFrame)) {
        startStream(14, phones);
    } else if (same(data, size, kStartFrame16, sizeof kStartFrame16)) {
        startStream(16, phones);
    } else if (same(data, size, kStopFrame, sizeof kStopFrame) ||
               same(data, size, kStopFrame16, sizeof kStopFrame16)) {
        std::fprintf(stderr, "quelmo-sim: earbuds: head tracking off (service %d)\n",
                     data[size - 10] == 0x10 ? 16 : 14);
        streaming_ = false;
    } else {
        std::fprintf(stderr, "quelmo-sim: earbuds: unknown frame of %zu bytes\n", size);
    }
}

void EarbudsServer::receive(const VirtualHeadphones& phones) {
    if (client_ >= 0 && !receiveWaiting(client_, [&](const unsigned char* data, std::size_t size) {
            handle(data, size, phones);
            return client_ >= 0; // the busy quirk hangs up while handling
        }))
        dropClient("Quelmo closed the channel");
}

void EarbudsServer::misbehave(const VirtualHeadphones& phones, double t) {
    using namespace earbuds;
    const auto due = [t](double& last, double every) {
        if (last >= 0 && t - last < every)
            return false;
        last = t;
        return true;
    };
    if (quirks_.propertyLists && due(lastPropertyList_, 1.0)) {
        unsigned char frame[200];
        send(frame, poseShapedPropertyList(90.0, noise_, frame));
    }
    if (quirks_.empty && due(lastEmpty_, 2.0))
        send(nullptr, 0);
    if (quirks_.flap && due(lastFlap_, 0.1)) {
        flapIn_ = !flapIn_;
        sendEarState(flapIn_ && phones.connected);
    }
    if (quirks_.random && due(lastRandom_, 0.2)) {
        unsigned char frame[160];
        send(frame, randomSensorBody(noise_, frame));
    }
}

void EarbudsServer::tick(const VirtualHeadphones& phones, bool connectionChanged, double t) {
    now_ = t;
    accept();
    receive(phones);
    if (!streaming_)
        return;
    if (streamStart_ < 0)
        streamStart_ = t;
    if (quirks_.hangUpAfter >= 0 && t - streamStart_ >= quirks_.hangUpAfter) {
        dropClient("hung up mid-stream");
        return;
    }
    misbehave(phones, t);
    if (connectionChanged)
        sendEarState(phones.connected);
    if (quirks_.stallAfter >= 0 && t - streamStart_ >= quirks_.stallAfter)
        return; // the stream has fallen silent, and stays so
    if (lastFrame_ >= 0 && t - lastFrame_ < kPeriod - 0.005)
        return;
    lastFrame_ = t;
    // Like real earbuds, the stream runs on whether or not they are worn.
    earbuds::SensorFrame frame;
    if (zeroFrames_ > 0)
        --zeroFrames_;
    else
        frame = earbuds::fromDeviceMotion(phones.sample(t), static_cast<std::uint64_t>(t * 1e9));
    unsigned char buf[earbuds::kMaxSensorFrame];
    const auto envelope = sequence_ % 2 == 0 ? earbuds::Envelope::v1 : earbuds::Envelope::v4;
    send(buf, earbuds::encodeSensor(frame, sequence_++, envelope, buf));
}

void EarbudsServer::finish(const VirtualHeadphones&) {
    unsigned char bye[sizeof earbuds::kDisconnectFrame];
    std::memcpy(bye, earbuds::kDisconnectFrame, sizeof bye);
    send(bye, sizeof bye);
    dropClient("finished");
}

} // namespace quelmo::sim
