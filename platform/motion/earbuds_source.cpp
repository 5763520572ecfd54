// SPDX-License-Identifier: MIT
#include "platform/motion/earbuds_source.h"

#include "platform/motion/earbuds_link.h"
#include "platform/motion/earbuds_memory.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quelmo {

EarbudsSource::EarbudsSource(EarbudsTarget target) : EarbudsSource(nullptr) {
    target_ = std::move(target);
}

EarbudsSource::EarbudsSource(std::unique_ptr<EarbudsDiscovery> discovery)
    : discovery_(std::move(discovery)), retryTimer_(std::make_unique<QTimer>()),
      stepTimer_(std::make_unique<QTimer>()),
      buffer_(std::make_unique<unsigned char[]>(earbuds::kReceiveBuffer)) {
    retryTimer_->setSingleShot(true);
    QObject::connect(retryTimer_.get(), &QTimer::timeout, retryTimer_.get(), [this] { open(); });
    stepTimer_->setSingleShot(true);
    QObject::connect(stepTimer_.get(), &QTimer::timeout, stepTimer_.get(), [this] { onTimer(); });
    wireHandshake();
    if (discovery_) {
        discovery_->onTarget = [this](const std::optional<EarbudsTarget>& t) { setTarget(t); };
        discovery_->onBluetooth = [this](bool powered) {
            bluetooth_ = powered;
            if (!powered)
                setCondition(EarbudsCondition::noBluetooth);
            else if (!target_)
                setCondition(EarbudsCondition::notConnected);
        };
        discovery_->start();
    }
}

EarbudsSource::~EarbudsSource() {
    stop();
}

double EarbudsSource::now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void EarbudsSource::wireHandshake() {
    handshake_.send = [this](const unsigned char* data, std::size_t size, const char* what) {
        send(data, size);
        if (onNote)
            onNote(std::string("sent ") + what);
    };
    handshake_.note = [this](const std::string& line) {
        if (onNote)
            onNote(line);
    };
    handshake_.streamed = [this](int service) {
        if (target_)
            earbuds::ServiceMemory(memoryPath_).remember(target_->address, service);
        startReader();
    };
    handshake_.ended = [this](earbuds::Handshake::Ending ending) {
        // Closed from the event loop, not from inside the handshake's call.
        QTimer::singleShot(0, retryTimer_.get(), [this, ending] { onEnded(ending); });
    };
}

std::string EarbudsSource::name() const {
    return target_ ? target_->name : std::string("earbuds");
}

EarbudsCounts EarbudsSource::counts() const {
    const auto get = [](const std::atomic<std::uint64_t>& a) {
        return a.load(std::memory_order_relaxed);
    };
    return EarbudsCounts{get(counters_.samples),      get(counters_.odd),
                         get(counters_.earDetection), get(counters_.battery),
                         get(counters_.otherSensor),  get(counters_.other),
                         get(counters_.empty)};
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
    handshake_.stop();
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
    handshake_.stop();
    close(false);
    target_ = target;
    retry_ = kFirstRetry;
    setCondition(target_               ? EarbudsCondition::unknown
                 : bluetooth_ == false ? EarbudsCondition::noBluetooth
                                       : EarbudsCondition::notConnected);
    if (started_ && target_)
        open();
}

void EarbudsSource::setCondition(EarbudsCondition condition) {
    if (condition == condition_)
        return;
    condition_ = condition;
    if (onCondition)
        onCondition(condition);
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
    state_ = State::open;
    screen_.reset();
    lastSampleAt_.store(-1);
    if (onNote)
        onNote("channel open to " + target_->address);
    handshake_.opened(now(), earbuds::ServiceMemory(memoryPath_).recall(target_->address));
    armTimer();
}

void EarbudsSource::armTimer() {
    std::optional<double> due = handshake_.deadline();
    if (const auto d = wearing_.deadline(); d && (!due || *d < *due))
        due = d;
    if (!due || state_ != State::open) {
        stepTimer_->stop();
        return;
    }
    const double wait = std::max(0.0, *due - now());
    stepTimer_->start(static_cast<int>(std::ceil(wait * 1000.0)));
}

void EarbudsSource::onTimer() {
    const double t = now();
    if (const auto worn = wearing_.expire(t))
        setWorn(*worn);
    handshake_.expire(t, lastSampleAt_.load());
    // Streaming that has lasted: the next lost channel is retried soon again.
    if (handshake_.hasStreamedSteadily())
        retry_ = kFirstRetry;
    armTimer();
}

void EarbudsSource::onEnded(earbuds::Handshake::Ending ending) {
    if (state_ != State::open)
        return;
    using Ending = earbuds::Handshake::Ending;
    switch (ending) {
    case Ending::noAnswer:
        fail(name() + " accepted the channel but never answered");
        setCondition(EarbudsCondition::notSharing);
        break;
    case Ending::noHeadMotion:
        fail(name() + " answer but share no head motion");
        setCondition(EarbudsCondition::notSharing);
        break;
    case Ending::streamStopped:
        fail(name() + " stopped sending head motion");
        break;
    }
    close(true);
}

void EarbudsSource::send(const unsigned char* data, std::size_t size) {
    if (fd_ < 0)
        return;
    ::send(fd_, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (onFrame)
        onFrame(true, data, size);
}

void EarbudsSource::close(bool retry) {
    retryTimer_->stop();
    stepTimer_->stop();
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
    if (handshake_.hasStreamedSteadily())
        retry_ = kFirstRetry;
    handshake_.reset();
    state_ = State::idle;
    worn_.reset();
    wearing_.reset();
    budsInCase_ = false;
    emitConnection(false);
    if (condition_ == EarbudsCondition::live || condition_ == EarbudsCondition::inCase)
        setCondition(EarbudsCondition::unknown);
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
    if (onNote)
        onNote(why);
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
        // An empty message is a message; only the peer's shutdown (or an
        // error) ends the channel.
        if (n < 0 || (n == 0 && peerHasHungUp(fd_))) {
            endChannel(n == 0 ? 0 : errno);
            return;
        }
        const auto size = static_cast<std::size_t>(n);
        if (size > earbuds::kReceiveBuffer) {
            ++dropped_; // cut short by the kernel: never read a partial frame
            continue;
        }
        if (onFrame)
            onFrame(false, buffer_.get(), size);
        handle(buffer_.get(), size);
    }
}

void EarbudsSource::setWorn(bool worn) {
    worn_ = worn;
    handshake_.setWorn(worn, now());
    emitConnection(worn);
    if (!worn)
        setCondition(budsInCase_ ? EarbudsCondition::inCase : EarbudsCondition::unknown);
    else if (condition_ == EarbudsCondition::inCase)
        setCondition(EarbudsCondition::unknown);
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
    onMessage(message, now());
}

} // namespace quelmo
