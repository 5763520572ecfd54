// SPDX-License-Identifier: MIT
#pragma once

#include "app/head_tracker_port.h"
#include "app/scheduler.h"
#include "app/sensor_ports.h"
#include "app/test_hooks_port.h"

#include <functional>
#include <memory>
#include <optional>

namespace quelmo {

// Test motion: stands between the app model and its sensors when the test
// hooks are chosen at start-up, and acts on the test words:
//   turn:DEGREES  turns the head by that much more, at 250 degrees a second
//   walk:on/off   gives the head's samples a walking gait
//   fake:on/off   a source of still samples every 20 ms in place of the
//                 headphones; off also ends the gait and the turn, and loses
//                 the head
//   drop          stops the fake source and the gait and loses the head
//   far:DB        makes the signal readings that much weaker
//   input:ignore  reports keyboard and mouse as idle, input:real as they are
// The sensors it wraps, like it, must outlive the model.
class TestMotion final : public TestHooksPort {
  public:
    TestMotion(Scheduler& scheduler, HeadTrackerPort& tracker, SignalReaderPort& signal,
               InputActivityPort& input);
    ~TestMotion() override;
    TestMotion(const TestMotion&) = delete;
    TestMotion& operator=(const TestMotion&) = delete;

    // The sensors as the model is to see them.
    HeadTrackerPort& tracker() { return tracker_; }
    SignalReaderPort& signal() { return signal_; }
    InputActivityPort& input() { return input_; }

    TestWordEffect handle(std::string_view word) override;
    bool altersSamples() const override;

    // The turn asked for, and how far the head is turned on the way there.
    double turnTarget() const { return target_; }
    double turnOffset() const { return offset_; }
    double signalDrop() const { return signalDrop_; }
    bool walking() const { return walking_; }
    bool ignoresInput() const { return ignoreInput_; }
    bool hasFakeSource() const { return fakeSource_ != nullptr; }

  private:
    class Tracker final : public HeadTrackerPort {
      public:
        Tracker(TestMotion& owner, HeadTrackerPort& inner) : owner_(owner), inner_(inner) {}
        void observe(HeadTrackerHandlers handlers) override;
        void start() override { inner_.start(); }
        void stop() override { inner_.stop(); }
        bool isRunning() const override { return inner_.isRunning(); }
        void holdQuietSamples(const std::optional<DecisionPreview>& preview) override {
            inner_.holdQuietSamples(preview);
        }
        void takeHeldSamples() override { inner_.takeHeldSamples(); }
        bool isDeviceMotionAvailable() const override { return inner_.isDeviceMotionAvailable(); }
        MotionAccess motionAccess() const override { return inner_.motionAccess(); }

      private:
        TestMotion& owner_;
        HeadTrackerPort& inner_;
    };
    class Signal final : public SignalReaderPort {
      public:
        Signal(TestMotion& owner, SignalReaderPort& inner) : owner_(owner), inner_(inner) {}
        void read(std::function<void(const SignalReadings&)> completion) override;

      private:
        TestMotion& owner_;
        SignalReaderPort& inner_;
    };
    class Input final : public InputActivityPort {
      public:
        Input(TestMotion& owner, InputActivityPort& inner) : owner_(owner), inner_(inner) {}
        double secondsSinceLastEvent() const override;

      private:
        TestMotion& owner_;
        InputActivityPort& inner_;
    };

    void onRealSample(double heading, double vertical, double at);
    // Hands a sample, altered as the test words say, to the model.
    void deliver(double heading, double vertical, double at);
    void startFakeSource();
    void stopFakeSource();

    Scheduler& scheduler_;
    Tracker tracker_;
    Signal signal_;
    Input input_;
    std::function<void(double, double, double)> motion_;
    double target_ = 0.0;
    double offset_ = 0.0;
    double lastSampleAt_ = 0.0;
    bool walking_ = false;
    double signalDrop_ = 0.0;
    bool ignoreInput_ = false;
    TimerHandle fakeSource_;
    // Lets signal readings that come after this is gone find out.
    std::shared_ptr<TestMotion*> self_;
};

} // namespace quelmo
