// SPDX-License-Identifier: MIT
#pragma once

// Head trackers on the open HID head-tracker standard (Sony WH/WF-1000XM5
// and XM6, ULT WEAR, and others): which device is one, where each of its
// values sits, switching it on and off, and its input report as a sample.
// Standard library only.

#include "platform/motion/hid_descriptor.h"
#include "platform/motion/motion_conversion.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quelmo::hid {

inline constexpr std::uint16_t kSensorsPage = 0x20;
inline constexpr std::uint32_t kCustomSensor = usage(kSensorsPage, 0xE1);
inline constexpr std::uint32_t kDescription = usage(kSensorsPage, 0x0308);
inline constexpr std::uint32_t kUniqueId = usage(kSensorsPage, 0x0302);
inline constexpr std::uint32_t kReportingState = usage(kSensorsPage, 0x0316);
inline constexpr std::uint32_t kNoEvents = usage(kSensorsPage, 0x0840);
inline constexpr std::uint32_t kAllEvents = usage(kSensorsPage, 0x0841);
inline constexpr std::uint32_t kPowerState = usage(kSensorsPage, 0x0319);
inline constexpr std::uint32_t kFullPower = usage(kSensorsPage, 0x0851);
inline constexpr std::uint32_t kPowerOff = usage(kSensorsPage, 0x0855);
inline constexpr std::uint32_t kReportInterval = usage(kSensorsPage, 0x030E);
inline constexpr std::uint32_t kRotationVector = usage(kSensorsPage, 0x0544);
inline constexpr std::uint32_t kAngularVelocity = usage(kSensorsPage, 0x0545);
inline constexpr std::uint32_t kResetCounter = usage(kSensorsPage, 0x0546);
// The period Quelmo asks for, as the earbuds' 25 Hz.
inline constexpr double kWantedIntervalMs = 40.0;

// Where a tracker's values sit, found by usage.
struct TrackerLayout {
    bool usesReportIds = false;
    Field description; // feature, bytes of text
    std::optional<Field> uniqueId;
    Field reportingState; // feature selector: no events / all events
    Field powerState;     // feature selector: full power / power off
    std::optional<Field> interval;
    Field rotation; // input, 3 elements
    Field resetCounter;
};

// The tracker in a parsed descriptor, or nullopt with why it is none (a
// keyboard, a tracker missing a field, a field of the wrong shape).
std::optional<TrackerLayout> findHeadTracker(const Descriptor& descriptor, std::string& why);
// Parses and finds in one go (the udev probe's and the fuzzer's question).
std::optional<TrackerLayout> headTrackerIn(const unsigned char* descriptor, std::size_t size,
                                           std::string& why);

// The description text in its feature report.
std::string readDescription(const TrackerLayout& layout, const unsigned char* report,
                            std::size_t size);
// "#AndroidHeadTracker#1." or "#AndroidHeadTracker#2." at the start.
bool isTrackerDescription(const std::string& text);

// Changes the state feature report (as read from the device) to switch the
// tracker on (full power, all events, the interval nearest to 40 ms) or off
// (no events, power off). The report's id byte must be in place.
bool setTrackerOn(const TrackerLayout& layout, bool on, unsigned char* report, std::size_t size);
// Whether a state report says on (full power and all events).
bool isTrackerOn(const TrackerLayout& layout, const unsigned char* report, std::size_t size);

struct TrackerReport {
    double rotation[3] = {0, 0, 0}; // axis times angle, radians
    std::uint8_t resetCounter = 0;
};
// An input report read; nullopt for a report of another id, too short, or
// with a rotation longer than pi.
std::optional<TrackerReport> decodeTrackerReport(const TrackerLayout& layout,
                                                 const unsigned char* report, std::size_t size);
// Encodes one (the simulator's side). out must hold the input report's bytes.
std::size_t encodeTrackerReport(const TrackerLayout& layout, const Descriptor& descriptor,
                                const TrackerReport& value, unsigned char* out);

// A change of the tracker's reset counter means its reference frame jumped:
// the samples after it are turned about the vertical so that the heading
// goes on from where it was, as a re-centre, never a turn. One thread.
class ResetCarry {
  public:
    DeviceMotion apply(DeviceMotion sample, std::uint8_t counter);
    void reset() { *this = ResetCarry(); }

  private:
    std::optional<std::uint8_t> counter_;
    double offset_ = 0; // degrees about the vertical
    double lastHeading_ = 0;
};

// The rotation vector as the sample every source hands over: the attitude
// quaternion, gravity (0, 0, -1) and no user acceleration (these trackers
// measure none). The head frame has x to the right ear, y forward, z up.
DeviceMotion motionOfRotation(const double rotation[3]);

} // namespace quelmo::hid
