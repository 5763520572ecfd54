// SPDX-License-Identifier: MIT
#pragma once

#include "app/sensor_ports.h"
#include "core/privacy_guard.h"
#include "platform/signal/report_command.h"

#include <functional>
#include <memory>
#include <string_view>

namespace quelmo {

class SerialWorker;

// Measures how strongly this computer hears each connected pair of Bluetooth
// headphones, on a worker thread: inside Quelmo by default (LinkSignal), or,
// when $QUELMO_BLUETOOTH_REPORT names one, by running a report command and
// reading its JSON. At most one reading is in flight; every failure (no
// Bluetooth, no tool, a hang, garbage) is an empty reading, never an error.
// It is the app model's signal reader port.
class HeadphoneSignal final : public SignalReaderPort {
  public:
    // The report command from the environment when one is set, else the
    // reading inside Quelmo on the system bus and the kernel's links.
    HeadphoneSignal();
    explicit HeadphoneSignal(ReportCommand command, ReportLimits limits = {});
    // Readings from `reading`, called on the worker thread with the
    // descriptor that becomes readable when this object goes away.
    explicit HeadphoneSignal(std::function<SignalReadings(int cancelFd)> reading);
    // Gives a run in flight 0.4 s to end, then kills it, so
    // quitting never waits on a hung report tool.
    ~HeadphoneSignal() override;
    HeadphoneSignal(const HeadphoneSignal&) = delete;
    HeadphoneSignal& operator=(const HeadphoneSignal&) = delete;

    // Called on the main thread. Unless a reading is already in flight (then
    // this request and its completion are dropped), runs the command on the
    // worker and calls completion once, later, on the main thread, even if
    // this object is gone by then. Needs a running Qt event loop.
    void read(std::function<void(const SignalReadings&)> completion) override;

    // The pure conversion from the report's bytes to a reading.
    static SignalReadings parse(std::string_view bytes);
    // The reading the default constructor uses, to be called on any thread
    // but one at a time: the report command when $QUELMO_BLUETOOTH_REPORT
    // names one, else LinkSignal on the system bus and the kernel's links.
    static std::function<SignalReadings(int cancelFd)> defaultReading();
    // Runs the report command and reads its report, on the calling thread.
    static SignalReadings readNow(const ReportCommand& command, const ReportLimits& limits,
                                  int cancelFd);

    bool isBusy() const { return state_->busy; }

  private:
    struct State {
        bool busy = false; // main thread only
    };

    std::shared_ptr<State> state_;
    // Shared with the worker's tasks; called there only, one at a time.
    std::shared_ptr<std::function<SignalReadings(int cancelFd)>> reading_;
    int cancelFd_ = -1;                   // readable once this object is going away
    std::unique_ptr<SerialWorker> queue_; // last: joined before the rest goes
};

} // namespace quelmo
