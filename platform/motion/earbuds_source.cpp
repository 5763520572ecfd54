// SPDX-License-Identifier: MIT
#include "platform/motion/earbuds_source.h"

#include "platform/motion/earbuds_link.h"
#include "platform/motion/message_offer.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo {

namespace {

// The notifier may be the one whose signal is running: let the event loop
// delete it after the signal returns.
void retire(std::unique_ptr<QSocketNotifier>& notifier) {
    if (!notifier)
        return;
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
}

// The sample a sensor frame carries; none for an empty frame, nor for a
// damaged one, which counts in `dropped`.
std::optional<wire::Message> sensorSample(const unsigned char* data, std::size_t size,
                                          std::atomic<std::uint64_t>& dropped) {
    earbuds::SensorFrame frame;
    const earbuds::SensorStatus status = earbuds::decodeSensor(data, size, frame);
    if (status != earbuds::SensorStatus::ok) {
        if (status != earbuds::SensorStatus::empty)
            dropped.fetch_add(1, std::memory_order_relaxed);
        return std::nullopt;
    }
    wire::Message sample;
    sample.kind = wire::Kind::sample;
    sample.motion = earbuds::toDeviceMotion(frame);
    return sample;
}

} // namespace

EarbudsSource::EarbudsSource(EarbudsTarget target) : EarbudsSource(nullptr) {
    target_ = std::move(target);
}

EarbudsSource::EarbudsSource(std::unique_ptr<EarbudsDiscovery> discovery)
    : discovery_(std::move(discovery)), retryTimer_(std::make_unique<QTimer>()),
      answerTimer_(std::make_unique<QTimer>()),
      buffer_(std::make_unique<unsigned char[]>(earbuds::kReceiveBuffer)) {
    retryTimer_->setSingleShot(true);
    QObject::connect(retryTimer_.get(), &QTimer::timeout, retryTimer_.get(), [this] { open(); });
    answerTimer_->setSingleShot(true);
    answerTimer_->setInterval(kAnswerWait);
    // Earbuds that never answer the connect frame may still stream.
    QObject::connect(answerTimer_.get(), &QTimer::timeout, answerTimer_.get(), [this] {
        if (state_ == State::greeting)
            greet();
    });
    if (discovery_) {
        discovery_->onTarget = [this](const std::optional<EarbudsTarget>& t) { setTarget(t); };
        discovery_->start();
    }
}

EarbudsSource::~EarbudsSource() {
    stop();
}

std::string EarbudsSource::name() const {
    return target_ ? target_->name : std::string("earbuds");
}

void EarbudsSource::start() {
    if (started_)
        return;
    started_ = true;
    retry_ = kFirstRetry;
    open();
}

void EarbudsSource::stop() {
    if (!started_)
        return;
    started_ = false;
    if (state_ == State::streaming)
        send(earbuds::kStopFrame, sizeof earbuds::kStopFrame);
    close(false);
}

void EarbudsSource::setTarget(const std::optional<EarbudsTarget>& target) {
    if (target == target_)
        return;
    // Renamed only: the channel stays.
    if (target && target_ && target->address == target_->address &&
        target->unixSocket == target_->unixSocket) {
        target_ = target;
        return;
    }
    if (state_ == State::streaming)
        send(earbuds::kStopFrame, sizeof earbuds::kStopFrame);
    close(false);
    target_ = target;
    retry_ = kFirstRetry;
    if (started_ && target_)
        open();
}

void EarbudsSource::open() {
    if (!started_ || !target_ || state_ != State::idle)
        return;
    std::string why;
    fd_ = target_->unixSocket ? earbuds::openUnixLink(target_->address, why)
                              : earbuds::openBluetoothLink(target_->address, why);
    if (fd_ < 0) {
        fail(why);
        close(true);
        return;
    }
    state_ = State::connecting;
    writable_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Write);
    QObject::connect(writable_.get(), &QSocketNotifier::activated, writable_.get(),
                     [this] { onWritable(); });
}

void EarbudsSource::onWritable() {
    writable_->setEnabled(false);
    const int error = earbuds::linkError(fd_);
    if (error != 0) {
        fail("cannot reach " + target_->address + ": " + std::strerror(error));
        close(true);
        return;
    }
    retire(writable_);
    readable_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(readable_.get(), &QSocketNotifier::activated, readable_.get(),
                     [this] { drain(); });
    state_ = State::greeting;
    send(earbuds::kConnectFrame, sizeof earbuds::kConnectFrame);
    answerTimer_->start();
}

void EarbudsSource::greet() {
    answerTimer_->stop();
    send(earbuds::kNotifyRequest, sizeof earbuds::kNotifyRequest);
    send(earbuds::kStartFrame, sizeof earbuds::kStartFrame);
    state_ = State::streaming;
    startReader();
}

void EarbudsSource::startReader() {
    if (!onThreadSample || reader_ || fd_ < 0)
        return;
    // The thread reads its own descriptor of the channel; the main thread
    // keeps writing on fd_ (never blocking: every send is MSG_DONTWAIT).
    const int copy = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return; // read on the main thread, as before streaming
    retire(readable_);
    const std::uint64_t session = ++session_;
    framesForMain_.store(0);
    reader_ = std::make_unique<DatagramReceiver>(
        copy,
        [this, session](const unsigned char* data, std::size_t size) {
            readOnThread(session, data, size);
        },
        [this, session](int error) { passToMain(session, {}, error); });
    reader_->start();
    updateThreadSamples();
}

