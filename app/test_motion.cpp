// SPDX-License-Identifier: MIT
#include "app/test_motion.h"

#include "app/command_number.h"
#include "core/usable_number.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quelmo {

namespace {
constexpr double kFakeSamplePeriod = 0.02;
constexpr double kGaitRadiansPerSecond = 11.938052083641214; // 2 pi x 1.9 Hz
// Idle time reported while keyboard and mouse are ignored.
constexpr double kIgnoredIdle = 999.0;
} // namespace

TestMotion::TestMotion(Scheduler& scheduler, HeadTrackerPort& tracker, SignalReaderPort& signal,
                       InputActivityPort& input)
    : scheduler_(scheduler), tracker_(*this, tracker), signal_(*this, signal), input_(*this, input),
      self_(std::make_shared<TestMotion*>(this)) {}

TestMotion::~TestMotion() {
    self_.reset();
    stopFakeSource();
}

void TestMotion::Tracker::observe(HeadTrackerHandlers handlers) {
    owner_.motion_ = std::move(handlers.motion);
    if (owner_.motion_) {
        handlers.motion = [owner = &owner_](double heading, double vertical, double at) {
            owner->onRealSample(heading, vertical, at);
        };
    }
    inner_.observe(std::move(handlers));
}

void TestMotion::Signal::read(std::function<void(const SignalReadings&)> completion) {
    std::weak_ptr<TestMotion*> weak = owner_.self_;
    inner_.read([weak, completion = std::move(completion)](const SignalReadings& readings) {
        const auto self = weak.lock();
        if (!self) {
            return;
        }
        // Weaker by the drop asked for when the reading comes.
        SignalReadings adjusted;
        for (const auto& [device, dbm] : readings) {
            adjusted.emplace(device, dbm - (*self)->signalDrop_);
        }
        completion(adjusted);
    });
}

double TestMotion::Input::secondsSinceLastEvent() const {
    return owner_.ignoreInput_ ? kIgnoredIdle : inner_.secondsSinceLastEvent();
}

void TestMotion::onRealSample(double heading, double vertical, double at) {
    if (fakeSource_) {
        return; // the fake source stands in for the headphones
    }
    if (!isUsable(heading) || !isUsable(vertical)) {
        if (motion_) {
            motion_(heading, vertical, at); // the model drops it, unaltered
        }
        return;
    }
    deliver(heading, vertical, at);
}

void TestMotion::deliver(double heading, double vertical, double at) {
    // The turn moves at most 250 degrees a second, counted from the sample
    // before; 0.25 degrees when two come at the same time.
    if (offset_ != target_) {
        const double dt = at - lastSampleAt_;
        const double limit = dt <= 0.001 ? 0.25 : 250.0 * std::min(dt, 0.1);
        offset_ += std::clamp(target_ - offset_, -limit, limit);
    }
    lastSampleAt_ = at;
    if (walking_) {
        vertical = 0.3 * std::sin(kGaitRadiansPerSecond * at);
    }
    if (motion_) {
        motion_(heading + offset_, vertical, at);
    }
}

void TestMotion::startFakeSource() {
    stopFakeSource();
    // The timer is this object's own: destroying it (with this) cancels it.
    fakeSource_ = scheduler_.scheduleRepeating(kFakeSamplePeriod, 0.0,
                                               [this] { deliver(0.0, 0.0, scheduler_.uptime()); });
}

void TestMotion::stopFakeSource() {
    if (fakeSource_) {
        fakeSource_->cancel();
        fakeSource_.reset();
    }
}

TestWordEffect TestMotion::handle(std::string_view word) {
    if (word.starts_with("turn:")) {
        if (const auto value = parseCommandNumber(word.substr(5))) {
            target_ = *value;
        }
    } else if (word.starts_with("far:")) {
        if (const auto value = parseCommandNumber(word.substr(4))) {
            signalDrop_ = *value;
        }
    } else if (word == "fake:on") {
        startFakeSource();
    } else if (word == "fake:off") {
        stopFakeSource();
        walking_ = false;
        target_ = 0.0;
        return TestWordEffect::signalLost;
    } else if (word == "input:ignore") {
        ignoreInput_ = true;
    } else if (word == "input:real") {
        ignoreInput_ = false;
    } else if (word == "walk:on") {
        walking_ = true;
    } else if (word == "walk:off") {
        walking_ = false;
    } else if (word == "drop") {
        stopFakeSource();
        walking_ = false;
        return TestWordEffect::signalLost;
    }
    return TestWordEffect::none;
}

bool TestMotion::altersSamples() const {
    return fakeSource_ || offset_ != 0.0 || target_ != 0.0 || walking_;
}

} // namespace quelmo
