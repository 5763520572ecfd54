// SPDX-License-Identifier: MIT
#include "platform/signal/headphone_signal.h"

#include "platform/signal/link_signal.h"
#include "platform/signal/serial_worker.h"
#include "platform/signal/signal_report_parser.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quelmo {

namespace {

constexpr std::chrono::milliseconds kFinishGrace{400};

std::string programDir() {
    return QCoreApplication::instance() != nullptr
               ? QCoreApplication::applicationDirPath().toStdString()
               : std::string();
}

} // namespace

std::function<SignalReadings(int)> HeadphoneSignal::defaultReading() {
    const char* command = std::getenv("QUELMO_BLUETOOTH_REPORT");
    if (command != nullptr && command[0] != '\0') {
        return [command = ReportCommand::fromEnvironment(programDir())](int cancelFd) {
            return HeadphoneSignal::readNow(command, ReportLimits{}, cancelFd);
        };
    }
    auto links =
        std::make_shared<LinkSignal>(LinkSignalPorts::system(QDBusConnection::systemBus()));
    return [links](int cancelFd) { return links->read(cancelFd); };
}

HeadphoneSignal::HeadphoneSignal() : HeadphoneSignal(defaultReading()) {}

HeadphoneSignal::HeadphoneSignal(ReportCommand command, ReportLimits limits)
    : HeadphoneSignal([command = std::move(command), limits](int cancelFd) {
          return readNow(command, limits, cancelFd);
      }) {}

HeadphoneSignal::HeadphoneSignal(std::function<SignalReadings(int cancelFd)> reading)
    : state_(std::make_shared<State>()),
      reading_(std::make_shared<std::function<SignalReadings(int)>>(std::move(reading))),
      cancelFd_(::eventfd(0, EFD_CLOEXEC)),
      queue_(std::make_unique<SerialWorker>("quelmo.signal")) {}

HeadphoneSignal::~HeadphoneSignal() {
    // A report about to finish may still complete; one that hangs is killed,
    // so quitting never waits long on the report tool.
    if (!queue_->waitUntilIdle(kFinishGrace) && cancelFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(cancelFd_, &one, sizeof one);
    }
    queue_.reset(); // the run in flight, and any queued, now end at once
    if (cancelFd_ >= 0)
        ::close(cancelFd_);
}

void HeadphoneSignal::read(std::function<void(const SignalReadings&)> completion) {
    if (state_->busy)
        return;
    state_->busy = true;
    std::weak_ptr<State> weak = state_;
    queue_->submit([weak, reading = reading_, cancelFd = cancelFd_,
                    completion = std::move(completion)]() mutable {
        SignalReadings readings = (*reading)(cancelFd);
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr)
            return; // the application is gone: nobody to hand it to
        QMetaObject::invokeMethod(
            app,
            [weak, completion = std::move(completion), readings = std::move(readings)]() mutable {
                if (const auto state = weak.lock())
                    state->busy = false;
                completion(std::move(readings));
            },
            Qt::QueuedConnection);
    });
}

SignalReadings HeadphoneSignal::readNow(const ReportCommand& command, const ReportLimits& limits,
                                        int cancelFd) {
    const ReportRun run = runReportCommand(command, limits, cancelFd);
    // Cut-off output is incomplete JSON anyway; an oversized report is not
    // parsed at all.
    if (!run.launched || run.overflowed)
        return {};
    return parse(run.output);
}

SignalReadings HeadphoneSignal::parse(std::string_view bytes) {
    return parseSignalReport(bytes);
}

} // namespace quelmo
