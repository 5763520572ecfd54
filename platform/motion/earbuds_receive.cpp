// SPDX-License-Identifier: MIT
// What each frame from the earbuds does: samples are decoded, screened and
// handed over; ear detection, once it holds, is a connect or a disconnect;
// everything else moves the conversation on.
#include "platform/motion/earbuds_source.h"

namespace quelmo {

std::size_t EarbudsSource::screenSensor(const unsigned char* data, std::size_t size,
                                        PlausibleMotion::Timed passed[2]) {
    earbuds::SensorFrame frame;
    const earbuds::SensorStatus status = earbuds::decodeSensor(data, size, frame);
    if (status == earbuds::SensorStatus::empty) {
        counters_.samples.fetch_add(1, std::memory_order_relaxed);
        lastSampleAt_.store(now());
        return 0;
    }
    if (status != earbuds::SensorStatus::ok) {
        // Another message on the same opcode, or a damaged frame: never a pose.
        counters_.otherSensor.fetch_add(1, std::memory_order_relaxed);
        return 0;
    }
    counters_.samples.fetch_add(1, std::memory_order_relaxed);
    const double at = now();
    lastSampleAt_.store(at);
    const std::uint64_t oddBefore = screen_.odd();
    const std::size_t n = screen_.screen(earbuds::toDeviceMotion(frame), at, passed);
    if (screen_.odd() != oddBefore) {
        counters_.odd.fetch_add(screen_.odd() - oddBefore, std::memory_order_relaxed);
        dropped_.fetch_add(screen_.odd() - oddBefore, std::memory_order_relaxed);
    }
    return n;
}

void EarbudsSource::handle(const unsigned char* data, std::size_t size) {
    if (size == 0) {
        counters_.empty.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    switch (earbuds::classify(data, size)) {
    case earbuds::FrameKind::disconnect:
        counters_.other.fetch_add(1, std::memory_order_relaxed);
        fail(name() + " ended the session (busy with another device?)");
        close(true);
        return;
    case earbuds::FrameKind::earDetection:
        counters_.earDetection.fetch_add(1, std::memory_order_relaxed);
        handleEarDetection(data, size);
        break;
    case earbuds::FrameKind::sensor:
        handleSensor(data, size);
        return;
    case earbuds::FrameKind::battery:
        counters_.battery.fetch_add(1, std::memory_order_relaxed);
        break;
    case earbuds::FrameKind::connectResponse:
    case earbuds::FrameKind::featuresAnswer:
    case earbuds::FrameKind::message:
    case earbuds::FrameKind::other:
        counters_.other.fetch_add(1, std::memory_order_relaxed);
        break;
    }
    if (state_ != State::open)
        return;
    handshake_.received(data, size, now());
    armTimer();
}

void EarbudsSource::handleSensor(const unsigned char* data, std::size_t size) {
    const std::uint64_t before = counters_.samples.load(std::memory_order_relaxed);
    PlausibleMotion::Timed passed[2];
    const std::size_t n = screenSensor(data, size, passed);
    // The stream runs on while the earbuds lie in the case: only worn
    // earbuds (or ones that have not said yet) give samples.
    for (std::size_t i = 0; i < n && worn_ != false; ++i) {
        emitConnection(true);
        setCondition(EarbudsCondition::live);
        if (onMessage)
            onMessage(sampleMessage(passed[i].motion), passed[i].at);
    }
    // A sample arrived (screened or not): the conversation hears of it at
    // the time the screen stamped; only the first one moves its deadline.
    if (counters_.samples.load(std::memory_order_relaxed) != before && state_ == State::open) {
        const bool first = handshake_.step() == earbuds::Handshake::Step::start;
        handshake_.sample(lastSampleAt_.load());
        if (first)
            armTimer();
    }
}

void EarbudsSource::handleEarDetection(const unsigned char* data, std::size_t size) {
    std::uint8_t primary = 0, secondary = 0;
    if (!earbuds::decodeEarDetection(data, size, primary, secondary))
        return;
    budsInCase_ = earbuds::inCase(primary, secondary);
    const earbuds::Wearing wearing = earbuds::wearingOf(primary, secondary);
    if (wearing == earbuds::Wearing::unchanged)
        return;
    if (const auto worn = wearing_.report(wearing == earbuds::Wearing::worn, now()))
        setWorn(*worn);
}

} // namespace quelmo
