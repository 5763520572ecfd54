// SPDX-License-Identifier: MIT
// The earbuds' channel read on a thread of its own once samples stream: the
// reading thread hands quiet samples on itself and everything else, in
// arrival order, to the main thread.
#include "platform/motion/earbuds_source.h"

#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>

namespace quelmo {

void retire(std::unique_ptr<QSocketNotifier>& notifier) {
    if (!notifier)
        return;
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
}

wire::Message sampleMessage(const DeviceMotion& motion) {
    wire::Message sample;
    sample.kind = wire::Kind::sample;
    sample.motion = motion;
    return sample;
}

void EarbudsSource::startReader() {
    if (!onThreadSample || onFrame || reader_ || fd_ < 0)
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
    if (size == 0) {
        counters_.empty.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    if (samplesOnThread_.load() && framesForMain_.load() == 0 &&
        earbuds::classify(data, size) == earbuds::FrameKind::sensor) {
        PlausibleMotion::Timed passed[2];
        const std::size_t n = screenSensor(data, size, passed);
        for (std::size_t i = 0; i < n; ++i) {
            const wire::Message sample = sampleMessage(passed[i].motion);
            while (!onThreadSample(sample, passed[i].at) && !reader_->isStopping())
                DatagramReceiver::pause(); // no room: offered again a moment later
        }
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
    handle(reinterpret_cast<const unsigned char*>(frame.data()), frame.size());
    // Only now may the reading thread screen samples again: the screen is
    // the main thread's until this frame is handled.
    framesForMain_.fetch_sub(1);
    updateThreadSamples();
}

void EarbudsSource::updateThreadSamples() {
    samplesOnThread_.store(reader_ && state_ == State::open && connected_ && worn_ != false);
}

} // namespace quelmo