// The reading thread.
void EarbudsSource::readOnThread(std::uint64_t session, const unsigned char* data,
                                 std::size_t size) {
    if (size > DatagramReceiver::kBufferSize) {
        dropped_.fetch_add(1, std::memory_order_relaxed); // cut short: never read a partial frame
        return;
    }
    if (samplesOnThread_.load() && framesForMain_.load() == 0 &&
        earbuds::classify(data, size) == earbuds::FrameKind::sensor) {
        if (const auto sample = sensorSample(data, size, dropped_))
            offer(*reader_, onThreadSample, *sample);
        return;
    }
    // Everything else is the main thread's, and so is every frame after it
    // until it has caught up.
    framesForMain_.fetch_add(1);
    passToMain(session, std::string(reinterpret_cast<const char*>(data), size), -1);
}

void EarbudsSource::passToMain(std::uint64_t session, std::string frame, int ended) {
    QMetaObject::invokeMethod(
        retryTimer_.get(),
        [this, session, frame = std::move(frame), ended] {
            handleFromReader(session, frame, ended);
        },
        Qt::QueuedConnection);
}

void EarbudsSource::handleFromReader(std::uint64_t session, const std::string& frame, int ended) {
    if (session != session_ || !reader_)
        return; // from a channel since closed
    if (ended >= 0) {
        endChannel(ended);
        return;
    }
    framesForMain_.fetch_sub(1);
    handle(reinterpret_cast<const unsigned char*>(frame.data()), frame.size());
    updateThreadSamples();
}

void EarbudsSource::updateThreadSamples() {
    samplesOnThread_.store(reader_ && state_ == State::streaming && connected_ && worn_ != false);
}

void EarbudsSource::send(const unsigned char* data, std::size_t size) {
    if (fd_ >= 0)
        ::send(fd_, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
}

void EarbudsSource::close(bool retry) {
    answerTimer_->stop();
    retryTimer_->stop();
    retire(readable_);
    retire(writable_);
    // The reading thread ends first (what it passed on is then ignored); it
    // uses reader_ until it has ended.
    samplesOnThread_.store(false);
    if (reader_)
        reader_->stop();
    reader_.reset();
    ++session_;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    state_ = State::idle;
    worn_.reset();
    emitConnection(false);
    if (retry && started_ && target_) {
        retryTimer_->start(retry_);
        retry_ = std::min(retry_ * 2, kLastRetry);
    }
}

void EarbudsSource::fail(const std::string& why) {
    error_ = why;
    // One line per new reason, not one per attempt.
    if (why != lastPrinted_) {
        std::fprintf(stderr, "quelmo: earbuds: %s\n", why.c_str());
        lastPrinted_ = why;
    }
}

void EarbudsSource::endChannel(int error) {
    fail(error == 0 ? "the earbuds closed the channel"
                    : std::string("channel lost: ") + std::strerror(error));
    close(true);
}

void EarbudsSource::drain() {
    // A bounded batch per wake-up, so a flood cannot starve the event loop.
    for (int i = 0; i < 64 && fd_ >= 0 && !reader_; ++i) {
        const ssize_t n = ::recv(fd_, buffer_.get(), earbuds::kReceiveBuffer, MSG_TRUNC);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) {
            endChannel(n == 0 ? 0 : errno);
            return;
        }
        const auto size = static_cast<std::size_t>(n);
        if (size > earbuds::kReceiveBuffer) {
            ++dropped_; // cut short by the kernel: never read a partial frame
            continue;
        }
        handle(buffer_.get(), size);
    }
}

void EarbudsSource::handle(const unsigned char* data, std::size_t size) {
    switch (earbuds::classify(data, size)) {
    case earbuds::FrameKind::connectResponse:
        retry_ = kFirstRetry;
        if (state_ == State::greeting)
            greet();
        return;
    case earbuds::FrameKind::disconnect:
        fail("the earbuds ended the session");
        close(true);
        return;
    case earbuds::FrameKind::earDetection: {
        std::uint8_t primary = 0, secondary = 0;
        if (!earbuds::decodeEarDetection(data, size, primary, secondary))
            return;
        const earbuds::Wearing wearing = earbuds::wearingOf(primary, secondary);
        if (wearing != earbuds::Wearing::unchanged)
            setWorn(wearing == earbuds::Wearing::worn);
        return;
    }
    case earbuds::FrameKind::sensor: {
        const auto sample = sensorSample(data, size, dropped_);
        if (!sample)
            return;
        retry_ = kFirstRetry;
        // The stream runs on while the earbuds lie in the case: only worn
        // earbuds (or ones that have not said yet) give samples.
        if (worn_ == false)
            return;
        emitConnection(true);
        if (onMessage)
            onMessage(*sample);
        return;
    }
    case earbuds::FrameKind::battery:
    case earbuds::FrameKind::other:
        return;
    }
}

void EarbudsSource::setWorn(bool worn) {
    worn_ = worn;
    emitConnection(worn);
    updateThreadSamples();
}

void EarbudsSource::emitConnection(bool connected) {
    if (connected == connected_)
        return;
    connected_ = connected;
    updateThreadSamples();
    if (!onMessage)
        return;
    wire::Message message;
    message.kind = connected ? wire::Kind::connected : wire::Kind::disconnected;
    onMessage(message);
}

} // namespace quelmo
